#include "analysis/signalanalysis.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace VornaLumeto {

namespace {

// The shortened constants are part of the readouts' expected values, keep them.
constexpr double twoPiShort = 6.283185307;
constexpr double piShort = 3.1415926535;
constexpr double degreesPerRadian = 57.29577951308232;
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

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

AnalysisPeriods analysisPeriods(double rate, double lineFrequency)
{
    AnalysisPeriods periods;
    if (!(rate > 0.0) || !(lineFrequency > 0.0))
        return periods;
    // A quotient of two whole numbers is exact where it is whole and never rounds
    // up onto the next whole number, so truncating it is integer division.
    const double quotient = rate / lineFrequency;
    if (!(quotient + 0.5 < double(std::numeric_limits<int>::max())))
        return periods;
    periods.whole = static_cast<int>(quotient);
    periods.nearest = static_cast<int>(quotient + 0.5);
    return periods;
}

CutWindows cutWindows(const AnalysisPeriods& periods, int cut)
{
    if (!periods.usable())
        return CutWindows();
    return {{cut - periods.whole + 1, periods.whole}, {cut - periods.nearest + 1, periods.nearest}, periods};
}

int stretchHolding(const QVector<SamplingStretch>& stretches, int sample)
{
    const auto after = std::upper_bound(stretches.begin(), stretches.end(), sample,
                                        [](int at, const SamplingStretch& stretch) { return at < stretch.first; });
    return std::max(int(after - stretches.begin()) - 1, 0);
}

CutWindows cutWindows(const QVector<SamplingStretch>& stretches, double lineFrequency, int cut, int fewestSamples)
{
    if (stretches.isEmpty())
        return CutWindows();
    const SamplingStretch& stretch = stretches.at(stretchHolding(stretches, cut));
    CutWindows windows = cutWindows(analysisPeriods(stretch.rate, lineFrequency), cut);
    // Before the first sample a window is simply not recorded; after it, a
    // window that starts before its stretch takes in samples of another rate.
    for (SampleWindow* window : {&windows.whole, &windows.nearest}) {
        window->acrossRateChange = window->recorded() && window->first < stretch.first;
        window->tooFewSamples = window->recorded() && window->count < fewestSamples;
    }
    return windows;
}

double computeWindowRms(const QVector<double>& raw, ChannelScaling scaling, SampleWindow window)
{
    if (!windowInside(raw, window))
        return 0.0;
    if (!window.givesNumbers())
        return notANumber;
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
    if (!window.givesNumbers())
        return notANumber;
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
    if (!window.givesNumbers())
        return {notANumber, notANumber, notANumber, notANumber, notANumber};
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
    if (!window.givesNumbers()) {
        result.magnitudes.fill(notANumber);
        return result;
    }
    for (int harmonic = 0; harmonic <= highestHarmonic; ++harmonic) {
        const double magnitude = harmonicMagnitude(raw, scaling, window, harmonic);
        result.magnitudes[harmonic] = magnitude;
        if (magnitude > result.maximum)  // false for NaN, so NaN never becomes the maximum
            result.maximum = magnitude;
    }
    return result;
}

} // namespace VornaLumeto
