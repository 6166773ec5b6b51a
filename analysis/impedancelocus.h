#pragma once

#include "analysis/cutanalysis.h"
#include "analysis/loopimpedance.h"
#include "analysis/setsignals.h"
#include "comtrade/common/recordingsampling.h"

#include <QVector>

namespace VornaLumeto {

// The six loops' impedances at every sample of a range, each over the period
// that ends at the sample: point i is sample firstSample + i. NaN where a loop
// has no value (no phasor there, or no loop current).
struct ImpedanceLocus {
    int firstSample = 0;
    std::array<QVector<double>, faultLoopCount> resistance;  // ohm
    std::array<QVector<double>, faultLoopCount> reactance;
    // A loop current below this (A RMS) gives no point; 0 without supervision.
    std::array<double, faultLoopCount> minimumCurrent{};
    int size() const { return resistance[0].size(); }
};

// Empty for a set without three voltages and three currents; the range is
// held within the set's samples. With a minimum current share, a loop has no
// value either where its current is below that share of its largest over the
// range: with the breaker open its impedance is noise over noise, as a
// relay's minimum-current supervision knows.
ImpedanceLocus impedanceLocus(const RecordingSampling& sampling, const SetSignals& set, const LineData& line,
                              int firstSample, int lastSample, double minimumCurrentShare = 0.0);

// The same supervision at one cut, so that a table agrees with the locus: the
// loops of the analysis whose current is below the locus's minimum lose their
// impedance. True for each loop so left out.
std::array<bool, faultLoopCount> superviseLoops(CutAnalysis& analysis, const ImpedanceLocus& locus);

} // namespace VornaLumeto
