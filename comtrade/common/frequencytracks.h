#pragma once

#include "comtrade/common/recording.h"

#include <QVector>

namespace VornaLumeto {

class ReadingProgress;

// Tracks the frequency of every analog channel of the recording, from its
// analogValues on its timeAxis, into channelFrequency and frequencyDeviation,
// the channels shared between the thread pool and this thread. A channel
// marked in withGaps has missing values (NaN): it is tracked with the value
// before each gap held over the gap. Returns false, leaving no tracks, when
// progress is cancelled meanwhile.
bool buildFrequencyTracks(Recording& recording, const QVector<bool>& withGaps = {},
                          ReadingProgress* progress = nullptr);

} // namespace VornaLumeto
