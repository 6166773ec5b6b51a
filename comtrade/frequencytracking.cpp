#include "comtrade/frequencytracking.h"

namespace VornaLumeto {

FrequencyTrack trackChannelFrequency(const QVector<double>&, const QVector<double>&) { return {}; }

} // namespace VornaLumeto
