#pragma once

#include "analysis/linedata.h"
#include "analysis/signalanalysis.h"
#include "analysis/threephasesetup.h"
#include "comtrade/common/recording.h"

#include <array>

// Primary and secondary values of a set's channels.
namespace VornaLumeto {

// The ratio a recording states for a channel: its 1999/2013 primary and secondary
// factors with P or S. Recorders that know no ratio write 1 and 1: not stated then,
// nor where the factors are not positive numbers or P/S is missing.
struct StatedRatio {
    bool stated = false;
    double primary = 1.0;
    double secondary = 1.0;
    ValueSide recorded = ValueSide::Primary;  // what the values in the file are
    double ratio() const { return primary / secondary; }
};
StatedRatio statedRatio(const Recording& recording, int channel);

// One role of a set: how its raw values become primary values, and the ratio that
// brings them to secondary.
struct RoleScaling {
    ChannelScaling primary;      // multiplier and offsetAdder for primary values
    double ratio = 1.0;          // primary / secondary; 1 where nobody gives one
    bool ratioKnown = false;
    bool fromRecording = false;  // the recording states the ratio
};

// A channel with a stated ratio is converted by it (S values times the ratio, P
// values as they are). A channel without one takes the set's CT ratio (currents) or
// VT ratio (voltages) the user entered: times the ratio when the user says the
// recorded values are secondary, as they are when primary. Without any ratio the
// values stand as recorded, ratio 1. A role without a channel gets {1, 0}.
struct SetScaling {
    std::array<RoleScaling, phaseRoleCount> roles;

    const RoleScaling& of(PhaseRole role) const { return roles[static_cast<std::size_t>(role)]; }
    // The known ratio of the first phase current (A, B, C) and phase voltage; 1 where none is known.
    double ctRatio() const;
    double vtRatio() const;
};
SetScaling setScaling(const Recording& recording, const ThreePhaseSetup& setup);

// Secondary value of a primary one: primary / ratio.
double secondaryValue(double primary, double ratio);

// Impedance seen on the secondary side: primary × CT ratio / VT ratio.
Complex secondaryImpedance(Complex primary, double ctRatio, double vtRatio);

} // namespace VornaLumeto
