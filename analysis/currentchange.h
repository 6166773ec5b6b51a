#pragma once

#include "analysis/fundamentalphasor.h"
#include "analysis/setsignals.h"

#include <QVector>

#include <array>
#include <optional>

namespace VornaLumeto {

// A set's waveforms in primary amperes and volts, sample by sample: phase
// currents A, B, C, 3I0 (the measured residual where the set has one, else
// the phases' sum) and the phase voltages.
struct SetWaveforms {
    std::array<QVector<double>, 3> currents;
    QVector<double> residual;
    bool residualMeasured = false;
    double currentResolution = 0.0;  // the largest step of one raw unit among them
    std::array<QVector<double>, 3> voltages;  // empty without three voltages
    double voltageResolution = 0.0;

    int size() const { return currents[0].size(); }
    bool hasVoltages() const { return !voltages[0].isEmpty(); }
};

// Empty currents where the set lacks a phase current.
SetWaveforms setWaveforms(const SetSignals& set);

// N of the stretch that holds the sample; 0 where its periods hold fewer
// than minimumSamplesPerPeriod samples.
int periodOf(const RecordingSampling& sampling, int sample);

// N of the stretch that holds the sample, where the sample one period
// earlier lies in the same stretch; 0 elsewhere.
int periodBefore(const RecordingSampling& sampling, int sample);

// What counts as a change of a steady state and what as no change: from the
// largest value over its first period [start - N, start) and the typical
// change against one period earlier over the next one.
struct ChangeLevels {
    double threshold = 0.0;  // a fifth of that peak, and well above the noise
    double quiet = 0.0;      // a few times the noise
    double aboveNoise = 0.0; // well above the noise of the samples alone: more is no noise
};
ChangeLevels changeLevels(const RecordingSampling& sampling, const std::array<QVector<double>, 3>& phases,
                          double resolution, int start);

// Series that show where a change began, and the level above which they changed.
struct ChangeWitness {
    QVector<const QVector<double>*> series;
    double quiet = 0.0;
};

// The first lasting change at or after `from` of any of the series against
// its value one period earlier (x(k) - x(k - N) above the threshold for an
// eighth of the next half period), carried back while it fades towards the
// quiet level (or a tenth of the threshold, where that is higher). A witness
// (the voltages, which step at a fault even where an offset keeps the
// currents continuous) carries it back further where it changed first, over
// the few samples where its change passes through zero; without one, a
// change that grows from nothing is carried back by the sample where its
// growth, drawn back, meets zero.
std::optional<int> findLastingChange(const RecordingSampling& sampling, const QVector<const QVector<double>*>& series,
                                     int from, const ChangeLevels& levels, const ChangeWitness& witness = {});

// The same in two steps: the sample where the lasting change is seen, and
// where it began, carried back from there.
std::optional<int> lastingChangeSeen(const RecordingSampling& sampling, const QVector<const QVector<double>*>& series,
                                     int from, double threshold);
int changeOnset(const RecordingSampling& sampling, const QVector<const QVector<double>*>& series, int seen, int from,
                const ChangeLevels& levels, const ChangeWitness& witness);

// Whether any of the series differs from its value one period earlier by
// more than the threshold at the sample.
bool changedBeyond(const RecordingSampling& sampling, const QVector<const QVector<double>*>& series, int sample,
                   double threshold);

// Whether the series already differ from one period earlier at `start`, the
// first sample of a state that has a period before it: the state's first
// period may hold the beginning of a change.
bool changeUnderWay(const RecordingSampling& sampling, const QVector<const QVector<double>*>& series, int start,
                    const ChangeLevels& levels);

// Where a change under way at `start` began, told from one period later: the
// first sample of the state's first period whose successors repeat a period
// on (x(k + N) - x(k) at the quiet level for a quarter period), right after
// changing by much more. The witness's voltages where they took part, which
// carry no decaying offset; the currents where they stop changing so at once
// (an offset dying down keeps them from it). Where both tell, the later: each
// stops early only where its change passes through zero as it stops, and the
// voltages' change is about a quarter period from the currents'. None where
// neither stops so within the period.
std::optional<int> changeStartSeenFromPeriodLater(const RecordingSampling& sampling,
                                                  const QVector<const QVector<double>*>& series, int start,
                                                  const ChangeLevels& levels, const ChangeWitness& witness);

// The first sample after `from` from which, for a whole period, the chosen
// phases' currents stay within the tolerance of zero, or all three repeat
// the reference period (the load before) within it: the fault is cleared.
std::optional<int> findQuietPeriod(const RecordingSampling& sampling, const SetWaveforms& waveforms, int from,
                                   const std::array<bool, 3>& phases, std::optional<SampleWindow> reference,
                                   double tolerance);

} // namespace VornaLumeto
