#include "analysis/instrumentscaling.h"

#include <cmath>

namespace VornaLumeto {

namespace {

bool isPositive(double value)
{
    return std::isfinite(value) && value > 0.0;
}

bool isCurrent(PhaseRole role)
{
    return role >= PhaseRole::IA;
}

RoleScaling scaledBy(const AnalogChannel& channel, double ratio, ValueSide recorded)
{
    const double factor = recorded == ValueSide::Secondary ? ratio : 1.0;
    RoleScaling scaling;
    scaling.primary = ChannelScaling{channel.multiplier * factor, channel.offsetAdder * factor};
    scaling.ratio = ratio;
    scaling.ratioKnown = true;
    return scaling;
}

RoleScaling roleScaling(const Recording& recording, const ThreePhaseSetup& setup, PhaseRole role)
{
    const int channel = setup.set.channel(role);
    if (channel < 0 || channel >= recording.analogChannels.size())
        return RoleScaling{};
    const AnalogChannel& analog = recording.analogChannels.at(channel);
    const StatedRatio stated = statedRatio(recording, channel);
    if (stated.stated) {
        RoleScaling scaling = scaledBy(analog, stated.ratio(), stated.recorded);
        scaling.fromRecording = true;
        return scaling;
    }
    const double entered = isCurrent(role) ? setup.ratios.ctRatio() : setup.ratios.vtRatio();
    if (isPositive(entered))
        return scaledBy(analog, entered, setup.ratios.recorded);
    RoleScaling asRecorded;
    asRecorded.primary = ChannelScaling{analog.multiplier, analog.offsetAdder};
    return asRecorded;
}

double firstPhaseRatio(const SetScaling& scaling, PhaseRole firstPhase)
{
    for (int r = int(firstPhase); r < int(firstPhase) + 3; ++r) {
        if (scaling.roles[r].ratioKnown)
            return scaling.roles[r].ratio;
    }
    return 1.0;
}

} // namespace

StatedRatio statedRatio(const Recording& recording, int channel)
{
    const QVector<AnalogScaling>& factors = recording.standard.analogScaling;
    if (channel < 0 || channel >= factors.size())
        return StatedRatio{};
    const AnalogScaling& factor = factors.at(channel);
    const QString side = factor.primaryOrSecondary.trimmed().toUpper();
    if ((side != QLatin1String("P") && side != QLatin1String("S")) || !isPositive(factor.primary)
        || !isPositive(factor.secondary) || factor.primary == factor.secondary)
        return StatedRatio{};
    return StatedRatio{true, factor.primary, factor.secondary,
                       side == QLatin1String("S") ? ValueSide::Secondary : ValueSide::Primary};
}

double SetScaling::ctRatio() const
{
    return firstPhaseRatio(*this, PhaseRole::IA);
}

double SetScaling::vtRatio() const
{
    return firstPhaseRatio(*this, PhaseRole::UA);
}

SetScaling setScaling(const Recording& recording, const ThreePhaseSetup& setup)
{
    SetScaling scaling;
    for (int r = 0; r < phaseRoleCount; ++r)
        scaling.roles[r] = roleScaling(recording, setup, PhaseRole(r));
    return scaling;
}

double secondaryValue(double primary, double ratio)
{
    return primary / ratio;
}

Complex secondaryImpedance(Complex primary, double ctRatio, double vtRatio)
{
    return primary * ctRatio / vtRatio;
}

} // namespace VornaLumeto
