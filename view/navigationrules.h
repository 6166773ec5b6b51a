#pragma once

#include "analysis/signalanalysis.h"

#include <QVector>

namespace VornaLumeto {

// Samples beyond the first in the narrowest window: those of the first 30 ms of
// the time axis, less one. A recording that starts at 30 ms or later, or whose
// first 30 ms hold a single sample, counts from its own first sample instead and
// gets at least one sample beyond the first, so that the window has a width.
// A single-sample recording gives 0.
int narrowestWindowSamples(const QVector<double>& times);

// The same for a recording sampled in stretches of different rates: where a
// later stretch that lasts 30 ms or more holds fewer samples in its first 30 ms,
// the narrowest window has that many, so that it shows about 30 ms there too.
int narrowestWindowSamples(const QVector<double>& times, const QVector<SamplingStretch>& stretches);

} // namespace VornaLumeto
