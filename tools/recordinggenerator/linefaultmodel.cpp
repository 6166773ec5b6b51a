#include "linefaultmodel.h"

#include <cmath>

namespace LumetoTools {
namespace {

const double pi = std::acos(-1.0);
const Complex a = std::polar(1.0, 2.0 * pi / 3.0);
const Complex a2 = a * a;

Complex parallel(Complex left, Complex right)
{
    return left * right / (left + right);
}

// Sequence currents into the fault in the reference of the kind's symmetrical
// phase (the one alone or the one left out), from the prefault voltage there.
std::array<Complex, 3> faultCurrentsInOwnReference(FaultKind kind, Complex prefaultVoltage, Complex z1, Complex z0,
                                                   double resistance)
{
    const Complex z2 = z1;
    switch (kind) {
    case FaultKind::AG:
    case FaultKind::BG:
    case FaultKind::CG: {
        const Complex current = prefaultVoltage / (z1 + z2 + z0 + 3.0 * resistance);
        return {current, current, current};
    }
    case FaultKind::AB:
    case FaultKind::BC:
    case FaultKind::CA: {
        const Complex positive = prefaultVoltage / (z1 + z2 + resistance);
        return {0.0, positive, -positive};
    }
    case FaultKind::ABG:
    case FaultKind::BCG:
    case FaultKind::CAG: {
        const Complex groundBranch = z0 + 3.0 * resistance;
        const Complex positive = prefaultVoltage / (z1 + parallel(z2, groundBranch));
        return {-positive * z2 / (z2 + groundBranch), positive, -positive * groundBranch / (z2 + groundBranch)};
    }
    case FaultKind::ABC:
        break;
    }
    return {0.0, prefaultVoltage / (z1 + resistance), 0.0};
}

// Positive-sequence operator of the symmetrical phase: X1 of its reference is
// this times X1 of phase A's, X2 the conjugate times X2 of A's.
Complex symmetricalPhaseOperator(FaultKind kind)
{
    switch (kind) {
    case FaultKind::BG:
    case FaultKind::CA:
    case FaultKind::CAG:
        return a2;
    case FaultKind::CG:
    case FaultKind::AB:
    case FaultKind::ABG:
        return a;
    default:
        return 1.0;
    }
}

PhaseQuantities fromSequences(const std::array<Complex, 3>& voltages, const std::array<Complex, 3>& currents)
{
    return {phasesOfSequences(voltages), phasesOfSequences(currents), voltages, currents};
}

// Relay-end voltages of relay-end currents behind the source impedances.
PhaseQuantities relayEnd(const TwoSourceSystem& system, const std::array<Complex, 3>& currents)
{
    const Complex sourceEmf = std::polar(system.emf, system.loadAngle * pi / 180.0);
    return fromSequences({-system.sourceZ0 * currents[0], sourceEmf - system.sourceZ1 * currents[1],
                          -system.sourceZ1 * currents[2]},
                         currents);
}

Complex prefaultCurrent(const TwoSourceSystem& system)
{
    const Complex sourceEmf = std::polar(system.emf, system.loadAngle * pi / 180.0);
    return (sourceEmf - system.emf) / (system.sourceZ1 + system.lineZ1 + system.remoteZ1);
}

} // namespace

std::array<Complex, 3> phasesOfSequences(const std::array<Complex, 3>& s)
{
    return {s[0] + s[1] + s[2], s[0] + a2 * s[1] + a * s[2], s[0] + a * s[1] + a2 * s[2]};
}

std::array<Complex, 3> sequencesOfPhases(const std::array<Complex, 3>& p)
{
    return {(p[0] + p[1] + p[2]) / 3.0, (p[0] + a * p[1] + a2 * p[2]) / 3.0, (p[0] + a2 * p[1] + a * p[2]) / 3.0};
}

PhaseQuantities loadFlow(const TwoSourceSystem& system)
{
    return relayEnd(system, {0.0, prefaultCurrent(system), 0.0});
}

PhaseQuantities openLine(const TwoSourceSystem& system)
{
    return relayEnd(system, {0.0, 0.0, 0.0});
}

LineFaultSolution solveLineFault(const TwoSourceSystem& system, const LineFault& fault)
{
    const double m = fault.distance;
    const Complex relaySide1 = system.sourceZ1 + m * system.lineZ1;
    const Complex farSide1 = system.remoteZ1 + (1.0 - m) * system.lineZ1;
    const Complex relaySide0 = system.sourceZ0 + m * system.lineZ0;
    const Complex farSide0 = system.remoteZ0 + (1.0 - m) * system.lineZ0;
    const Complex share1 = farSide1 / (relaySide1 + farSide1);
    const Complex share0 = farSide0 / (relaySide0 + farSide0);

    const Complex loadCurrent = prefaultCurrent(system);
    const Complex sourceEmf = std::polar(system.emf, system.loadAngle * pi / 180.0);
    const Complex prefaultVoltage = sourceEmf - loadCurrent * relaySide1;

    const Complex turn = symmetricalPhaseOperator(fault.kind);
    const std::array<Complex, 3> own = faultCurrentsInOwnReference(
        fault.kind, turn * prefaultVoltage, parallel(relaySide1, farSide1), parallel(relaySide0, farSide0),
        fault.resistance);
    const std::array<Complex, 3> faultCurrents{own[0], own[1] / turn, own[2] / std::conj(turn)};

    LineFaultSolution solution;
    solution.prefault = loadFlow(system);
    solution.fault = relayEnd(system, {share0 * faultCurrents[0], loadCurrent + share1 * faultCurrents[1],
                                       share1 * faultCurrents[2]});
    // The fault point seen along the line from the relay end.
    const std::array<Complex, 3> lineDrop{m * system.lineZ0, m * system.lineZ1, m * system.lineZ1};
    std::array<Complex, 3> pointVoltages;
    for (int s = 0; s < 3; ++s)
        pointVoltages[s] = solution.fault.sequenceVoltage[s] - lineDrop[s] * solution.fault.sequenceCurrent[s];
    solution.faultPoint = fromSequences(pointVoltages, faultCurrents);
    return solution;
}

} // namespace LumetoTools
