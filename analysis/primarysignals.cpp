#include "analysis/primarysignals.h"

#include "analysis/unitprefix.h"

namespace VornaLumeto {

SetSignals primarySetSignals(const Recording& recording, const ThreePhaseSet& set, const SetScaling& scaling)
{
    std::array<ChannelScaling, phaseRoleCount> scalings{};
    for (int role = 0; role < phaseRoleCount; ++role) {
        const int channel = set.channels[role];
        if (channel < 0 || channel >= recording.analogChannels.size())
            continue;
        const double prefix = unitPrefixFactor(recording.analogChannels.at(channel).unit);
        const ChannelScaling primary = scaling.roles[role].primary;
        scalings[role] = ChannelScaling{primary.multiplier * prefix, primary.offsetAdder * prefix};
    }
    return setSignals(recording.analogValues, set, scalings);
}

} // namespace VornaLumeto
