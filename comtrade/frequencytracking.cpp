#include "comtrade/frequencytracking.h"

#include "comtrade/exactsize.h"

#include <QtGlobal>

#include <cmath>

namespace VornaLumeto {
namespace {

constexpr double initialFrequency = 50.0;
constexpr double fallbackFrequency = 40.0;
constexpr double lowestFrequency = 40.0;
constexpr double highestFrequency = 60.0;
constexpr double nominalFrequency = 50.0;
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

// The stretch runs from sample first to sample last, both included.
double measuredFrequency(Stretch stretch, const QVector<double>& timeAxis, int first, int last)
{
    if (!stretch.looksLikeSinePeriod(last - first + 1))
        return fallbackFrequency;
    const double frequency = 1000.0 / (timeAxis.at(last) - timeAxis.at(first));
    return frequency >= lowestFrequency && frequency <= highestFrequency ? frequency : fallbackFrequency;
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
    TrackWriter(FrequencyTrack& output, int length)
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
        deviations[j] = previous - nominalFrequency;
    }
    // (31 * previous + estimate) * 0.03125, written so that the chain from one
    // value to the next is one multiplication and one addition. Scaling by a
    // power of two is exact, so the result is bit for bit the same.
    static double smoothedAfter(double previous, double estimateShare)
    {
        const double value = previous * 0.96875 + estimateShare;
        return value < lowestFrequency || value > highestFrequency ? fallbackFrequency : value;
    }

    double* frequencies = nullptr;
    double* deviations = nullptr;
    double previous = 0.0;
    int filled = 0;
    int smoothed = 0;
};

} // namespace

FrequencyTrack trackChannelFrequency(const QVector<double>& values, const QVector<double>& timeAxis)
{
    FrequencyTrack track;
    const int n = values.size();
    if (n == 0)
        return track;
    TrackWriter writer(track, n);

    double estimate = initialFrequency;
    int lastRising = -1;
    int lastFalling = -1;
    Stretch sinceRising;
    Stretch sinceFalling;
    // Called with fixed arguments from two places so that, inlined, every
    // variable of the loop can stay in a register.
    const auto crossing = [&](int at, double y, int& lastOfSameDirection, int lastOfOpposite, Stretch& stretch) {
        if (lastOfSameDirection != -1) {
            estimate = measuredFrequency(stretch, timeAxis, lastOfSameDirection, at);
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
