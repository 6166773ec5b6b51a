#include "analysis/faultreport.h"

#include "analysis/changeassessment.h"

#include <algorithm>
#include <cmath>

namespace VornaLumeto {
namespace {

constexpr int maximumChanges = 64;
// Samples kept between the distance window and clearing or the fault's evolution.
constexpr int windowGuard = 2;
// Cleared: the faulted phases' currents within this share of their fault peak.
constexpr double clearingShare = 0.05;
// A phase carrying less than this share of the largest current is not in the fault.
constexpr double unchangedShare = 0.3;
// A phase drawn into an evolving fault changes by this share of its later fault peak.
constexpr double evolutionShare = 0.5;
// Less than this share of a period tells too little of the state a change ended.
constexpr int fewestPartsOfPeriod = 8;

struct Context {
    SetView view;
    const QVector<double>& timeAxis;
    const LineData& line;
    ChangeWitness voltages;  // the phase voltages, quiet at the level of the prefault state
};

double msAt(const Context& context, int sample)
{
    if (sample >= 0 && sample < context.timeAxis.size())
        return context.timeAxis[sample];
    return sampleTime(context.view.sampling, sample) * 1000.0;
}

bool widens(FaultType first, FaultType later)
{
    bool wider = false;
    for (int p = 0; p < 3; ++p) {
        if (involvesPhase(first, p) && !involvesPhase(later, p))
            return false;
        wider = wider || (involvesPhase(later, p) && !involvesPhase(first, p));
    }
    if (involvesGround(first) && !involvesGround(later))
        return false;
    return wider || (involvesGround(later) && !involvesGround(first));
}

// Where the phases (or the ground) a fault took in later began to carry it.
std::optional<int> evolutionSample(const Context& context, FaultType first, FaultType later, int from,
                                   SampleWindow late)
{
    QVector<const QVector<double>*> series;
    double peak = 0.0;
    for (int p = 0; p < 3; ++p) {
        if (involvesPhase(later, p) && !involvesPhase(first, p)) {
            series.append(&context.view.waveforms.currents[p]);
            peak = std::max(peak, std::abs(fundamentalPhasor(context.view.waveforms.currents[p], {}, late).value_or(0.0)));
        }
    }
    if (series.isEmpty()) {
        series.append(&context.view.waveforms.residual);
        peak = std::abs(fundamentalPhasor(context.view.waveforms.residual, {}, late).value_or(0.0));
    }
    const double threshold = evolutionShare * std::sqrt(2.0) * peak;
    return findLastingChange(context.view.sampling, series, from, {threshold, 0.0}, context.voltages);
}

void addDistances(FaultReport& report, const Context& context)
{
    if (!context.line.isGiven() || !report.window)
        return;
    const RolePhasors during = rolePhasors(context.view.set, *report.window);
    const std::optional<PhaseValues> voltages = during.voltages();
    const std::optional<PhaseValues> currents = during.currents();
    if (!voltages || !currents)
        return;
    const Complex k0 = residualCompensation(context.line).k0;
    const Complex lineZ1 = context.line.z1();
    const LoopSignals loop = loopSignals(report.loop, *voltages, *currents, k0);
    const auto onLine = [&](std::optional<double> perUnit) -> std::optional<LineDistance> {
        if (!perUnit)
            return std::nullopt;
        return lineDistance(*perUnit, context.line);
    };
    report.reactance = onLine(reactanceDistance(loop, lineZ1));
    if (report.prefaultWindow) {
        const RolePhasors before = rolePhasors(context.view.set, *report.prefaultWindow);
        if (before.voltages() && before.currents()) {
            const Complex prefault = loopSignals(report.loop, *before.voltages(), *before.currents(), k0).current;
            report.takagi = onLine(takagiDistance(
                loop, referredToWindow(prefault, context.view.sampling, *report.prefaultWindow, *report.window), lineZ1));
        }
    }
    if (report.type != FaultType::ABC) {
        const Complex negative = symmetricalComponents(*currents, context.view.rotation).negative;
        report.negativeSequence =
            onLine(negativeSequenceDistance(loop, report.loop, negative, context.view.rotation, lineZ1));
    }
}

// The distance window ends at `end`, wholly after `faultStart`; the prefault
// period is the last whole one before the inception, at or after `loadStart`
// (none where the recording holds no such period).
void placeWindows(FaultReport& report, const Context& context, int end, int faultStart, int loadStart)
{
    const std::optional<SampleWindow> window = periodEndingAt(context.view.sampling, end, context.view.waveforms.size());
    if (!window || window->first <= faultStart)
        return;
    report.window = window;
    report.windowStartMs = msAt(context, window->first);
    report.windowEndMs = msAt(context, end);
    if (report.inceptionSample) {
        const std::optional<SampleWindow> prefault =
            periodEndingAt(context.view.sampling, *report.inceptionSample - 1, context.view.waveforms.size());
        if (prefault && prefault->first >= loadStart)
            report.prefaultWindow = prefault;
    }
    report.atWindow = analyseCut(context.view.sampling, context.view.set, context.line, context.view.rotation, end);
    report.loopImpedance = report.atWindow.loops[int(report.loop)];
    addDistances(report, context);
}

double faultPeak(const StatePhasors& during, FaultType type)
{
    double peak = 0.0;
    for (int p = 0; p < 3; ++p) {
        if (involvesPhase(type, p))
            peak = std::max(peak, std::sqrt(2.0) * std::abs(during.currents[p]));
    }
    return peak;
}

FaultReport faultFromInception(const Context& context, int onset, const Assessment& assessment,
                               const ChangeLevels& levels, int loadStart)
{
    FaultReport report;
    report.event = SetEvent::Fault;
    report.type = *assessment.type;
    report.inceptionSample = onset;
    report.inceptionMs = msAt(context, onset);
    const int n = periodOf(context.view.sampling, onset);
    const StatePhasors& before = assessment.before;
    std::array<bool, 3> faulted;
    for (int p = 0; p < 3; ++p)
        faulted[p] = involvesPhase(report.type, p);
    const double tolerance = std::max(clearingShare * faultPeak(assessment.after, report.type), levels.quiet);
    // The load coming back ends the fault too, where a whole period of it was recorded.
    const std::optional<SampleWindow> load =
        before.window.count == n ? std::optional<SampleWindow>(before.window) : std::nullopt;
    report.clearingSample =
        findQuietPeriod(context.view.sampling, context.view.waveforms, onset + 1, faulted, load, tolerance);
    const int lastFaulted =
        report.clearingSample ? *report.clearingSample - 1 - windowGuard : context.view.waveforms.size() - 1;
    if (report.clearingSample) {
        report.clearingMs = msAt(context, *report.clearingSample);
        report.durationMs = *report.clearingMs - *report.inceptionMs;
    }

    // Classified again late in the fault, where the offset has died down: the
    // same type, or one that takes in more phases or the ground (evolving).
    int windowEnd = lastFaulted;
    const std::optional<StatePhasors> late = stateEndingAt(context.view, lastFaulted);
    const std::optional<FaultType> settled =
        late && late->window.first > onset + n ? typeOf(changeBetween(context.view, before, *late)) : std::nullopt;
    if (settled && widens(report.type, *settled)) {
        report.laterType = settled;
        report.laterSample = evolutionSample(context, report.type, *settled, onset + n, late->window);
        if (report.laterSample) {
            report.laterMs = msAt(context, *report.laterSample);
            windowEnd = *report.laterSample - 1 - windowGuard;
        }
    } else if (settled) {
        report.type = *settled;
    }
    report.loop = faultedLoop(report.type);
    placeWindows(report, context, windowEnd, onset, loadStart);
    return report;
}

// The first change of a recording that begins inside a fault ends it: the
// fault is cleared where its currents go quiet, and its type is what the
// currents lose there (all they carried where the recording ends too soon to tell).
FaultReport faultBeforeRecording(const Context& context, int change, const StatePhasors& fault,
                                 const ChangeLevels& levels)
{
    FaultReport report;
    report.event = SetEvent::Fault;
    report.beganBeforeRecording = true;
    const int n = periodOf(context.view.sampling, change);
    std::array<bool, 3> carrying;
    double peak = 0.0;
    for (int p = 0; p < 3; ++p) {
        carrying[p] = std::abs(fault.currents[p]) >= unchangedShare * fault.largestCurrent();
        peak = std::max(peak, std::sqrt(2.0) * std::abs(fault.currents[p]));
    }
    const int clearing = findQuietPeriod(context.view.sampling, context.view.waveforms, std::max(change - n, 0), carrying,
                                         std::nullopt, std::max(clearingShare * peak, levels.quiet))
                             .value_or(change);
    report.clearingSample = clearing;
    report.clearingMs = msAt(context, clearing);
    const StatePhasors lastFault = stateEndingAt(context.view, clearing - 1 - windowGuard).value_or(fault);
    const std::optional<StatePhasors> cleared = stateEndingAt(context.view, clearing + n);
    const StateChange lost = cleared ? changeBetween(context.view, *cleared, lastFault)
                                     : StateChange{lastFault.currents, lastFault.residual, std::nullopt};
    report.type = typeOf(lost).value_or(FaultType::ABC);
    report.loop = faultedLoop(report.type);
    placeWindows(report, context, clearing - 1 - windowGuard, -1, 0);
    return report;
}

// Where the faulted phases (and the ground, for a fault to ground) began to
// change, where they had not changed beyond the threshold where the first
// change was seen: the load of another phase may change within a period
// before a fault, and the fault begins where its own phases change (carried
// back by the currents alone: the voltages still move with the load). None
// where they changed with it.
std::optional<int> faultedPhasesOnset(const Context& context, FaultType type, int seen, const ChangeLevels& levels)
{
    QVector<const QVector<double>*> series;
    for (int p = 0; p < 3; ++p) {
        if (involvesPhase(type, p))
            series.append(&context.view.waveforms.currents[p]);
    }
    if (involvesGround(type))
        series.append(&context.view.waveforms.residual);
    if (changedBeyond(context.view.sampling, series, seen, levels.threshold))
        return std::nullopt;
    return findLastingChange(context.view.sampling, series, seen, levels);
}

// The fault that began at `onset`, or where its own phases began to change
// after a change of another phase's load seen at `seen`.
FaultReport faultFrom(const Context& context, int onset, int seen, const Assessment& assessment,
                      const ChangeLevels& levels, int loadStart)
{
    const FaultReport fault = faultFromInception(context, onset, assessment, levels, loadStart);
    const std::optional<int> own = faultedPhasesOnset(context, fault.type, seen, levels);
    const std::optional<StatePhasors> before = own ? stateEndingAt(context.view, *own - 1) : std::nullopt;
    if (!before)
        return fault;
    const Assessment ownAssessment = assessChange(context.view, *before, *own, false, levels);
    if (ownAssessment.kind != ChangeKind::Inception || !ownAssessment.type)
        return fault;
    return faultFromInception(context, *own, ownAssessment, levels, loadStart);
}

// The state a change that began at `begun` ended, from `stateStart` on: its
// last period, or the part of one the recording holds short of the change's
// first samples; none where that is too short to tell.
std::optional<StatePhasors> stateBeforeChange(const SetView& view, int stateStart, int begun)
{
    const int n = periodOf(view.sampling, begun);
    if (begun - stateStart >= n)
        return stateEndingAt(view, begun - 1);
    const int count = begun - windowGuard - stateStart;
    if (n == 0 || count < n / fewestPartsOfPeriod)
        return std::nullopt;
    return stateOverPart(view, {stateStart, count}, n);
}

} // namespace

FaultReport faultReport(const RecordingSampling& sampling, const QVector<double>& timeAxis, const SetSignals& set,
                        const LineData& line, PhaseRotation rotation)
{
    FaultReport report;
    const SetWaveforms waveforms = setWaveforms(set);
    Context context{{sampling, set, waveforms, rotation}, timeAxis, line, {}};
    int start = 0;
    while (start < waveforms.size() && periodBefore(sampling, start) == 0)
        ++start;
    const QVector<const QVector<double>*> currents{&waveforms.currents[0], &waveforms.currents[1],
                                                   &waveforms.currents[2]};
    if (waveforms.hasVoltages())
        context.voltages.series = {&waveforms.voltages[0], &waveforms.voltages[1], &waveforms.voltages[2]};
    bool firstChange = true;  // a recording that begins inside a fault ends it with its first change
    for (int change = 0; change < maximumChanges && start < waveforms.size(); ++change) {
        const ChangeLevels levels = changeLevels(sampling, waveforms.currents, waveforms.currentResolution, start);
        if (waveforms.hasVoltages())
            context.voltages.quiet = changeLevels(sampling, waveforms.voltages, waveforms.voltageResolution, start).quiet;
        const std::optional<int> seen = lastingChangeSeen(sampling, currents, start, levels.threshold);
        if (!seen)
            break;
        std::optional<int> onset = changeOnset(sampling, currents, *seen, start, levels, context.voltages);
        const int stateStart = start - periodBefore(sampling, start);
        std::optional<StatePhasors> before;
        const bool underWay = *onset == start || changeUnderWay(sampling, currents, start, levels);
        if (underWay) {
            // The state's first period holds the change's beginning: no period
            // before it is clean, so where it began is told from a period later.
            const std::optional<int> begun =
                changeStartSeenFromPeriodLater(sampling, currents, start, levels, context.voltages);
            before = begun ? stateBeforeChange(context.view, stateStart, *begun) : std::nullopt;
            // Where that cannot be told, the state is taken to begin a period later.
            onset = before ? *begun : start;
        } else {
            before = stateEndingAt(context.view, *onset - 1);
        }
        const int n = std::max(periodOf(sampling, *onset), 1);
        const Assessment assessment =
            before ? assessChange(context.view, *before, *onset, firstChange, levels) : Assessment{};
        firstChange = firstChange && assessment.kind == ChangeKind::Negligible;
        switch (assessment.kind) {
        case ChangeKind::Inception:
            if (!assessment.type)
                break;
            // Told from a period later, the change was seen where it began to end.
            if (underWay)
                return faultFromInception(context, *onset, assessment, levels, stateStart);
            return faultFrom(context, *onset, *seen, assessment, levels, stateStart);
        case ChangeKind::Clearing:
            return faultBeforeRecording(context, *onset, assessment.before, levels);
        case ChangeKind::LoadChange:
        case ChangeKind::Energisation:
            if (report.event == SetEvent::Steady) {
                report.event = assessment.kind == ChangeKind::LoadChange ? SetEvent::LoadChange : SetEvent::Energisation;
                report.eventSample = *onset;
            }
            break;
        case ChangeKind::Negligible:
            break;
        }
        // The next state is compared with its own first period.
        start = *onset + n;
    }
    return report;
}

} // namespace VornaLumeto
