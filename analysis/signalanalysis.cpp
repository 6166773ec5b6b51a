#include "analysis/signalanalysis.h"

#include <cmath>

namespace VornaLumeto {

namespace {

// The shortened constants are part of the readouts' expected values, keep them.
constexpr double twoPiShort = 6.283185307;
constexpr double piShort = 3.1415926535;
constexpr double degreesPerRadian = 57.29577951308232;

// A window the callers may pass at the ends of a recording: never read outside the vector.
bool windowInside(const QVector<double>& raw, SampleWindow window)
{
    return window.recorded() && window.first <= raw.size() - window.count;
}

// RMS of a sinusoid of this peak, sampled at `count` points of one period.
double numericSinusoidRms(double peak, int count)
{
    double sum = 0.0;
    for (int j = 0; j <= 2 * count - 2; j += 2) {
        const double sample = peak * std::sin(j * piShort / count);
        sum += sample * sample;
    }
    return std::sqrt(sum / count);
}

struct FourierSums {
    double cosSum = 0.0;
    double sinSum = 0.0;
};

// indexBase is 0 to count angles from the window's first sample, its first for absolute indices.
FourierSums fourierSums(const QVector<double>& raw, ChannelScaling scaling, SampleWindow window,
                        int harmonic, int indexBase)
{
    FourierSums sums;
    const double step = harmonic * twoPiShort;
    const int count = window.count;
    for (int i = 0; i < count; ++i) {
        const double value = scaling.multiplier * raw[window.first + i] + scaling.offsetAdder;
        const double theta = (indexBase + i) * step / count;
        sums.cosSum += value * std::cos(theta);
        sums.sinSum += value * std::sin(theta);
    }
    return sums;
}

double harmonicMagnitude(const QVector<double>& raw, ChannelScaling scaling, SampleWindow window,
                         int harmonic)
{
    const FourierSums sums = fourierSums(raw, scaling, window, harmonic, window.first);
    const int count = window.count;
    const double sinPart = 2.0 * sums.sinSum / count;
    if (harmonic == 0)
        return std::hypot(sums.cosSum / count, sinPart);
    const double peak = std::hypot(2.0 * sums.cosSum / count, sinPart);
    return numericSinusoidRms(peak, count);
}

} // namespace

AnalysisPeriods analysisPeriods(int rate, int lineFrequency)
{
    AnalysisPeriods periods;
    if (rate <= 0 || lineFrequency <= 0)
        return periods;
    periods.whole = rate / lineFrequency;
    periods.nearest = static_cast<int>(rate / static_cast<double>(lineFrequency) + 0.5);
    return periods;
}

CutWindows cutWindows(const AnalysisPeriods& periods, int cut)
{
    if (!periods.usable())
        return CutWindows();
    return {{cut - periods.whole + 1, periods.whole}, {cut - periods.nearest + 1, periods.nearest}};
}

double computeWindowRms(const QVector<double>& raw, ChannelScaling scaling, SampleWindow window)
{
    if (!windowInside(raw, window))
        return 0.0;
    double sum = 0.0;
    for (int i = window.first; i < window.first + window.count; ++i) {
        const double value = scaling.multiplier * raw[i] + scaling.offsetAdder;
        sum += value * value;
    }
    return std::sqrt(sum / window.count);
}

double windowPeakAbs(const QVector<double>& raw, ChannelScaling scaling, SampleWindow window)
{
    if (!windowInside(raw, window))
        return 0.0;
    double peak = 0.0;
    for (int i = window.first; i < window.first + window.count; ++i)
        peak = std::fmax(peak, std::fabs(scaling.multiplier * raw[i] + scaling.offsetAdder));
    return peak;
}

Phasor computePhasor(const QVector<double>& raw, ChannelScaling scaling, SampleWindow window, int harmonic)
{
    Phasor phasor;
    if (!windowInside(raw, window))
        return phasor;
    const int count = window.count;
    const FourierSums sums = fourierSums(raw, scaling, window, harmonic, 0);
    phasor.cosCoefficient = 2.0 * sums.cosSum / count;
    phasor.sinCoefficient = 2.0 * sums.sinSum / count;
    phasor.amplitude = std::sqrt(phasor.cosCoefficient * phasor.cosCoefficient
                                 + phasor.sinCoefficient * phasor.sinCoefficient);
    phasor.rms = numericSinusoidRms(phasor.amplitude, count);
    phasor.angle = 90.0 - std::atan2(phasor.sinCoefficient, phasor.cosCoefficient) * degreesPerRadian;
    return phasor;
}

HarmonicMagnitudes computeHarmonicMagnitudes(const QVector<double>& raw, ChannelScaling scaling,
                                             SampleWindow window, int highestHarmonic)
{
    HarmonicMagnitudes result;
    if (highestHarmonic < 0)
        return result;
    result.magnitudes.fill(0.0, highestHarmonic + 1);
    if (!windowInside(raw, window))
        return result;
    for (int harmonic = 0; harmonic <= highestHarmonic; ++harmonic) {
        const double magnitude = harmonicMagnitude(raw, scaling, window, harmonic);
        result.magnitudes[harmonic] = magnitude;
        if (magnitude > result.maximum)  // false for NaN, so NaN never becomes the maximum
            result.maximum = magnitude;
    }
    return result;
}

} // namespace VornaLumeto
