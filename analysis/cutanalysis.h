#pragma once

#include "analysis/fundamentalphasor.h"
#include "analysis/loopimpedance.h"
#include "analysis/power.h"
#include "analysis/setsignals.h"

#include <optional>

namespace VornaLumeto {

// The fundamental phasor of every role of a set over a window, its angle
// counted from the window's first sample; none where the role has no channel
// or the window gives no phasor.
struct RolePhasors {
    std::array<std::optional<Complex>, phaseRoleCount> values;

    std::optional<Complex> value(PhaseRole role) const { return values[int(role)]; }
    std::optional<PhaseValues> voltages() const { return phases(PhaseRole::UA); }
    std::optional<PhaseValues> currents() const { return phases(PhaseRole::IA); }

private:
    std::optional<PhaseValues> phases(PhaseRole first) const;
};
RolePhasors rolePhasors(const SetSignals& set, SampleWindow window);

// What the angles are counted from: UA of the same window, IA where the set
// has no voltage A (or it is zero), else the window's first sample.
enum class AngleReference { UA, IA, WindowStart };

// 3U0 or 3I0: the residual channel's phasor where the set has one, else the sum of the phases.
enum class ResidualSource { Measured, Calculated };
struct ResidualPhasor {
    Complex value;
    ResidualSource source = ResidualSource::Calculated;
};

// Everything over the period that ends at a cut. Phasors are RMS, in the
// scalings' units (primary volts and amperes), turned to the angle reference;
// what the set's channels or the window cannot give is none: a set without
// voltages gives currents and sequence currents only.
struct CutAnalysis {
    std::optional<SampleWindow> window;
    AngleReference angleReference = AngleReference::WindowStart;
    std::array<std::optional<Complex>, 3> voltages;  // A, B, C
    std::array<std::optional<Complex>, 3> currents;
    std::optional<ResidualPhasor> residualVoltage;   // 3U0
    std::optional<ResidualPhasor> residualCurrent;   // 3I0
    std::optional<SequenceComponents> voltageSequence;
    std::optional<SequenceComponents> currentSequence;
    std::optional<double> negativeToPositivePercent;  // |I2| / |I1| * 100
    std::optional<double> zeroToPositivePercent;      // |I0| / |I1| * 100
    std::optional<SetPower> power;
    ResidualCompensation compensation;                // of the ground loops
    std::array<std::optional<Complex>, faultLoopCount> loops;  // ohm
};

CutAnalysis analyseCut(const RecordingSampling& sampling, const SetSignals& set, const LineData& line,
                       PhaseRotation rotation, int cut);

// The three phases where each has a value.
std::optional<PhaseValues> completePhases(const std::array<std::optional<Complex>, 3>& phases);

// Samples every present series of the set holds (the shortest, 0 without any).
int setSampleCount(const SetSignals& set);

} // namespace VornaLumeto
