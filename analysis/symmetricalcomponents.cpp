#include "analysis/symmetricalcomponents.h"

#include <cmath>

namespace VornaLumeto {
namespace {

const Complex a = std::polar(1.0, 2.0 * std::acos(-1.0) / 3.0);

} // namespace

Complex sequenceOperator(Phase phase, PhaseRotation rotation)
{
    switch (phase) {
    case Phase::A:
        return 1.0;
    case Phase::B:
        return rotation == PhaseRotation::Abc ? a * a : a;
    case Phase::C:
        break;
    }
    return rotation == PhaseRotation::Abc ? a : a * a;
}

SequenceComponents symmetricalComponents(const PhaseValues& phases, PhaseRotation rotation)
{
    SequenceComponents sequences;
    for (int p = 0; p < 3; ++p) {
        const Complex turn = sequenceOperator(Phase(p), rotation);
        sequences.zero += phases[p];
        sequences.positive += std::conj(turn) * phases[p];
        sequences.negative += turn * phases[p];
    }
    return {sequences.zero / 3.0, sequences.positive / 3.0, sequences.negative / 3.0};
}

PhaseValues phasesOf(const SequenceComponents& sequences, PhaseRotation rotation)
{
    PhaseValues phases;
    for (int p = 0; p < 3; ++p) {
        const Complex turn = sequenceOperator(Phase(p), rotation);
        phases[p] = sequences.zero + turn * sequences.positive + std::conj(turn) * sequences.negative;
    }
    return phases;
}

} // namespace VornaLumeto
