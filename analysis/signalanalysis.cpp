#include "analysis/signalanalysis.h"

#include <cmath>

namespace VornaLumeto {

namespace {

// The shortened constants are part of the readouts' expected values, keep them.
constexpr double twoPiShort = 6.283185307;
constexpr double piShort = 3.1415926535;
constexpr double degreesPerRadian = 57.29577951308232;

// A window the callers may pass at the ends of a recording: never read outside the vector.
bool windowInside(const QVector<double>& raw, int first, int count)
{
    return count > 0 && first >= 0 && first <= raw.size() - count;
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

// indexBase is 0 to count angles from the window's first sample, `first` for absolute indices.
FourierSums fourierSums(const QVector<double>& raw, double multiplier, double offsetAdder,
                        int first, int count, int harmonic, int indexBase)
{
    FourierSums sums;
    const double step = harmonic * twoPiShort;
    for (int i = 0; i < count; ++i) {
        const double value = multiplier * raw[first + i] + offsetAdder;
        const double theta = (indexBase + i) * step / count;
        sums.cosSum += value * std::cos(theta);
        sums.sinSum += value * std::sin(theta);
    }
    return sums;
}

double harmonicMagnitude(const QVector<double>& raw, double multiplier, double offsetAdder,
                         int first, int count, int harmonic)
{
    const FourierSums sums = fourierSums(raw, multiplier, offsetAdder, first, count, harmonic, first);
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

double computeWindowRms(const QVector<double>& raw, double multiplier, double offsetAdder,
                        int first, int count)
{
    if (!windowInside(raw, first, count))
        return 0.0;
    double sum = 0.0;
    for (int i = first; i < first + count; ++i) {
        const double value = multiplier * raw[i] + offsetAdder;
        sum += value * value;
    }
    return std::sqrt(sum / count);
}

double windowPeakAbs(const QVector<double>& raw, double multiplier, double offsetAdder, int first,
                     int count)
{
    if (!windowInside(raw, first, count))
        return 0.0;
    double peak = 0.0;
    for (int i = first; i < first + count; ++i)
        peak = std::fmax(peak, std::fabs(multiplier * raw[i] + offsetAdder));
    return peak;
}

Phasor computePhasor(const QVector<double>& raw, int harmonic, int first, int count,
                     double multiplier, double offsetAdder)
{
    Phasor phasor;
    if (!windowInside(raw, first, count))
        return phasor;
    const FourierSums sums = fourierSums(raw, multiplier, offsetAdder, first, count, harmonic, 0);
    phasor.cosCoefficient = 2.0 * sums.cosSum / count;
    phasor.sinCoefficient = 2.0 * sums.sinSum / count;
    phasor.amplitude = std::sqrt(phasor.cosCoefficient * phasor.cosCoefficient
                                 + phasor.sinCoefficient * phasor.sinCoefficient);
    phasor.rms = numericSinusoidRms(phasor.amplitude, count);
    phasor.angle = 90.0 - std::atan2(phasor.sinCoefficient, phasor.cosCoefficient) * degreesPerRadian;
    return phasor;
}

HarmonicMagnitudes computeHarmonicMagnitudes(const QVector<double>& raw, double multiplier,
                                             double offsetAdder, int first, int count,
                                             int highestHarmonic)
{
    HarmonicMagnitudes result;
    if (highestHarmonic < 0)
        return result;
    result.magnitudes.fill(0.0, highestHarmonic + 1);
    if (!windowInside(raw, first, count))
        return result;
    for (int harmonic = 0; harmonic <= highestHarmonic; ++harmonic) {
        const double magnitude = harmonicMagnitude(raw, multiplier, offsetAdder, first, count, harmonic);
        result.magnitudes[harmonic] = magnitude;
        if (magnitude > result.maximum)  // false for NaN, so NaN never becomes the maximum
            result.maximum = magnitude;
    }
    return result;
}

} // namespace VornaLumeto
