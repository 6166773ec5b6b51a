#include "analysis/phaserotation.h"

#include "analysis/fundamentalphasor.h"
#include "comtrade/common/recordingsampling.h"

#include <array>
#include <cmath>
#include <optional>

namespace VornaLumeto {
namespace {

// A phase this much smaller than phase A carries nothing to tell a rotation by.
constexpr double smallestShare = 0.2;
// Each phase within this many degrees of its place in the rotation.
constexpr double angleTolerance = 60.0;

double degreesFrom(Complex reference, Complex phasor)
{
    return std::arg(phasor * std::conj(reference)) * 180.0 / std::acos(-1.0);
}

// The phasors of the three channels over the recording's first whole period.
std::optional<std::array<Complex, 3>> firstPeriodPhasors(const Recording& recording, const std::array<int, 3>& channels)
{
    const RecordingSampling sampling = recordingSampling(recording);
    const AnalysisPeriods periods = analysisPeriods(sampling.stretches.value(0).rate, sampling.lineFrequency);
    const std::optional<SampleWindow> window = periodEndingAt(sampling, periods.nearest - 1, recording.timeAxis.size());
    if (!window)
        return std::nullopt;
    std::array<Complex, 3> phasors;
    for (int p = 0; p < 3; ++p) {
        const int channel = channels[p];
        if (channel < 0 || channel >= recording.analogValues.size())
            return std::nullopt;
        const AnalogChannel& analog = recording.analogChannels.at(channel);
        const std::optional<Complex> phasor = fundamentalPhasor(
            recording.analogValues.at(channel), ChannelScaling{analog.multiplier, analog.offsetAdder}, *window);
        if (!phasor)
            return std::nullopt;
        phasors[p] = *phasor;
    }
    return phasors;
}

bool near(double degrees, double expected)
{
    return std::abs(std::remainder(degrees - expected, 360.0)) < angleTolerance;
}

} // namespace

PhaseRotation observedRotation(const Recording& recording, const ThreePhaseSet& set)
{
    const std::array<int, 3> channels =
        set.hasVoltages() ? std::array<int, 3>{set.channel(PhaseRole::UA), set.channel(PhaseRole::UB),
                                               set.channel(PhaseRole::UC)}
                          : std::array<int, 3>{set.channel(PhaseRole::IA), set.channel(PhaseRole::IB),
                                               set.channel(PhaseRole::IC)};
    const std::optional<std::array<Complex, 3>> phasors = firstPeriodPhasors(recording, channels);
    if (!phasors)
        return PhaseRotation::Abc;
    const Complex a = (*phasors)[0];
    const Complex b = (*phasors)[1];
    const Complex c = (*phasors)[2];
    const double smallest = smallestShare * std::abs(a);
    if (!(smallest > 0.0) || std::abs(b) < smallest || std::abs(c) < smallest)
        return PhaseRotation::Abc;
    const bool acb = near(degreesFrom(a, b), 120.0) && near(degreesFrom(a, c), -120.0);
    return acb ? PhaseRotation::Acb : PhaseRotation::Abc;
}

} // namespace VornaLumeto
