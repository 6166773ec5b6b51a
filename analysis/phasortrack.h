#pragma once

#include "analysis/fundamentalphasor.h"

#include <QVector>

namespace VornaLumeto {

// The fundamental phasor of the period that ends at each sample from first to
// last, as fundamentalPhasor gives it over periodEndingAt(sampling, sample,
// sampleCount); NaN where that gives none. Empty unless 0 <= first <= last <
// sampleCount. A sliding DFT, summed afresh every few thousand samples so
// that rounding cannot build up.
QVector<Complex> phasorTrack(const QVector<double>& raw, ChannelScaling scaling, const RecordingSampling& sampling,
                             int first, int last, int sampleCount);

} // namespace VornaLumeto
