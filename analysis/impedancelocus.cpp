#include "analysis/impedancelocus.h"

#include "analysis/cutanalysis.h"
#include "analysis/phasortrack.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace VornaLumeto {

ImpedanceLocus impedanceLocus(const RecordingSampling& sampling, const SetSignals& set, const LineData& line,
                              int firstSample, int lastSample, double minimumCurrentShare)
{
    ImpedanceLocus locus;
    const int sampleCount = setSampleCount(set);
    firstSample = std::max(firstSample, 0);
    lastSample = std::min(lastSample, sampleCount - 1);
    locus.firstSample = firstSample;
    if (!set.hasVoltages() || !set.hasCurrents() || lastSample < firstSample)
        return locus;

    std::array<QVector<Complex>, 6> tracks;
    const PhaseRole roles[6] = {PhaseRole::UA, PhaseRole::UB, PhaseRole::UC,
                                PhaseRole::IA, PhaseRole::IB, PhaseRole::IC};
    for (int t = 0; t < 6; ++t)
        tracks[t] = phasorTrack(*set.series(roles[t]), set.scaling(roles[t]), sampling, firstSample, lastSample,
                                sampleCount);
    const int points = lastSample - firstSample + 1;
    for (int loop = 0; loop < faultLoopCount; ++loop) {
        locus.resistance[loop].fill(std::numeric_limits<double>::quiet_NaN(), points);
        locus.reactance[loop].fill(std::numeric_limits<double>::quiet_NaN(), points);
    }
    const Complex k0 = residualCompensation(line).k0;
    const auto loopsAt = [&](int i, FaultLoop loop) {
        const PhaseValues voltages{tracks[0][i], tracks[1][i], tracks[2][i]};
        const PhaseValues currents{tracks[3][i], tracks[4][i], tracks[5][i]};
        return loopSignals(loop, voltages, currents, k0);
    };
    // Squared, as the comparison needs no more (std::norm would take a square root first).
    const auto squaredMagnitude = [](Complex value) { return value.real() * value.real() + value.imag() * value.imag(); };
    std::array<double, faultLoopCount> minimumSquared{};
    if (minimumCurrentShare > 0.0) {
        for (int i = 0; i < points; ++i) {
            for (int loop = 0; loop < faultLoopCount; ++loop) {
                const double squared = squaredMagnitude(loopsAt(i, FaultLoop(loop)).current);
                if (squared > minimumSquared[loop])  // false for NaN
                    minimumSquared[loop] = squared;
            }
        }
        for (int loop = 0; loop < faultLoopCount; ++loop) {
            minimumSquared[loop] *= minimumCurrentShare * minimumCurrentShare;
            locus.minimumCurrent[loop] = std::sqrt(minimumSquared[loop]);
        }
    }
    for (int i = 0; i < points; ++i) {
        for (int loop = 0; loop < faultLoopCount; ++loop) {
            const LoopSignals measured = loopsAt(i, FaultLoop(loop));
            if (squaredMagnitude(measured.current) < minimumSquared[loop])
                continue;
            // A NaN phasor makes a NaN quotient, which loopImpedance turns down.
            if (const std::optional<Complex> z = loopImpedance(measured)) {
                locus.resistance[loop][i] = z->real();
                locus.reactance[loop][i] = z->imag();
            }
        }
    }
    return locus;
}

std::array<bool, faultLoopCount> superviseLoops(CutAnalysis& analysis, const ImpedanceLocus& locus)
{
    std::array<bool, faultLoopCount> leftOut{};
    const std::optional<PhaseValues> voltages = completePhases(analysis.voltages);
    const std::optional<PhaseValues> currents = completePhases(analysis.currents);
    if (!voltages || !currents)
        return leftOut;
    for (int loop = 0; loop < faultLoopCount; ++loop) {
        if (!analysis.loops[loop])
            continue;
        const Complex current = loopSignals(FaultLoop(loop), *voltages, *currents, analysis.compensation.k0).current;
        if (std::abs(current) < locus.minimumCurrent[loop]) {
            analysis.loops[loop].reset();
            leftOut[loop] = true;
        }
    }
    return leftOut;
}

} // namespace VornaLumeto
