#pragma once

#include "analysis/loopimpedance.h"

#include <QString>

#include <optional>

namespace VornaLumeto {

enum class FaultType { AG, BG, CG, AB, BC, CA, ABG, BCG, CAG, ABC };

// "AG" ... "ABC".
QString faultTypeLetters(FaultType type);

// "AG", "BG", "CG", "AB", "BC", "CA".
QString faultLoopLetters(FaultLoop loop);

// The loop that measures the fault: the phase for one phase to ground, the
// pair otherwise, AB for a three-phase fault.
FaultLoop faultedLoop(FaultType type);

// Phases 0, 1, 2 the type involves, and whether it goes to ground.
bool involvesPhase(FaultType type, int phase);
bool involvesGround(FaultType type);

// The type from the change of the phase currents over the fault (fault minus
// prefault phasors) and of the residual current 3I0. Phase-pair changes
// |dIp - dIq| hold no zero sequence: one phase to ground leaves the other pair
// unchanged, a three-phase fault changes all three alike, two phases change
// their own pair most. Ground is involved where d3I0 reaches a tenth of the
// largest phase change. None where the currents did not change.
std::optional<FaultType> classifyFault(const PhaseValues& currentChanges, Complex residualChange);

} // namespace VornaLumeto
