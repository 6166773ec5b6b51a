#pragma once

#include "analysis/currentchange.h"
#include "analysis/faulttype.h"

#include <optional>

namespace VornaLumeto {

// How the fault report sees a set: its sampling, its channels, its waveforms
// in amperes and volts, and the phases' rotation.
struct SetView {
    const RecordingSampling& sampling;
    const SetSignals& set;
    const SetWaveforms& waveforms;
    PhaseRotation rotation;
};

// The fundamental of the currents over a period, fitted beside a slowly
// varying offset so that one dying down does not pass for a change, and the
// positive-sequence voltage.
struct StatePhasors {
    SampleWindow window;
    PhaseValues currents{};
    Complex residual{};
    std::optional<PhaseValues> voltages;

    double largestCurrent() const;
};

// Over the period that ends at a sample; none where it gives no phasor.
std::optional<StatePhasors> stateEndingAt(const SetView& view, int end);

// Of a state that lasted less than a period: the steady sinusoids of the
// period fitted to the window's samples (at least a few); none where they give none.
std::optional<StatePhasors> stateOverPart(const SetView& view, SampleWindow part, int period);

// What changed from one state to another, both read over the second one's period.
struct StateChange {
    PhaseValues currents{};
    Complex residual{};
    std::optional<PhaseValues> voltages;
};
StateChange changeBetween(const SetView& view, const StatePhasors& from, const StatePhasors& to);
std::optional<FaultType> typeOf(const StateChange& change);

enum class ChangeKind {
    Negligible,    // the fundamental hardly moved: an offset dying down, a spike
    LoadChange,    // balanced and small against the load, or the currents fell
    Energisation,  // balanced currents from nothing, the voltages holding up
    Inception,     // a fault began
    Clearing,      // the first change of a recording that began inside a fault ends it
};

struct Assessment {
    ChangeKind kind = ChangeKind::Negligible;
    std::optional<FaultType> type;  // of an inception
    StatePhasors before;            // the state the change ended
    StatePhasors after;             // over the period after the change
};

// What a change of the currents at `onset` is, from the state before it (its
// last period, or what the recording holds of it) and the period after it.
// Unbalanced, it is a fault where the largest current grows by half as much
// again, or where the voltage dips by a tenth as the change draws its current
// through the source behind the recorder (fed from beyond it, the dip is a
// fault elsewhere, seen where a load is recorded); a load change otherwise.
// Balanced, a three-phase fault where the current grows by half as much
// again as the load or the voltage dips by a tenth, energisation where only
// noise flowed before, a load change otherwise. A change whose largest
// current falls by 30 % ends a fault only as a recording's first change;
// levels are the state's.
Assessment assessChange(const SetView& view, const StatePhasors& before, int onset, bool firstChange,
                        const ChangeLevels& levels);

} // namespace VornaLumeto
