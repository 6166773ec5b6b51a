#include "comtrade/frequencytracking.h"

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

QVector<double> smoothed(const QVector<double>& values)
{
    QVector<double> result;
    result.reserve(values.size());
    result.append(values.first());
    for (int i = 1; i < values.size(); ++i)
        result.append((7.0 * result.at(i - 1) + values.at(i)) * 0.125);
    return result;
}

bool looksLikeSinePeriod(const QVector<double>& y, int first, int last)
{
    double sum = 0.0;
    double peak = 0.0;
    for (int k = first; k <= last; ++k) {
        const double magnitude = std::fabs(y.at(k));
        sum += magnitude;
        peak = qMax(peak, magnitude);
    }
    const double ratio = sum / (last - first + 1) / peak * 100.0;
    return !(ratio > highestMeanToPeak || ratio < lowestMeanToPeak);
}

double measuredFrequency(const QVector<double>& y, const QVector<double>& timeAxis, int first, int last)
{
    if (!looksLikeSinePeriod(y, first, last))
        return fallbackFrequency;
    const double frequency = 1000.0 / (timeAxis.at(last) - timeAxis.at(first));
    return frequency >= lowestFrequency && frequency <= highestFrequency ? frequency : fallbackFrequency;
}

// Writes the estimate up to (excluding) end; the track only grows, so it never
// goes back over what is already written.
void fillTrack(FrequencyTrack& track, double frequency, int end)
{
    while (track.frequency.size() < end) {
        track.frequency.append(frequency);
        track.deviation.append(frequency - nominalFrequency);
    }
}

void smoothTrack(FrequencyTrack& track)
{
    double* frequency = track.frequency.data();
    double* deviation = track.deviation.data();
    for (int j = 1; j < track.frequency.size(); ++j) {
        double value = (31.0 * frequency[j - 1] + frequency[j]) * 0.03125;
        if (value < lowestFrequency || value > highestFrequency)
            value = fallbackFrequency;
        frequency[j] = value;
        deviation[j] = value - nominalFrequency;
    }
}

} // namespace

FrequencyTrack trackChannelFrequency(const QVector<double>& values, const QVector<double>& timeAxis)
{
    FrequencyTrack track;
    const int n = values.size();
    if (n == 0)
        return track;
    track.frequency.reserve(n);
    track.deviation.reserve(n);

    const QVector<double> y = smoothed(values);
    double estimate = initialFrequency;
    int lastRising = -1;
    int lastFalling = -1;
    for (int i = 1; i < n; ++i) {
        const double previous = y.at(i - 1);
        const double current = y.at(i);
        const bool rising = previous <= 0.0 && current > previous && current >= 0.0;
        const bool falling = !rising && previous >= 0.0 && current < previous && current <= 0.0;
        if (!rising && !falling)
            continue;
        int& sameDirection = rising ? lastRising : lastFalling;
        const int oppositeDirection = rising ? lastFalling : lastRising;
        if (sameDirection != -1) {
            estimate = measuredFrequency(y, timeAxis, sameDirection, i - 1);
            fillTrack(track, estimate, oppositeDirection);
        }
        sameDirection = i - 1;
    }
    fillTrack(track, estimate, n);
    smoothTrack(track);
    return track;
}

} // namespace VornaLumeto
