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
// Series whose change reaches this many times their quiet level took part in it.
constexpr double tookPartTimesQuiet = 10.0;
// A change that stops drops to the quiet level from at least this share of its largest.
constexpr double stoppedFromShare = 0.3;
// Currents stop changing at once where they step: the samples they drop over.
constexpr int currentDropSamples = 2;

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

// The typical misfit of a steady sinusoid beside a steady offset over the
// state's first period [start - N, start), scaled to the change against one
// period earlier that the same noise makes: each sample against what the
// three before it predict, x(k) - b x(k - 1) + b x(k - 2) - x(k - 3) with
// b = 1 + 2 cos(2 pi / N). The noise of the samples alone, not what the load
// does from period to period; it asks for no period before the state, so
// that a change early in the state, and an offset it leaves dying down, do
// not pass for it.
double sampleNoise(const QVector<double>& phase, int start, int n)
{
    const double b = 1.0 + 2.0 * std::cos(2.0 * std::acos(-1.0) / n);
    QVector<double> misfits;
    for (int k = std::max(start - n + 3, 3); k < std::min(start, int(phase.size())); ++k) {
        const double misfit = std::fabs(phase[k] - b * phase[k - 1] + b * phase[k - 2] - phase[k - 3]);
        if (std::isfinite(misfit))
            misfits.append(misfit);
    }
    if (misfits.isEmpty())
        return std::numeric_limits<double>::infinity();
    return median(misfits) * std::sqrt(2.0 / (2.0 + 2.0 * b * b));
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

// Where the currents' change has faded back to what they did before.
double currentQuiet(const ChangeLevels& levels)
{
    return std::max(levels.quiet, quietShareOfThreshold * levels.threshold);
}

// The first sample of (start, start + N] from which the series' change
// against one period earlier stays at the quiet level for a quarter period,
// having dropped there from a good share of its largest within the dropSpan
// samples before; none where they took no part in the change or it faded out
// instead (an offset dying down).
std::optional<int> settledFrom(const RecordingSampling& sampling, const QVector<const QVector<double>*>& series,
                               int start, double quiet, int dropSpan)
{
    const int n = periodBefore(sampling, start);
    const int count = series.first()->size();
    double largest = 0.0;
    for (int k = start; n > 0 && k < std::min(start + n, count); ++k)
        largest = std::max(largest, largestChange(series, k, n));
    if (n == 0 || !(largest >= tookPartTimesQuiet * quiet))
        return std::nullopt;
    const int run = std::max(2, n / 4);
    int quietRun = 0;
    for (int k = start + 1; k < count && k < start + n + run; ++k) {
        if (periodBefore(sampling, k) != n)
            return std::nullopt;
        quietRun = largestChange(series, k, n) <= quiet ? quietRun + 1 : 0;
        if (quietRun < run)
            continue;
        const int first = k - run + 1;
        double dropped = 0.0;
        for (int j = std::max(start, first - dropSpan); j < first; ++j)
            dropped = std::max(dropped, largestChange(series, j, n));
        return dropped >= stoppedFromShare * largest ? std::optional<int>(first) : std::nullopt;
    }
    return std::nullopt;
}

// Back from the first sample above the threshold to where the change left the quiet level.
int onsetOf(const RecordingSampling& sampling, const QVector<const QVector<double>*>& series, int detected, int from,
            double quiet, const ChangeWitness& witness)
{
    const int n = periodBefore(sampling, detected);
    const auto change = [&](const QVector<const QVector<double>*>& values, int k) {
        return largestChange(values, k, periodBefore(sampling, k));
    };
    const auto comparable = [&](int k) { return k >= std::max(from, detected - n) && periodBefore(sampling, k) > 0; };
    // The currents' change fades going back to where it began; an offset dying down grows going back.
    const auto changed = [&](int k) {
        const double before = change(series, k);
        return before > quiet && before <= change(series, k + 1);
    };
    const auto witnessed = [&](int k) { return !witness.series.isEmpty() && change(witness.series, k) > witness.quiet; };
    // The witness's change passes through zero for a few samples at most.
    const int bridged = std::max(1, n / 16);
    int onset = detected;
    for (int k = onset - 1; comparable(k) && k >= onset - 1 - bridged; --k) {
        if ((k == onset - 1 && changed(k)) || witnessed(k))
            onset = k;
    }
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

int periodOf(const RecordingSampling& sampling, int sample)
{
    if (sampling.stretches.isEmpty() || sample < 0)
        return 0;
    const SamplingStretch& stretch = sampling.stretches.at(stretchHolding(sampling.stretches, sample));
    const int n = analysisPeriods(stretch.rate, sampling.lineFrequency).nearest;
    return n >= minimumSamplesPerPeriod ? n : 0;
}

int periodBefore(const RecordingSampling& sampling, int sample)
{
    const int n = periodOf(sampling, sample);
    return n > 0 && sample - n >= sampling.stretches.at(stretchHolding(sampling.stretches, sample)).first ? n : 0;
}

ChangeLevels changeLevels(const RecordingSampling& sampling, const std::array<QVector<double>, 3>& phases,
                          double resolution, int start)
{
    const int n = periodBefore(sampling, start);
    const std::optional<SampleWindow> first = periodEndingAt(sampling, start - 1, phases[0].size());
    double peak = 0.0;
    double noise = 0.0;
    double ofSamples = 0.0;
    for (const QVector<double>& phase : phases) {
        // The fundamental's peak: an offset the state begins with is no part of it.
        if (const std::optional<Complex> phasor = first ? offsetFreePhasor(phase, {}, *first) : std::nullopt)
            peak = std::max(peak, std::sqrt(2.0) * std::abs(*phasor));
        const double typical = steadyChange(sampling, phase, start, n);
        noise = std::max(noise, typical);
        ofSamples = std::max(ofSamples, std::min(typical, sampleNoise(phase, start, n)));
    }
    const double steps = thresholdSteps * resolution;
    return {std::max({thresholdShareOfPeak * peak, thresholdTimesNoise * noise, steps}),
            std::max(quietTimesNoise * noise, quietSteps * resolution), std::max(thresholdTimesNoise * ofSamples, steps)};
}

std::optional<int> findLastingChange(const RecordingSampling& sampling, const QVector<const QVector<double>*>& series,
                                     int from, const ChangeLevels& levels, const ChangeWitness& witness)
{
    const std::optional<int> seen = lastingChangeSeen(sampling, series, from, levels.threshold);
    if (!seen)
        return std::nullopt;
    return changeOnset(sampling, series, *seen, from, levels, witness);
}

std::optional<int> lastingChangeSeen(const RecordingSampling& sampling, const QVector<const QVector<double>*>& series,
                                     int from, double threshold)
{
    if (series.isEmpty())
        return std::nullopt;
    const int count = series.first()->size();
    for (int k = std::max(from, 0); k < count; ++k) {
        const int n = periodBefore(sampling, k);
        if (n == 0 || !(largestChange(series, k, n) > threshold))
            continue;
        if (samplesAbove(sampling, series, k, threshold) >= std::max(2, n / 8))
            return k;
    }
    return std::nullopt;
}

int changeOnset(const RecordingSampling& sampling, const QVector<const QVector<double>*>& series, int seen, int from,
                const ChangeLevels& levels, const ChangeWitness& witness)
{
    return onsetOf(sampling, series, seen, from, currentQuiet(levels), witness);
}

bool changedBeyond(const RecordingSampling& sampling, const QVector<const QVector<double>*>& series, int sample,
                   double threshold)
{
    const int n = periodBefore(sampling, sample);
    return !series.isEmpty() && n > 0 && sample < series.first()->size()
           && largestChange(series, sample, n) > threshold;
}

bool changeUnderWay(const RecordingSampling& sampling, const QVector<const QVector<double>*>& series, int start,
                    const ChangeLevels& levels)
{
    return changedBeyond(sampling, series, start, currentQuiet(levels));
}

std::optional<int> changeStartSeenFromPeriodLater(const RecordingSampling& sampling,
                                                  const QVector<const QVector<double>*>& series, int start,
                                                  const ChangeLevels& levels, const ChangeWitness& witness)
{
    const int n = periodBefore(sampling, start);
    if (series.isEmpty() || n == 0)
        return std::nullopt;
    std::optional<int> settled = settledFrom(sampling, series, start, currentQuiet(levels), currentDropSamples);
    if (!witness.series.isEmpty()) {
        const std::optional<int> voltages = settledFrom(sampling, witness.series, start, witness.quiet, n / 4);
        if (voltages && (!settled || *voltages > *settled))
            settled = voltages;
    }
    if (!settled)
        return std::nullopt;
    return *settled - n;
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
