#include "analysis/recordingfaultreport.h"

#include "analysis/primarysignals.h"
#include "analysis/setupstore.h"
#include "comtrade/common/parallel.h"
#include "comtrade/common/recordingsampling.h"

namespace VornaLumeto {

QVector<FeederFaultReport> recordingFaultReports(const Recording& recording, const LineData& line)
{
    const QVector<ThreePhaseSetup> setups = foundSetups(recording);
    const RecordingSampling sampling = recordingSampling(recording);
    QVector<FeederFaultReport> reports(setups.size());
    FeederFaultReport* const results = reports.data();
    forEachInParallel(setups.size(), [&](int s) {
        const ThreePhaseSetup& setup = setups.at(s);
        const SetSignals signalsOfSet = primarySetSignals(recording, setup.set, setScaling(recording, setup));
        results[s] = FeederFaultReport{
            setup.set, faultReport(sampling, recording.timeAxis, signalsOfSet, line, setup.rotation), setup.rotation};
    });
    return reports;
}

} // namespace VornaLumeto
