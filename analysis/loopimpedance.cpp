#include "analysis/loopimpedance.h"

namespace VornaLumeto {

ResidualCompensation residualCompensation(const LineData& line)
{
    if (!line.isGiven())
        return {};
    return {(line.z0() - line.z1()) / (3.0 * line.z1()), true};
}

std::array<std::optional<Complex>, faultLoopCount> loopImpedances(const PhaseValues& voltages,
                                                                  const PhaseValues& currents, Complex k0)
{
    std::array<std::optional<Complex>, faultLoopCount> impedances;
    for (int loop = 0; loop < faultLoopCount; ++loop)
        impedances[loop] = loopImpedance(loopSignals(FaultLoop(loop), voltages, currents, k0));
    return impedances;
}

} // namespace VornaLumeto
