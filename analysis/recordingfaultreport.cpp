#include "analysis/recordingfaultreport.h"

#include "analysis/baseunits.h"
#include "analysis/instrumentscaling.h"
#include "analysis/setupstore.h"
#include "comtrade/common/parallel.h"
#include "comtrade/common/recordingsampling.h"

namespace VornaLumeto {
namespace {

// Primary values in volts and amperes.
std::array<ChannelScaling, phaseRoleCount> primaryBaseScalings(const Recording& recording,
                                                               const ThreePhaseSetup& setup)
{
    const SetScaling scaling = setScaling(recording, setup);
    std::array<ChannelScaling, phaseRoleCount> scalings{};
    for (int role = 0; role < phaseRoleCount; ++role) {
        const int channel = setup.set.channels[role];
        const double factor =
            channel >= 0 && channel < recording.analogChannels.size()
                ? baseUnitFactor(recording.analogChannels.at(channel).unit)
                : 1.0;
        const ChannelScaling primary = scaling.roles[role].primary;
        scalings[role] = ChannelScaling{primary.multiplier * factor, primary.offsetAdder * factor};
    }
    return scalings;
}

} // namespace

QVector<FeederFaultReport> recordingFaultReports(const Recording& recording, const LineData& line)
{
    const QVector<ThreePhaseSetup> setups = foundSetups(recording);
    const RecordingSampling sampling = recordingSampling(recording);
    QVector<FeederFaultReport> reports(setups.size());
    FeederFaultReport* const results = reports.data();
    forEachInParallel(setups.size(), [&](int s) {
        const ThreePhaseSetup& setup = setups.at(s);
        const SetSignals signalsOfSet =
            setSignals(recording.analogValues, setup.set, primaryBaseScalings(recording, setup));
        results[s] = FeederFaultReport{setup.set,
                                       faultReport(sampling, recording.timeAxis, signalsOfSet, line, setup.rotation)};
    });
    return reports;
}

} // namespace VornaLumeto
