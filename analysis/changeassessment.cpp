#include "analysis/changeassessment.h"

#include "analysis/cutanalysis.h"

#include <algorithm>
#include <cmath>

namespace VornaLumeto {
namespace {

// A change whose fundamental moves less than this share of the detection threshold is none.
constexpr double negligibleShare = 0.5;
// Negative or zero sequence of the change against its positive sequence: not balanced.
constexpr double unbalancedShare = 0.1;
// The largest current falls to this share or below: the change ends something.
constexpr double fallenShare = 0.7;
// A balanced change this much larger than the load before it is a three-phase fault.
constexpr double faultCurrentGrowth = 1.5;
constexpr double voltageDipShare = 0.9;
constexpr double voltageRiseShare = 1.1;

bool unbalanced(const PhaseValues& change, PhaseRotation rotation)
{
    const SequenceComponents sequences = symmetricalComponents(change, rotation);
    return std::max(std::abs(sequences.negative), std::abs(sequences.zero))
           >= unbalancedShare * std::abs(sequences.positive);
}

bool voltage(const StatePhasors& before, const StatePhasors& after, double share, bool rise)
{
    if (!before.positiveVoltage || !after.positiveVoltage)
        return false;
    return rise ? *after.positiveVoltage >= share * *before.positiveVoltage
                : *after.positiveVoltage <= share * *before.positiveVoltage;
}

} // namespace

double StatePhasors::largestCurrent() const
{
    return std::max({std::abs(currents[0]), std::abs(currents[1]), std::abs(currents[2])});
}

std::optional<StatePhasors> stateEndingAt(const SetView& view, int end)
{
    const std::optional<SampleWindow> window = periodEndingAt(view.sampling, end, view.waveforms.size());
    if (!window)
        return std::nullopt;
    StatePhasors state;
    state.window = *window;
    for (int p = 0; p < 3; ++p) {
        const std::optional<Complex> current = offsetFreePhasor(view.waveforms.currents[p], {}, *window);
        if (!current)
            return std::nullopt;
        state.currents[p] = *current;
    }
    const std::optional<Complex> residual = offsetFreePhasor(view.waveforms.residual, {}, *window);
    if (!residual)
        return std::nullopt;
    state.residual = *residual;
    if (const std::optional<PhaseValues> voltages = rolePhasors(view.set, *window).voltages())
        state.positiveVoltage = std::abs(symmetricalComponents(*voltages, view.rotation).positive);
    return state;
}

StateChange changeBetween(const SetView& view, const StatePhasors& from, const StatePhasors& to)
{
    const Complex turn = referredToWindow(1.0, view.sampling, from.window, to.window);
    StateChange change;
    for (int p = 0; p < 3; ++p)
        change.currents[p] = to.currents[p] - turn * from.currents[p];
    change.residual = to.residual - turn * from.residual;
    return change;
}

std::optional<FaultType> typeOf(const StateChange& change)
{
    return classifyFault(change.currents, change.residual);
}

Assessment assessChange(const SetView& view, int onset, bool firstChange, double threshold)
{
    Assessment assessment;
    const int n = periodBefore(view.sampling, onset);
    const std::optional<StatePhasors> before = stateEndingAt(view, onset - 1);
    const std::optional<StatePhasors> after = stateEndingAt(view, onset + n + n / 8);
    if (n == 0 || !before || !after || after->window.first <= onset)
        return assessment;
    assessment.after = *after;
    const StateChange change = changeBetween(view, *before, *after);
    const PhaseValues& currents = change.currents;
    const double largestChange = std::max({std::abs(currents[0]), std::abs(currents[1]), std::abs(currents[2])});
    if (std::sqrt(2.0) * largestChange < negligibleShare * threshold)
        return assessment;
    const bool uneven = unbalanced(currents, view.rotation);
    if (after->largestCurrent() <= fallenShare * before->largestCurrent()) {
        const bool endsFault = firstChange && (uneven || voltage(*before, *after, voltageRiseShare, true));
        assessment.kind = endsFault ? ChangeKind::Clearing : ChangeKind::LoadChange;
        return assessment;
    }
    const bool dip = voltage(*before, *after, voltageDipShare, false);
    if (uneven) {
        assessment.kind = ChangeKind::Inception;
    } else if (std::sqrt(2.0) * before->largestCurrent() < threshold) {
        // Nothing flowed but noise: the line was switched on, or onto a fault that pulls the voltage down.
        assessment.kind = dip ? ChangeKind::Inception : ChangeKind::Energisation;
    } else {
        const double loadBefore = std::abs(symmetricalComponents(before->currents, view.rotation).positive);
        const double growth = std::abs(symmetricalComponents(currents, view.rotation).positive);
        assessment.kind = dip || growth >= faultCurrentGrowth * loadBefore ? ChangeKind::Inception
                                                                          : ChangeKind::LoadChange;
    }
    if (assessment.kind == ChangeKind::Inception)
        assessment.type = typeOf(change);
    return assessment;
}


} // namespace VornaLumeto
