#include "comtrade/common/recordingsampling.h"

#include "comtrade/common/timeaxis.h"

#include <QtGlobal>

namespace VornaLumeto {
namespace {

QVector<SamplingStretch> stretchesOfSegments(const QVector<RateSegment>& segments, int sampleCount)
{
    QVector<SamplingStretch> stretches;
    for (const RateSegment& segment : segments) {
        if (segment.firstSample >= sampleCount)
            break;
        stretches.append({segment.rate, int(segment.firstSample), int(qMin<qint64>(segment.endSample, sampleCount))});
    }
    if (!stretches.isEmpty())
        stretches.last().end = sampleCount;
    return stretches;
}

} // namespace

RecordingSampling recordingSampling(const Recording& recording)
{
    const int sampleCount = recording.timeAxis.size();
    const StandardDescription& standard = recording.standard;
    RecordingSampling sampling;
    if (standard.fromStandardReader) {
        sampling.lineFrequency = standard.lineFrequency;
        sampling.fewestPeriodSamples = minimumSamplesPerPeriod;
        if (ratesGiveTimeAxis(standard.rateSegments))
            sampling.stretches = stretchesOfSegments(standard.rateSegments, sampleCount);
    } else {
        sampling.lineFrequency = recording.lineFrequency;
    }
    if (sampling.stretches.isEmpty())
        sampling.stretches = {{double(recording.sampleRates.value(0).rate), 0, sampleCount}};
    return sampling;
}

} // namespace VornaLumeto
