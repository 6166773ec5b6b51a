#include "analysis/faultlocation.h"

#include <cmath>

namespace VornaLumeto {
namespace {

std::optional<double> finiteQuotient(double numerator, double denominator)
{
    if (denominator == 0.0)
        return std::nullopt;
    const double quotient = numerator / denominator;
    if (!std::isfinite(quotient))
        return std::nullopt;
    return quotient;
}

// Im(V P*) / Im(Z1L I P*): the fault resistance's drop, in phase with the
// polarising current P, drops out of the imaginary part.
std::optional<double> polarisedDistance(const LoopSignals& loop, Complex polarising, Complex lineZ1)
{
    return finiteQuotient((loop.voltage * std::conj(polarising)).imag(),
                          (lineZ1 * loop.current * std::conj(polarising)).imag());
}

} // namespace

std::optional<double> reactanceDistance(const LoopSignals& loop, Complex lineZ1)
{
    const std::optional<Complex> impedance = loopImpedance(loop);
    if (!impedance)
        return std::nullopt;
    return finiteQuotient(impedance->imag(), lineZ1.imag());
}

std::optional<double> takagiDistance(const LoopSignals& loop, Complex prefaultLoopCurrent, Complex lineZ1)
{
    return polarisedDistance(loop, loop.current - prefaultLoopCurrent, lineZ1);
}

Complex loopNegativeSequenceCurrent(FaultLoop loop, Complex negativeSequence, PhaseRotation rotation)
{
    const int index = int(loop);
    if (isGroundLoop(loop))
        return std::conj(sequenceOperator(Phase(index), rotation)) * negativeSequence;
    const int p = index - 3;
    const int q = (p + 1) % 3;
    return (std::conj(sequenceOperator(Phase(p), rotation)) - std::conj(sequenceOperator(Phase(q), rotation)))
           * negativeSequence;
}

std::optional<double> negativeSequenceDistance(const LoopSignals& loop, FaultLoop which, Complex negativeSequence,
                                               PhaseRotation rotation, Complex lineZ1)
{
    return polarisedDistance(loop, loopNegativeSequenceCurrent(which, negativeSequence, rotation), lineZ1);
}

LineDistance lineDistance(double perUnit, const LineData& line)
{
    return {perUnit, perUnit * line.lengthKm, perUnit * 100.0};
}

} // namespace VornaLumeto
