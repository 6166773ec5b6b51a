#pragma once

#include "analysis/signalanalysis.h"
#include "comtrade/common/recording.h"

#include <QVector>

namespace VornaLumeto {

// How the analysis at a cut sees the sampling of a recording.
struct RecordingSampling {
    QVector<SamplingStretch> stretches;  // in order, together every sample
    double lineFrequency = 0.0;          // Hz
    int fewestPeriodSamples = 0;         // a period of fewer samples gives no readout
};

// A recording of the dialect reader is one stretch at its first rate over all
// its samples, on its whole line frequency. One of the standard reader has a
// stretch per rate line, at the rate and on the line frequency as written; the
// last stretch runs on to the last sample, as the time axis does. Where the
// file gives no rate its time axis implies one. Readouts of the dialect reader's
// recordings are computed over any period, as the viewer has always computed
// them; those of the standard reader's need minimumSamplesPerPeriod.
RecordingSampling recordingSampling(const Recording& recording);

} // namespace VornaLumeto
