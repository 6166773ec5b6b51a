#include "analysis/cutanalysis.h"

#include <algorithm>
#include <limits>

namespace VornaLumeto {
namespace {

// The turn that takes the reference phasor to angle 0.
Complex referenceTurn(const RolePhasors& phasors, AngleReference& reference)
{
    for (const auto& [role, candidate] : {std::pair{PhaseRole::UA, AngleReference::UA},
                                          std::pair{PhaseRole::IA, AngleReference::IA}}) {
        const std::optional<Complex> value = phasors.value(role);
        if (value && std::abs(*value) > 0.0) {
            reference = candidate;
            return std::conj(*value) / std::abs(*value);
        }
    }
    reference = AngleReference::WindowStart;
    return 1.0;
}

std::optional<ResidualPhasor> residual(const std::optional<Complex>& measured,
                                       const std::array<std::optional<Complex>, 3>& phases)
{
    if (measured)
        return ResidualPhasor{*measured, ResidualSource::Measured};
    if (phases[0] && phases[1] && phases[2])
        return ResidualPhasor{*phases[0] + *phases[1] + *phases[2], ResidualSource::Calculated};
    return std::nullopt;
}

std::optional<double> percentOf(double part, double whole)
{
    if (!(whole > 0.0))
        return std::nullopt;
    return part / whole * 100.0;
}

} // namespace

std::optional<PhaseValues> completePhases(const std::array<std::optional<Complex>, 3>& phases)
{
    if (!phases[0] || !phases[1] || !phases[2])
        return std::nullopt;
    return PhaseValues{*phases[0], *phases[1], *phases[2]};
}

std::optional<PhaseValues> RolePhasors::phases(PhaseRole first) const
{
    const int index = int(first);
    return completePhases({values[index], values[index + 1], values[index + 2]});
}

RolePhasors rolePhasors(const SetSignals& set, SampleWindow window)
{
    RolePhasors phasors;
    for (int role = 0; role < phaseRoleCount; ++role) {
        if (const QVector<double>* series = set.values[role])
            phasors.values[role] = fundamentalPhasor(*series, set.scalings[role], window);
    }
    return phasors;
}

int setSampleCount(const SetSignals& set)
{
    int count = std::numeric_limits<int>::max();
    for (const QVector<double>* series : set.values) {
        if (series)
            count = std::min(count, int(series->size()));
    }
    return count == std::numeric_limits<int>::max() ? 0 : count;
}

CutAnalysis analyseCut(const RecordingSampling& sampling, const SetSignals& set, const LineData& line,
                       PhaseRotation rotation, int cut)
{
    CutAnalysis analysis;
    analysis.compensation = residualCompensation(line);
    analysis.window = periodEndingAt(sampling, cut, setSampleCount(set));
    if (!analysis.window)
        return analysis;
    RolePhasors phasors = rolePhasors(set, *analysis.window);
    const Complex turn = referenceTurn(phasors, analysis.angleReference);
    for (std::optional<Complex>& value : phasors.values) {
        if (value)
            *value *= turn;
    }
    for (int p = 0; p < 3; ++p) {
        analysis.voltages[p] = phasors.values[int(PhaseRole::UA) + p];
        analysis.currents[p] = phasors.values[int(PhaseRole::IA) + p];
    }
    analysis.residualVoltage = residual(phasors.value(PhaseRole::UN), analysis.voltages);
    analysis.residualCurrent = residual(phasors.value(PhaseRole::IN), analysis.currents);
    const std::optional<PhaseValues> voltages = phasors.voltages();
    const std::optional<PhaseValues> currents = phasors.currents();
    if (voltages)
        analysis.voltageSequence = symmetricalComponents(*voltages, rotation);
    if (currents) {
        analysis.currentSequence = symmetricalComponents(*currents, rotation);
        const double positive = std::abs(analysis.currentSequence->positive);
        analysis.negativeToPositivePercent = percentOf(std::abs(analysis.currentSequence->negative), positive);
        analysis.zeroToPositivePercent = percentOf(std::abs(analysis.currentSequence->zero), positive);
    }
    if (voltages && currents) {
        analysis.power = setPower(*voltages, *currents);
        analysis.loops = loopImpedances(*voltages, *currents, analysis.compensation.k0);
    }
    return analysis;
}

} // namespace VornaLumeto
