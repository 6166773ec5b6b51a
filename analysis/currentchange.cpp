#include "analysis/currentchange.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace VornaLumeto {
namespace {

constexpr double thresholdShareOfPeak = 0.2;
constexpr double thresholdTimesNoise = 10.0;  // of the median change: far above its largest
constexpr double quietTimesNoise = 5.0;     // noise passes it a few times in ten thousand
// Walking back, the currents have stopped changing below this share of the
// threshold (an offset dying down changes them far more than noise).
constexpr double quietShareOfThreshold = 0.1;
// Periods of a state's start whose changes tell its noise.
constexpr int noisePeriods = 5;
constexpr double thresholdSteps = 8.0;        // raw units: a clean recording's changes are rounding alone
constexpr double quietSteps = 2.0;

double largestChange(const QVector<const QVector<double>*>& series, int k, int n)
{
    double largest = 0.0;
    for (const QVector<double>* values : series) {
        const double change = std::fabs(values->at(k) - values->at(k - n));
        if (!std::isfinite(change))
            return std::nan("");  // a missing value: no change can be told here
        largest = std::max(largest, change);
    }
    return largest;
}

double median(QVector<double> values)
{
    if (values.isEmpty())
        return 0.0;
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// The typical change of a state against one period earlier: the smallest
// median over its first periods, so that an offset it begins with, dying
// down, does not pass for noise.
double steadyChange(const RecordingSampling& sampling, const QVector<double>& phase, int start, int n)
{
    double smallest = std::numeric_limits<double>::infinity();
    for (int period = 0; period < noisePeriods; ++period) {
        const int first = start + period * n;
        if (first + n > phase.size() || periodBefore(sampling, first) != n || periodBefore(sampling, first + n - 1) != n)
            break;
        QVector<double> changes;
        for (int k = first; k < first + n; ++k) {
            const double change = std::fabs(phase[k] - phase[k - n]);
            if (std::isfinite(change))
                changes.append(change);
        }
        if (!changes.isEmpty())
            smallest = std::min(smallest, median(changes));
    }
    return std::isfinite(smallest) ? smallest : 0.0;
}

// How many samples of [k, k + n/2) change by more than the threshold.
int samplesAbove(const RecordingSampling& sampling, const QVector<const QVector<double>*>& series, int k,
                 double threshold)
{
    const int end = std::min(k + periodBefore(sampling, k) / 2, int(series.first()->size()));
    int above = 0;
    for (int j = k; j < end; ++j) {
        const int n = periodBefore(sampling, j);
        if (n > 0 && largestChange(series, j, n) > threshold)
            ++above;
    }
    return above;
}

// Back from the first sample above the threshold to where the change left the quiet level.
int onsetOf(const RecordingSampling& sampling, const QVector<const QVector<double>*>& series, int detected, int from,
            double quiet, const ChangeWitness& witness)
{
    const int n = periodBefore(sampling, detected);
    const auto change = [&](const QVector<const QVector<double>*>& values, int k) {
        return largestChange(values, k, periodBefore(sampling, k));
    };
    // The currents' change fades going back to where it began; an offset dying down grows going back.
    const auto changed = [&](int k) {
        const double before = change(series, k);
        return (before > quiet && before <= change(series, k + 1))
               || (!witness.series.isEmpty() && change(witness.series, k) > witness.quiet);
    };
    int onset = detected;
    while (onset - 1 >= std::max(from, detected - n) && periodBefore(sampling, onset - 1) > 0 && changed(onset - 1))
        --onset;
    if (!witness.series.isEmpty())
        return onset;
    // Growing from nothing: the line through the first two changes meets zero a sample earlier.
    if (onset - 1 >= from && periodBefore(sampling, onset - 1) > 0 && onset + 1 < series.first()->size()) {
        const double first = change(series, onset);
        const double growth = change(series, onset + 1) - first;
        if (growth > 0.0 && first >= 0.5 * growth && first <= 1.5 * growth)
            --onset;
    }
    return onset;
}

} // namespace

SetWaveforms setWaveforms(const SetSignals& set)
{
    SetWaveforms waveforms;
    if (!set.hasCurrents())
        return waveforms;
    const auto scaled = [&](PhaseRole role, double& resolution) {
        const QVector<double>& raw = *set.series(role);
        const ChannelScaling scaling = set.scaling(role);
        QVector<double> values(raw.size());
        for (int k = 0; k < raw.size(); ++k)
            values[k] = scaling.multiplier * raw[k] + scaling.offsetAdder;
        resolution = std::max(resolution, std::fabs(scaling.multiplier));
        return values;
    };
    for (int p = 0; p < 3; ++p)
        waveforms.currents[p] = scaled(PhaseRole(int(PhaseRole::IA) + p), waveforms.currentResolution);
    if (set.hasVoltages()) {
        for (int p = 0; p < 3; ++p)
            waveforms.voltages[p] = scaled(PhaseRole(int(PhaseRole::UA) + p), waveforms.voltageResolution);
    }
    waveforms.residualMeasured = set.has(PhaseRole::IN);
    if (waveforms.residualMeasured) {
        waveforms.residual = scaled(PhaseRole::IN, waveforms.currentResolution);
    } else {
        waveforms.residual = waveforms.currents[0];
        for (int k = 0; k < waveforms.residual.size(); ++k)
            waveforms.residual[k] += waveforms.currents[1].value(k) + waveforms.currents[2].value(k);
    }
    // Every series as long as the shortest, so that a sample is in all or none.
    int count = waveforms.residual.size();
    for (const QVector<double>& phase : waveforms.currents)
        count = std::min(count, int(phase.size()));
    for (const QVector<double>& phase : waveforms.voltages)
        count = waveforms.hasVoltages() ? std::min(count, int(phase.size())) : count;
    for (std::array<QVector<double>, 3>* phases : {&waveforms.currents, &waveforms.voltages}) {
        for (QVector<double>& phase : *phases) {
            if (!phase.isEmpty())
                phase.resize(count);
        }
    }
    waveforms.residual.resize(count);
    return waveforms;
}

int periodBefore(const RecordingSampling& sampling, int sample)
{
    if (sampling.stretches.isEmpty() || sample < 0)
        return 0;
    const SamplingStretch& stretch = sampling.stretches.at(stretchHolding(sampling.stretches, sample));
    const int n = analysisPeriods(stretch.rate, sampling.lineFrequency).nearest;
    return n >= minimumSamplesPerPeriod && sample - n >= stretch.first ? n : 0;
}

ChangeLevels changeLevels(const RecordingSampling& sampling, const std::array<QVector<double>, 3>& phases,
                          double resolution, int start)
{
    const int n = periodBefore(sampling, start);
    const std::optional<SampleWindow> first = periodEndingAt(sampling, start - 1, phases[0].size());
    double peak = 0.0;
    double noise = 0.0;
    for (const QVector<double>& phase : phases) {
        // The fundamental's peak: an offset the state begins with is no part of it.
        if (const std::optional<Complex> phasor = first ? offsetFreePhasor(phase, {}, *first) : std::nullopt)
            peak = std::max(peak, std::sqrt(2.0) * std::abs(*phasor));
        noise = std::max(noise, steadyChange(sampling, phase, start, n));
    }
    return {std::max({thresholdShareOfPeak * peak, thresholdTimesNoise * noise, thresholdSteps * resolution}),
            std::max(quietTimesNoise * noise, quietSteps * resolution)};
}

std::optional<int> findLastingChange(const RecordingSampling& sampling, const QVector<const QVector<double>*>& series,
                                     int from, const ChangeLevels& levels, const ChangeWitness& witness)
{
    if (series.isEmpty())
        return std::nullopt;
    const int count = series.first()->size();
    for (int k = std::max(from, 0); k < count; ++k) {
        const int n = periodBefore(sampling, k);
        if (n == 0 || !(largestChange(series, k, n) > levels.threshold))
            continue;
        if (samplesAbove(sampling, series, k, levels.threshold) >= std::max(2, n / 8))
            return onsetOf(sampling, series, k, from, std::max(levels.quiet, quietShareOfThreshold * levels.threshold),
                           witness);
    }
    return std::nullopt;
}

std::optional<int> findQuietPeriod(const RecordingSampling& sampling, const SetWaveforms& waveforms, int from,
                                   const std::array<bool, 3>& phases, std::optional<SampleWindow> reference,
                                   double tolerance)
{
    int zeroRun = 0;
    int loadRun = 0;
    for (int k = std::max(from, 0); k < waveforms.size(); ++k) {
        bool nearZero = true;
        bool asBefore = bool(reference);
        for (int p = 0; p < 3; ++p) {
            const double value = waveforms.currents[p][k];
            if (phases[p] && !(std::fabs(value) <= tolerance))
                nearZero = false;
            if (reference) {
                const int repeated = reference->first + (k - reference->first) % reference->count;
                if (!(std::fabs(value - waveforms.currents[p][repeated]) <= tolerance))
                    asBefore = false;
            }
        }
        zeroRun = nearZero ? zeroRun + 1 : 0;
        loadRun = asBefore ? loadRun + 1 : 0;
        const int n = periodBefore(sampling, k);
        const int run = std::max(zeroRun, loadRun);
        if (n > 0 && run >= n)
            return k - run + 1;
    }
    return std::nullopt;
}

} // namespace VornaLumeto
