#include "comtrade/common/timeaxis.h"

#include <algorithm>

namespace VornaLumeto {

bool ratesGiveTimeAxis(const QVector<RateSegment>& rates)
{
    return !rates.isEmpty()
           && std::all_of(rates.begin(), rates.end(), [](const RateSegment& segment) { return segment.rate > 0.0; });
}

QVector<double> timeAxisFromRates(const QVector<RateSegment>& rates, int sampleCount, double start)
{
    QVector<double> axis(sampleCount);
    double segmentStart = start;
    int k = 0;
    for (int s = 0; s < rates.size() && k < sampleCount; ++s) {
        const RateSegment& segment = rates.at(s);
        const bool last = s + 1 == rates.size();
        const qint64 end = last ? sampleCount : qMin<qint64>(segment.endSample, sampleCount);
        for (; k < end; ++k)
            axis[k] = segmentStart + double(k - segment.firstSample) * 1000.0 / segment.rate;
        segmentStart += double(segment.endSample - segment.firstSample) * 1000.0 / segment.rate;
    }
    return axis;
}

} // namespace VornaLumeto
