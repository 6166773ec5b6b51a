#include "analysis/phasortrack.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace VornaLumeto {
namespace {

const double twoPi = 2.0 * std::acos(-1.0);
const Complex notAPhasor(std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::quiet_NaN());
// Samples between two full sums: the running sum's rounding stays far below the data's.
constexpr int freshSumInterval = 4096;

double finiteOrZero(double value)
{
    return std::isfinite(value) ? value : 0.0;
}

// Windows of n samples ending at start ... to, all inside one stretch that
// begins at origin; out[0] is the phasor of the window that ends at start.
struct Slide {
    const double* values;
    int n;
    int origin;
    double gain;  // sqrt 2 / n times the multiplier
};

void slideThroughStretch(const Slide& slide, int start, int to, Complex* out)
{
    QVector<Complex> twiddles(slide.n);
    for (int j = 0; j < slide.n; ++j)
        twiddles[j] = std::polar(1.0, -twoPi * j / slide.n);
    const double* x = slide.values;
    Complex sum = 0.0;
    int lastMissing = std::numeric_limits<int>::min();
    int phase = (start - slide.origin) % slide.n;  // of the sample entering the window
    for (int k = start; k <= to; ++k) {
        if ((k - start) % freshSumInterval == 0) {
            sum = 0.0;
            for (int i = k - slide.n + 1, j = (i - slide.origin) % slide.n; i <= k; ++i, j = (j + 1) % slide.n) {
                if (!std::isfinite(x[i]))
                    lastMissing = i;
                sum += finiteOrZero(x[i]) * twiddles[j];
            }
        } else {
            if (!std::isfinite(x[k]))
                lastMissing = k;
            sum += (finiteOrZero(x[k]) - finiteOrZero(x[k - slide.n])) * twiddles[phase];
        }
        phase = phase + 1 == slide.n ? 0 : phase + 1;
        // Counted from the window's first sample, whose phase is that of k + 1.
        out[k - start] = lastMissing > k - slide.n ? notAPhasor : sum * std::conj(twiddles[phase]) * slide.gain;
    }
}

} // namespace

QVector<Complex> phasorTrack(const QVector<double>& raw, ChannelScaling scaling, const RecordingSampling& sampling,
                             int first, int last, int sampleCount)
{
    if (first < 0 || last < first || last >= sampleCount)
        return {};
    QVector<Complex> track(last - first + 1, notAPhasor);
    const int available = std::min(sampleCount, int(raw.size()));
    for (const SamplingStretch& stretch : sampling.stretches) {
        const int n = analysisPeriods(stretch.rate, sampling.lineFrequency).nearest;
        if (n < minimumSamplesPerPeriod)
            continue;
        // Earlier windows reach back into the stretch before, or before the first sample.
        const int start = std::max(first, stretch.first + n - 1);
        const int to = std::min({last, stretch.end - 1, available - 1});
        if (start > to)
            continue;
        const Slide slide{raw.constData(), n, stretch.first, std::sqrt(2.0) / n * scaling.multiplier};
        slideThroughStretch(slide, start, to, track.data() + (start - first));
    }
    return track;
}

} // namespace VornaLumeto
