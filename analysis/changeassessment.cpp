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

// The state's currents, residual and positive-sequence voltage over the
// window, each series' phasor as the functions tell it.
template <typename CurrentPhasor, typename VoltagePhasor>
std::optional<StatePhasors> stateOver(const SetView& view, SampleWindow window, CurrentPhasor currentPhasor,
                                      VoltagePhasor voltagePhasor)
{
    StatePhasors state;
    state.window = window;
    for (int p = 0; p < 3; ++p) {
        const std::optional<Complex> current = currentPhasor(view.waveforms.currents[p]);
        if (!current)
            return std::nullopt;
        state.currents[p] = *current;
    }
    const std::optional<Complex> residual = currentPhasor(view.waveforms.residual);
    if (!residual)
        return std::nullopt;
    state.residual = *residual;
    if (view.waveforms.hasVoltages()) {
        PhaseValues voltages{};
        for (int p = 0; p < 3; ++p) {
            const std::optional<Complex> voltage = voltagePhasor(view.waveforms.voltages[p]);
            if (!voltage)
                return state;
            voltages[p] = *voltage;
        }
        state.positiveVoltage = std::abs(symmetricalComponents(voltages, view.rotation).positive);
    }
    return state;
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
    return stateOver(
        view, *window, [&](const QVector<double>& values) { return offsetFreePhasor(values, {}, *window); },
        [&](const QVector<double>& values) { return fundamentalPhasor(values, {}, *window); });
}

std::optional<StatePhasors> stateOverPart(const SetView& view, SampleWindow part, int period)
{
    const auto fitted = [&](const QVector<double>& values) { return sinusoidPhasor(values, {}, part, period); };
    return stateOver(view, part, fitted, fitted);
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

Assessment assessChange(const SetView& view, const StatePhasors& before, int onset, bool firstChange,
                        const ChangeLevels& levels)
{
    Assessment assessment;
    assessment.before = before;
    const int n = periodOf(view.sampling, onset);
    const std::optional<StatePhasors> after = stateEndingAt(view, onset + n + n / 8);
    if (n == 0 || !after || after->window.first <= onset)
        return assessment;
    assessment.after = *after;
    const StateChange change = changeBetween(view, before, *after);
    const PhaseValues& currents = change.currents;
    const double largestChange = std::max({std::abs(currents[0]), std::abs(currents[1]), std::abs(currents[2])});
    if (std::sqrt(2.0) * largestChange < negligibleShare * levels.threshold)
        return assessment;
    const bool uneven = unbalanced(currents, view.rotation);
    if (after->largestCurrent() <= fallenShare * before.largestCurrent()) {
        const bool endsFault = firstChange && (uneven || voltage(before, *after, voltageRiseShare, true));
        assessment.kind = endsFault ? ChangeKind::Clearing : ChangeKind::LoadChange;
        return assessment;
    }
    const bool dip = voltage(before, *after, voltageDipShare, false);
    if (uneven) {
        assessment.kind = ChangeKind::Inception;
    } else if (std::sqrt(2.0) * before.largestCurrent() < levels.aboveNoise) {
        // Nothing flowed but noise: the line was switched on, or onto a fault that pulls the voltage down.
        // The noise of the samples tells, not the state's first period, which may hold the change.
        assessment.kind = dip ? ChangeKind::Inception : ChangeKind::Energisation;
    } else {
        const double loadBefore = std::abs(symmetricalComponents(before.currents, view.rotation).positive);
        const double growth = std::abs(symmetricalComponents(currents, view.rotation).positive);
        assessment.kind = dip || growth >= faultCurrentGrowth * loadBefore ? ChangeKind::Inception
                                                                          : ChangeKind::LoadChange;
    }
    if (assessment.kind == ChangeKind::Inception)
        assessment.type = typeOf(change);
    return assessment;
}


} // namespace VornaLumeto
