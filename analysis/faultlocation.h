#pragma once

#include "analysis/loopimpedance.h"

#include <optional>

namespace VornaLumeto {

// Distances to the fault in per unit of the line from the faulted loop's
// voltage V and current I (loopSignals) and the whole line's Z1L. None where a
// denominator is zero or the result is not finite.

// Reactance method: m = Im(V / I) / Im(Z1L). Exact for a bolted fault.
std::optional<double> reactanceDistance(const LoopSignals& loop, Complex lineZ1);

// Takagi: m = Im(V dI*) / Im(Z1L I dI*), dI = I - I_prefault, the prefault
// loop current referred to the fault window's time.
std::optional<double> takagiDistance(const LoopSignals& loop, Complex prefaultLoopCurrent, Complex lineZ1);

// The same with the loop's negative-sequence current in place of dI: I2
// referred to the phase for a ground loop, to p minus q for a pair.
std::optional<double> negativeSequenceDistance(const LoopSignals& loop, FaultLoop which, Complex negativeSequence,
                                               PhaseRotation rotation, Complex lineZ1);
Complex loopNegativeSequenceCurrent(FaultLoop loop, Complex negativeSequence, PhaseRotation rotation);

// A distance in per unit, in km and in percent of the line.
struct LineDistance {
    double perUnit = 0.0;
    double km = 0.0;
    double percent = 0.0;
};
LineDistance lineDistance(double perUnit, const LineData& line);

} // namespace VornaLumeto
