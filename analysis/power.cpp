#include "analysis/power.h"

namespace VornaLumeto {
namespace {

Power powerOfComplex(Complex power)
{
    Power result{power.real(), power.imag(), std::abs(power), std::nullopt};
    if (result.apparent > 0.0)
        result.powerFactor = result.active / result.apparent;
    return result;
}

} // namespace

Power powerOf(Complex voltage, Complex current)
{
    return powerOfComplex(voltage * std::conj(current));
}

SetPower setPower(const PhaseValues& voltages, const PhaseValues& currents)
{
    SetPower power;
    Complex total = 0.0;
    for (int p = 0; p < 3; ++p) {
        const Complex phase = voltages[p] * std::conj(currents[p]);
        power.phases[p] = powerOfComplex(phase);
        total += phase;
    }
    power.total = powerOfComplex(total);
    return power;
}

} // namespace VornaLumeto
