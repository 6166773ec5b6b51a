#pragma once

#include "analysis/signalanalysis.h"
#include "comtrade/common/recording.h"

#include <QVector>

namespace VornaLumeto {

// How the analysis at a cut sees the sampling of a recording.
struct RecordingSampling {
    QVector<SamplingStretch> stretches;  // in order, together every sample
    double lineFrequency = 0.0;          // Hz
};

// A recording of the dialect reader is one stretch at its first rate over all
// its samples, on its whole line frequency. One of the standard reader has a
// stretch per rate line, at the rate and on the line frequency as written; the
// last stretch runs on to the last sample, as the time axis does. Where the
// file gives no rate its time axis implies one.
RecordingSampling recordingSampling(const Recording& recording);

} // namespace VornaLumeto
