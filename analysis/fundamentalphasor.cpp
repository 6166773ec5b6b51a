#include "analysis/fundamentalphasor.h"

#include <cmath>

namespace VornaLumeto {
namespace {

const double twoPi = 2.0 * std::acos(-1.0);

} // namespace

std::optional<SampleWindow> periodEndingAt(const RecordingSampling& sampling, int endSample, int sampleCount)
{
    if (endSample < 0 || endSample >= sampleCount)
        return std::nullopt;
    const SampleWindow window = cutWindows(sampling.stretches, sampling.lineFrequency, endSample).nearest;
    if (!window.recorded() || window.acrossRateChange || window.count < minimumSamplesPerPeriod)
        return std::nullopt;
    return window;
}

std::optional<Complex> fundamentalPhasor(const QVector<double>& raw, ChannelScaling scaling, SampleWindow window)
{
    if (!window.recorded() || window.acrossRateChange || window.count < minimumSamplesPerPeriod
        || window.first > raw.size() - window.count)
        return std::nullopt;
    const int count = window.count;
    Complex sum = 0.0;
    for (int n = 0; n < count; ++n) {
        const double value = raw[window.first + n];
        if (!std::isfinite(value))
            return std::nullopt;
        sum += value * std::polar(1.0, -twoPi * n / count);
    }
    // The offset adds nothing over a whole period.
    return sum * (scaling.multiplier * std::sqrt(2.0) / count);
}

double sampleTime(const RecordingSampling& sampling, int sample)
{
    double seconds = 0.0;
    for (const SamplingStretch& stretch : sampling.stretches) {
        if (!(stretch.rate > 0.0))
            break;
        const bool holdsSample = sample < stretch.end || &stretch == &sampling.stretches.last();
        seconds += ((holdsSample ? sample : stretch.end) - stretch.first) / stretch.rate;
        if (holdsSample)
            break;
    }
    return seconds;
}

Complex referredToWindow(Complex phasor, const RecordingSampling& sampling, SampleWindow from, SampleWindow to)
{
    const double seconds = sampleTime(sampling, to.first) - sampleTime(sampling, from.first);
    return phasor * std::polar(1.0, twoPi * sampling.lineFrequency * seconds);
}

} // namespace VornaLumeto
