#include "comtrade/common/frequencytracking.h"

#include "comtrade/common/exactsize.h"

#include <QtGlobal>

#include <cmath>

namespace VornaLumeto {
namespace {

// Mean of |y| over a sine period is 2/pi (64 %) of its peak; far outside that
// the stretch between two crossings is not a sine period.
constexpr double lowestMeanToPeak = 15.0;
constexpr double highestMeanToPeak = 65.0;

// Sum and peak of |y| since the last crossing of one direction, gathered
// while walking the signal so that no smoothed copy is kept. The number of
// values follows from where the stretch starts and ends.
struct Stretch {
    double sum = 0.0;
    double peak = 0.0;

    void startAt(double y) { *this = Stretch(); add(y); }
    void add(double y)
    {
        const double magnitude = std::fabs(y);
        sum += magnitude;
        peak = qMax(peak, magnitude);
    }
    bool looksLikeSinePeriod(int count) const
    {
        const double ratio = sum / count / peak * 100.0;
        return !(ratio > highestMeanToPeak || ratio < lowestMeanToPeak);
    }
};

// The stretch runs from sample first to sample last, both included. Outside
// the band, too high as well as too low, the estimate falls back to its lowest.
double measuredFrequency(Stretch stretch, const QVector<double>& timeAxis, int first, int last,
                         const FrequencyBand& band)
{
    if (!stretch.looksLikeSinePeriod(last - first + 1))
        return band.lowest;
    const double frequency = 1000.0 / (timeAxis.at(last) - timeAxis.at(first));
    return frequency >= band.lowest && frequency <= band.highest ? frequency : band.lowest;
}

// The track is written in order and only grows: a fill never goes back over
// what is already written, so there is exactly one value per sample.
//
// Fills write the estimates as they are; the second smoothing follows one
// value per sample of the crossing search. Each of the two has a chain of
// dependent arithmetic from one sample to the next, and run side by side in
// one loop the processor works on both chains at once.
class TrackWriter {
public:
    TrackWriter(FrequencyTrack& output, int length, const FrequencyBand& band)
        : band(band)
    {
        resizeExactly(output.frequency, length);
        resizeExactly(output.deviation, length);
        frequencies = output.frequency.data();
        deviations = output.deviation.data();
    }
    void fillUpTo(int end, double estimate)
    {
        for (; filled < end; ++filled)
            frequencies[filled] = estimate;
    }
    void smoothNext()
    {
        if (smoothed < filled)
            smoothAt(smoothed++);
    }
    void smoothRest()
    {
        while (smoothed < filled)
            smoothAt(smoothed++);
    }

private:
    void smoothAt(int j)
    {
        if (j > 0)
            previous = smoothedAfter(previous, frequencies[j] * 0.03125);
        else
            previous = frequencies[0];
        frequencies[j] = previous;
        deviations[j] = previous - band.nominal;
    }
    // (31 * previous + estimate) * 0.03125, written so that the chain from one
    // value to the next is one multiplication and one addition. Scaling by a
    // power of two is exact, so the result is bit for bit the same.
    double smoothedAfter(double previous, double estimateShare) const
    {
        const double value = previous * 0.96875 + estimateShare;
        return value < band.lowest || value > band.highest ? band.lowest : value;
    }

    const FrequencyBand band;
    double* frequencies = nullptr;
    double* deviations = nullptr;
    double previous = 0.0;
    int filled = 0;
    int smoothed = 0;
};

} // namespace

FrequencyBand frequencyBand(int lineFrequency)
{
    if (lineFrequency <= 0)
        return FrequencyBand();
    // Scaled from the 50 Hz band in this order so that 50 Hz gives exactly 40, 50 and 60.
    const double line = lineFrequency;
    FrequencyBand band;
    band.nominal = line;
    band.lowest = 40.0 * line / 50.0;
    band.highest = 60.0 * line / 50.0;
    return band;
}

FrequencyTrack trackChannelFrequency(const QVector<double>& values, const QVector<double>& timeAxis,
                                     int lineFrequency)
{
    FrequencyTrack track;
    const int n = values.size();
    if (n == 0)
        return track;
    const FrequencyBand band = frequencyBand(lineFrequency);
    TrackWriter writer(track, n, band);

    double estimate = band.nominal;
    int lastRising = -1;
    int lastFalling = -1;
    Stretch sinceRising;
    Stretch sinceFalling;
    // Called with fixed arguments from two places so that, inlined, every
    // variable of the loop can stay in a register.
    const auto crossing = [&](int at, double y, int& lastOfSameDirection, int lastOfOpposite, Stretch& stretch) {
        if (lastOfSameDirection != -1) {
            estimate = measuredFrequency(stretch, timeAxis, lastOfSameDirection, at, band);
            writer.fillUpTo(lastOfOpposite, estimate);
        }
        lastOfSameDirection = at;
        stretch.startAt(y);
    };
    double previous = values.at(0);  // the smoothing starts at the first raw value
    const double* const x = values.constData();
    for (int i = 1; i < n; ++i) {
        const double current = previous * 0.875 + x[i] * 0.125;  // (7 * previous + x[i]) * 0.125, exactly
        sinceRising.add(previous);
        sinceFalling.add(previous);
        if (previous <= 0.0 && current > previous && current >= 0.0)
            crossing(i - 1, previous, lastRising, lastFalling, sinceRising);
        else if (previous >= 0.0 && current < previous && current <= 0.0)
            crossing(i - 1, previous, lastFalling, lastRising, sinceFalling);
        writer.smoothNext();
        previous = current;
    }
    writer.fillUpTo(n, estimate);
    writer.smoothRest();
    return track;
}

} // namespace VornaLumeto
