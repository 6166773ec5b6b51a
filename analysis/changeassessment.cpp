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
// Between the impedance angles of sources and lines and those of loads.
constexpr double characteristicDegrees = 60.0;

// What changes are is told whichever way round the phases are labelled: a
// set whose phases run A, C, B against the rotation it is read with trades
// its positive and negative sequences, so the larger of the two is taken for
// its own positive sequence (the rotation the user gives serves the distances).
double ownPositive(const PhaseValues& phases)
{
    const SequenceComponents sequences = symmetricalComponents(phases, PhaseRotation::Abc);
    return std::max(std::abs(sequences.positive), std::abs(sequences.negative));
}

bool unbalanced(const PhaseValues& change)
{
    const SequenceComponents sequences = symmetricalComponents(change, PhaseRotation::Abc);
    const double positive = std::abs(sequences.positive);
    const double negative = std::abs(sequences.negative);
    return std::max(std::min(positive, negative), std::abs(sequences.zero))
           >= unbalancedShare * std::max(positive, negative);
}

bool voltage(const StatePhasors& before, const StatePhasors& after, double share, bool rise)
{
    if (!before.voltages || !after.voltages)
        return false;
    const double from = ownPositive(*before.voltages);
    const double to = ownPositive(*after.voltages);
    return rise ? to >= share * from : to <= share * from;
}

// A change drawn through the source behind the recorder makes the voltages
// fall along the source's impedance: the change's power, summed over the
// phases (so over every sequence), flows back into the recorder,
// Re(sum of dU dI* e^(-j 60 deg)) < 0, with the source's impedance angle
// anywhere from 30 to 90 degrees. Fed from beyond, the voltages follow the
// impedance in front of the recorder and the sign turns.
bool fedFromBeyond(const StateChange& change)
{
    if (!change.voltages)
        return false;
    Complex power = 0.0;
    for (int p = 0; p < 3; ++p)
        power += (*change.voltages)[p] * std::conj(change.currents[p]);
    return (power * std::polar(1.0, -characteristicDegrees * std::acos(-1.0) / 180.0)).real() > 0.0;
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
        state.voltages = voltages;
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
    if (from.voltages && to.voltages) {
        change.voltages.emplace();
        for (int p = 0; p < 3; ++p)
            (*change.voltages)[p] = (*to.voltages)[p] - turn * (*from.voltages)[p];
    }
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
    const bool uneven = unbalanced(currents);
    if (after->largestCurrent() <= fallenShare * before.largestCurrent()) {
        const bool endsFault = firstChange && (uneven || voltage(before, *after, voltageRiseShare, true));
        assessment.kind = endsFault ? ChangeKind::Clearing : ChangeKind::LoadChange;
        return assessment;
    }
    const bool dip = voltage(before, *after, voltageDipShare, false);
    if (uneven) {
        const bool faultCurrent = after->largestCurrent() >= faultCurrentGrowth * before.largestCurrent();
        assessment.kind = faultCurrent || (dip && !fedFromBeyond(change)) ? ChangeKind::Inception
                                                                           : ChangeKind::LoadChange;
    } else if (std::sqrt(2.0) * before.largestCurrent() < levels.aboveNoise) {
        // Nothing flowed but noise: the line was switched on, or onto a fault that pulls the voltage down.
        // The noise of the samples tells, not the state's first period, which may hold the change.
        assessment.kind = dip ? ChangeKind::Inception : ChangeKind::Energisation;
    } else {
        const double loadBefore = ownPositive(before.currents);
        const double growth = ownPositive(currents);
        assessment.kind = dip || growth >= faultCurrentGrowth * loadBefore ? ChangeKind::Inception
                                                                          : ChangeKind::LoadChange;
    }
    if (assessment.kind == ChangeKind::Inception)
        assessment.type = typeOf(change);
    return assessment;
}


} // namespace VornaLumeto
