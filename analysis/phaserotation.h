#pragma once

#include "analysis/linedata.h"
#include "analysis/threephaseset.h"
#include "comtrade/common/recording.h"

namespace VornaLumeto {

// The rotation the set's channels show in the recording's first whole period:
// ACB where phase B leads A and C lags it (a recorder whose phases are labelled
// A, C, B), ABC otherwise. The voltages tell it where the set has all three,
// else the currents; a period that tells nothing clear (no phasor, a phase
// missing or near zero, angles far from 120 degrees) leaves ABC.
PhaseRotation observedRotation(const Recording& recording, const ThreePhaseSet& set);

} // namespace VornaLumeto
