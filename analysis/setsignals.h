#pragma once

#include "analysis/signalanalysis.h"
#include "analysis/threephaseset.h"

#include <QVector>

#include <array>

namespace VornaLumeto {

// The value series of a set's roles and the scalings that make them primary
// volts and amperes (so that impedances come out in primary ohms). The series
// are the recording's own: they must outlive this.
struct SetSignals {
    std::array<const QVector<double>*, phaseRoleCount> values{};  // null where the set has no channel
    std::array<ChannelScaling, phaseRoleCount> scalings{};

    const QVector<double>* series(PhaseRole role) const { return values[int(role)]; }
    ChannelScaling scaling(PhaseRole role) const { return scalings[int(role)]; }
    bool has(PhaseRole role) const { return series(role) != nullptr; }
    bool hasVoltages() const { return has(PhaseRole::UA) && has(PhaseRole::UB) && has(PhaseRole::UC); }
    bool hasCurrents() const { return has(PhaseRole::IA) && has(PhaseRole::IB) && has(PhaseRole::IC); }
};

// The set's channels among the recording's raw value series (Recording::analogValues);
// a channel index outside them counts as no channel.
SetSignals setSignals(const QVector<QVector<double>>& analogValues, const ThreePhaseSet& set,
                      const std::array<ChannelScaling, phaseRoleCount>& scalings);

} // namespace VornaLumeto
