#pragma once

#include <QVector>

namespace VornaLumeto {

// Samples beyond the first in the narrowest window: those of the first 30 ms of
// the time axis, less one. A recording that starts at 30 ms or later, or whose
// first 30 ms hold a single sample, counts from its own first sample instead and
// gets at least one sample beyond the first, so that the window has a width.
// A single-sample recording gives 0.
int narrowestWindowSamples(const QVector<double>& times);

} // namespace VornaLumeto
