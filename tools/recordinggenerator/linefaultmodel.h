#pragma once

#include <array>
#include <complex>

// A line between two sources, from its sequence networks, in closed form:
// what the relay at the sending end sees before and during a fault. The
// generator writes recordings from it and tests compare the analysis with it,
// so it shares nothing with the code it checks.
namespace LumetoTools {

using Complex = std::complex<double>;

enum class FaultKind { AG, BG, CG, AB, BC, CA, ABG, BCG, CAG, ABC };
constexpr int faultKindCount = 10;

// Source S at the relay end, source R at the far end, the line between them.
struct TwoSourceSystem {
    double emf = 110000.0 / 1.7320508075688772;  // V RMS phase to ground, both sources
    double loadAngle = 0.0;                       // degrees by which E_S leads E_R
    Complex sourceZ1{1.0, 10.0};                  // ohm
    Complex sourceZ0{2.0, 20.0};
    Complex remoteZ1{1.0, 10.0};
    Complex remoteZ0{2.0, 20.0};
    Complex lineZ1{10.0, 40.0};                   // the whole line
    Complex lineZ0{30.0, 120.0};
};

struct LineFault {
    FaultKind kind = FaultKind::AG;
    double distance = 0.5;    // per unit of the line, from S
    double resistance = 0.0;  // ohm: per phase, between the phases, or to ground for two phases to ground
};

// RMS phasors on phase A's reference: phases A, B, C and sequences 0, 1, 2.
struct PhaseQuantities {
    std::array<Complex, 3> voltage;
    std::array<Complex, 3> current;
    std::array<Complex, 3> sequenceVoltage;
    std::array<Complex, 3> sequenceCurrent;
};

struct LineFaultSolution {
    PhaseQuantities prefault;    // at the relay, currents flowing into the line
    PhaseQuantities fault;       // at the relay
    PhaseQuantities faultPoint;  // voltages at the fault point, currents into the fault
};

// Healthy load flow at the relay end.
PhaseQuantities loadFlow(const TwoSourceSystem& system);

// The bus voltages with the line switched off at the relay end: the source EMF.
PhaseQuantities openLine(const TwoSourceSystem& system);

LineFaultSolution solveLineFault(const TwoSourceSystem& system, const LineFault& fault);

// Phase values of sequence values and back, ABC rotation.
std::array<Complex, 3> phasesOfSequences(const std::array<Complex, 3>& sequences);
std::array<Complex, 3> sequencesOfPhases(const std::array<Complex, 3>& phases);

} // namespace LumetoTools
