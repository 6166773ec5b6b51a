#include "analysis/setsignals.h"

namespace VornaLumeto {

SetSignals setSignals(const QVector<QVector<double>>& analogValues, const ThreePhaseSet& set,
                      const std::array<ChannelScaling, phaseRoleCount>& scalings)
{
    SetSignals result;
    result.scalings = scalings;
    for (int role = 0; role < phaseRoleCount; ++role) {
        const int channel = set.channels[role];
        if (channel >= 0 && channel < analogValues.size())
            result.values[role] = &analogValues[channel];
    }
    return result;
}

} // namespace VornaLumeto
