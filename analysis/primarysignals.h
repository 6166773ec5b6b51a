#pragma once

#include "analysis/instrumentscaling.h"
#include "analysis/setsignals.h"

namespace VornaLumeto {

// The set's series scaled to primary volts and amperes, so that its impedances
// come out in primary ohms: each role's primary scaling (in its channel's unit)
// times the unit's prefix ("kV" a thousand). The recording must outlive the result.
SetSignals primarySetSignals(const Recording& recording, const ThreePhaseSet& set, const SetScaling& scaling);

} // namespace VornaLumeto
