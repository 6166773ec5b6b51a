#pragma once

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
    int size() const { return resistance[0].size(); }
};

// Empty for a set without three voltages and three currents; the range is
// held within the set's samples. With a minimum current share, a loop has no
// value either where its current is below that share of its largest over the
// range: with the breaker open its impedance is noise over noise, as a
// relay's minimum-current supervision knows.
ImpedanceLocus impedanceLocus(const RecordingSampling& sampling, const SetSignals& set, const LineData& line,
                              int firstSample, int lastSample, double minimumCurrentShare = 0.0);

} // namespace VornaLumeto
