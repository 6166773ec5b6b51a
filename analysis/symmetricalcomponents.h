#pragma once

#include "analysis/linedata.h"

#include <array>

namespace VornaLumeto {

// Phasors of phases A, B, C.
using PhaseValues = std::array<Complex, 3>;
enum class Phase { A, B, C };

struct SequenceComponents {
    Complex zero;
    Complex positive;
    Complex negative;
};

// With a = e^(j120°): X0 = (Xa + Xb + Xc) / 3, X1 = (Xa + a Xb + a² Xc) / 3,
// X2 = (Xa + a² Xb + a Xc) / 3 for the rotation ABC; B and C change places for ACB.
SequenceComponents symmetricalComponents(const PhaseValues& phases, PhaseRotation rotation);
PhaseValues phasesOf(const SequenceComponents& sequences, PhaseRotation rotation);

// A phase's own reference: its positive-sequence value is this times phase
// A's, its negative-sequence value the conjugate times A's (1, a², a for A,
// B, C in the rotation ABC).
Complex sequenceOperator(Phase phase, PhaseRotation rotation);

} // namespace VornaLumeto
