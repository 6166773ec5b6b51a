#pragma once

#include <QString>

#include <array>

namespace VornaLumeto {

// What an analog channel is to a three-phase set: a phase or residual voltage,
// a phase or residual current.
enum class PhaseRole { UA, UB, UC, UN, IA, IB, IC, IN };
constexpr int phaseRoleCount = 8;

// "UA" ... "IN": how settings and widgets name a role.
inline QLatin1String phaseRoleKey(PhaseRole role)
{
    static const char* const keys[phaseRoleCount] = {"UA", "UB", "UC", "UN", "IA", "IB", "IC", "IN"};
    return QLatin1String(keys[static_cast<int>(role)]);
}

// One feeder or transformer side: the analog channel index of each role, -1 where
// the recording has no channel for it.
struct ThreePhaseSet {
    QString name;
    std::array<int, phaseRoleCount> channels{{-1, -1, -1, -1, -1, -1, -1, -1}};

    int channel(PhaseRole role) const { return channels[static_cast<int>(role)]; }
    void assign(PhaseRole role, int analogChannel) { channels[static_cast<int>(role)] = analogChannel; }
    bool hasVoltages() const { return has(PhaseRole::UA) && has(PhaseRole::UB) && has(PhaseRole::UC); }
    bool hasCurrents() const { return has(PhaseRole::IA) && has(PhaseRole::IB) && has(PhaseRole::IC); }

private:
    bool has(PhaseRole role) const { return channel(role) >= 0; }
};

} // namespace VornaLumeto
