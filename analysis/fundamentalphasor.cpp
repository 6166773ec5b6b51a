#include "analysis/fundamentalphasor.h"

#include <cmath>

namespace VornaLumeto {
namespace {

const double twoPi = 2.0 * std::acos(-1.0);
// A sinusoid has two unknowns: a third sample is the least that tells anything of noise.
constexpr int fewestFittedSamples = 3;

bool givesPhasor(const QVector<double>& raw, SampleWindow window)
{
    return window.recorded() && !window.acrossRateChange && window.count >= minimumSamplesPerPeriod
           && window.first <= raw.size() - window.count;
}

// sqrt 2 / N times the DFT of value(first + n), none for a missing value.
template <typename Value>
std::optional<Complex> periodTransform(int count, Value value)
{
    Complex sum = 0.0;
    for (int n = 0; n < count; ++n) {
        const double x = value(n);
        if (!std::isfinite(x))
            return std::nullopt;
        sum += x * std::polar(1.0, -twoPi * n / count);
    }
    return sum * (std::sqrt(2.0) / count);
}

// Least squares over the first `terms` of cos, sin (of `period` samples), 1,
// t, t^2 (t centred on the samples, in their count): the sinusoid's phasor,
// counted from the first sample. None for a missing value.
std::optional<Complex> fittedPhasor(const double* x, int count, int period, int terms, ChannelScaling scaling)
{
    constexpr int mostTerms = 5;
    double normal[mostTerms][mostTerms + 1] = {};
    for (int n = 0; n < count; ++n) {
        if (!std::isfinite(x[n]))
            return std::nullopt;
        const double t = (n - 0.5 * (count - 1)) / count;
        const double angle = twoPi * n / period;
        const double basis[mostTerms] = {std::cos(angle), std::sin(angle), 1.0, t, t * t};
        for (int i = 0; i < terms; ++i) {
            for (int j = 0; j < terms; ++j)
                normal[i][j] += basis[i] * basis[j];
            normal[i][terms] += basis[i] * x[n];
        }
    }
    // Gaussian elimination with partial pivoting.
    for (int i = 0; i < terms; ++i) {
        int pivot = i;
        for (int r = i + 1; r < terms; ++r) {
            if (std::fabs(normal[r][i]) > std::fabs(normal[pivot][i]))
                pivot = r;
        }
        std::swap(normal[i], normal[pivot]);
        for (int r = 0; r < terms; ++r) {
            if (r == i)
                continue;
            const double factor = normal[r][i] / normal[i][i];
            for (int c = i; c <= terms; ++c)
                normal[r][c] -= factor * normal[i][c];
        }
    }
    const double cosine = normal[0][terms] / normal[0][0];
    const double sine = normal[1][terms] / normal[1][1];
    if (!std::isfinite(cosine) || !std::isfinite(sine))
        return std::nullopt;
    // a cos + b sin is the real part of (a - jb) e^(j angle): a peak phasor.
    return Complex(cosine, -sine) * (scaling.multiplier / std::sqrt(2.0));
}

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
    if (!givesPhasor(raw, window))
        return std::nullopt;
    const double* x = raw.constData() + window.first;
    const std::optional<Complex> phasor = periodTransform(window.count, [x](int n) { return x[n]; });
    if (!phasor)
        return std::nullopt;
    return *phasor * scaling.multiplier;  // the offset adds nothing over a whole period
}

std::optional<Complex> offsetFreePhasor(const QVector<double>& raw, ChannelScaling scaling, SampleWindow window)
{
    if (!givesPhasor(raw, window))
        return std::nullopt;
    // The normal matrix of these terms is well conditioned for 8 samples or more.
    return fittedPhasor(raw.constData() + window.first, window.count, window.count, 5, scaling);
}

std::optional<Complex> sinusoidPhasor(const QVector<double>& raw, ChannelScaling scaling, SampleWindow window,
                                      int period)
{
    if (!window.recorded() || window.acrossRateChange || window.count < fewestFittedSamples
        || window.first > raw.size() - window.count || period < minimumSamplesPerPeriod)
        return std::nullopt;
    return fittedPhasor(raw.constData() + window.first, window.count, period, 2, scaling);
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
