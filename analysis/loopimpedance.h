#pragma once

#include "analysis/symmetricalcomponents.h"

#include <cmath>
#include <optional>

namespace VornaLumeto {

// The six measuring loops of a distance relay.
enum class FaultLoop { AG, BG, CG, AB, BC, CA };
constexpr int faultLoopCount = 6;

inline bool isGroundLoop(FaultLoop loop)
{
    return loop == FaultLoop::AG || loop == FaultLoop::BG || loop == FaultLoop::CG;
}

// Residual compensation of the ground loops: k0 = (Z0L - Z1L) / (3 Z1L) from
// the line's data; without line data k0 = 0, and fromLine says so.
struct ResidualCompensation {
    Complex k0;
    bool fromLine = false;
};
ResidualCompensation residualCompensation(const LineData& line);

// The voltage and current a loop measures: U_p and I_p + k0 3I0 for a ground
// loop (3I0 the sum of the phase currents), U_p - U_q and I_p - I_q for a pair.
struct LoopSignals {
    Complex voltage;
    Complex current;
};
// Inline, as the two below: a locus calls them six times a sample.
inline LoopSignals loopSignals(FaultLoop loop, const PhaseValues& voltages, const PhaseValues& currents, Complex k0)
{
    const int index = int(loop);
    if (isGroundLoop(loop))
        return {voltages[index], currents[index] + k0 * (currents[0] + currents[1] + currents[2])};
    // AB, BC, CA: the phase and the one after it.
    const int p = index - 3;
    const int q = p == 2 ? 0 : p + 1;
    return {voltages[p] - voltages[q], currents[p] - currents[q]};
}

// V / I of the loop; none where its current is zero or the quotient is not finite.
inline std::optional<Complex> loopImpedance(const LoopSignals& loop)
{
    const double re = loop.current.real();
    const double im = loop.current.imag();
    const double squared = re * re + im * im;
    if (squared == 0.0)
        return std::nullopt;
    // Through the conjugate, in real arithmetic: the library's guarded complex
    // division and multiplication cost several times as much.
    const Complex impedance((loop.voltage.real() * re + loop.voltage.imag() * im) / squared,
                            (loop.voltage.imag() * re - loop.voltage.real() * im) / squared);
    if (!std::isfinite(impedance.real()) || !std::isfinite(impedance.imag()))
        return std::nullopt;
    return impedance;
}

std::array<std::optional<Complex>, faultLoopCount> loopImpedances(const PhaseValues& voltages,
                                                                  const PhaseValues& currents, Complex k0);

} // namespace VornaLumeto
