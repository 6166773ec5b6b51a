#include "linefaultrecording.h"
#include "rawsamples.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace LumetoTools {
namespace {

const double pi = std::acos(-1.0);
const double sqrt2 = std::sqrt(2.0);
constexpr qint64 maxSamples = 20000000;
constexpr int phaseCount = 3;
// Room above the largest value, as a recorder's range leaves it.
constexpr double headroom = 1.1;

// Phasors that hold from a sample on.
struct Stage {
    int firstSample = 0;
    std::array<Complex, phaseCount> voltages;
    std::array<Complex, phaseCount> currents;
    bool continuousCurrents = true;  // a decaying offset joins its currents to the stage before
};

Stage stageOf(int firstSample, const PhaseQuantities& quantities, bool continuousCurrents = true)
{
    return {firstSample, quantities.voltage, quantities.current, continuousCurrents};
}

// E_S's lead that makes |E_S - E_R| larger by the share, as 2 E sin(delta / 2) grows.
double steppedLoadAngle(double loadAngle, double share)
{
    return 2.0 * std::asin((1.0 + share) * std::sin(loadAngle * pi / 360.0)) * 180.0 / pi;
}

QVector<Stage> stagesOf(const LineFaultOptions& options)
{
    const int inception = sampleAt(options.inceptionMs, options.sampleRate);
    const PhaseQuantities load = loadFlow(options.system);
    switch (options.event) {
    case LineEvent::LoadOnly:
        return {stageOf(0, load)};
    case LineEvent::LoadStep: {
        TwoSourceSystem stepped = options.system;
        stepped.loadAngle = steppedLoadAngle(options.system.loadAngle, options.loadStep);
        return {stageOf(0, load), stageOf(inception, loadFlow(stepped))};
    }
    case LineEvent::Energisation:
        return {stageOf(0, openLine(options.system)), stageOf(inception, load)};
    case LineEvent::Fault:
        break;
    }
    QVector<Stage> stages{stageOf(0, load), stageOf(inception, solveLineFault(options.system, options.fault).fault)};
    if (options.laterKind) {
        LineFault later = options.fault;
        later.kind = *options.laterKind;
        stages.append(stageOf(sampleAt(options.laterMs, options.sampleRate),
                              solveLineFault(options.system, later).fault));
    }
    if (options.clearingMs)
        stages.append(stageOf(sampleAt(*options.clearingMs, options.sampleRate), openLine(options.system), false));
    return stages;
}

double instantaneous(Complex phasor, double omegaT)
{
    return sqrt2 * (phasor.real() * std::cos(omegaT) - phasor.imag() * std::sin(omegaT));
}

// Primary volts and amperes of the three voltages and three currents at every sample.
struct PhaseWaveforms {
    std::array<QVector<double>, phaseCount> voltages;
    std::array<QVector<double>, phaseCount> currents;
};

PhaseWaveforms waveformsOf(const LineFaultOptions& options, int samples)
{
    const QVector<Stage> stages = stagesOf(options);
    const double omega = 2.0 * pi * options.lineFrequency;
    const double tau = options.dcTimeConstantMs / 1000.0;
    PhaseWaveforms waves;
    for (int p = 0; p < phaseCount; ++p) {
        waves.voltages[p].resize(samples);
        waves.currents[p].resize(samples);
    }
    int stage = -1;
    double stageStart = 0.0;
    std::array<double, phaseCount> offsets{};  // of the currents at the stage's start
    for (int k = 0; k < samples; ++k) {
        const double t = double(k) / options.sampleRate;
        while (stage + 1 < stages.size() && stages[stage + 1].firstSample <= k) {
            ++stage;
            const double start = double(stages[stage].firstSample) / options.sampleRate;
            for (int p = 0; p < phaseCount; ++p) {
                double before = 0.0;
                if (stage > 0)
                    before = instantaneous(stages[stage - 1].currents[p], omega * start)
                             + offsets[p] * std::exp(-(start - stageStart) / tau);
                const bool joined = stage > 0 && tau > 0.0 && stages[stage].continuousCurrents;
                offsets[p] = joined ? before - instantaneous(stages[stage].currents[p], omega * start) : 0.0;
            }
            stageStart = start;
        }
        const Stage& now = stages[stage];
        for (int p = 0; p < phaseCount; ++p) {
            waves.voltages[p][k] = instantaneous(now.voltages[p], omega * t);
            const double offset = offsets[p] == 0.0 ? 0.0 : offsets[p] * std::exp(-(t - stageStart) / tau);
            waves.currents[p][k] = instantaneous(now.currents[p], omega * t) + offset;
        }
    }
    return waves;
}

struct ChannelText {
    const char* id;
    const char* phase;
};

// Voltages, currents and the residual current, as recorders name them.
const ChannelText latinChannels[] = {{"UA", "A"}, {"UB", "B"}, {"UC", "C"}, {"IA", "A"},
                                     {"IB", "B"}, {"IC", "C"}, {"3I0", "N"}};
const ChannelText cyrillicChannels[] = {{"U фазы А", "А"}, {"U фазы В", "В"}, {"U фазы С", "С"}, {"I фазы А", "А"},
                                        {"I фазы В", "В"}, {"I фазы С", "С"}, {"3I0", "N"}};

GeneratedAnalogChannel describeChannel(int index, const LineFaultOptions& options)
{
    const bool cyrillic = options.naming == ChannelNaming::Cyrillic;
    const ChannelText& text = cyrillic ? cyrillicChannels[index] : latinChannels[index];
    const bool voltage = index < phaseCount;
    GeneratedAnalogChannel channel;
    channel.id = QString::fromUtf8(text.id);
    channel.phase = QString::fromUtf8(text.phase);
    channel.circuit = cyrillic ? QStringLiteral("ВЛ-110 Южная-1") : QStringLiteral("Line 1");
    if (voltage)
        channel.unit = options.secondaryValues ? (cyrillic ? QStringLiteral("В") : QStringLiteral("V"))
                                               : (cyrillic ? QStringLiteral("кВ") : QStringLiteral("kV"));
    else
        channel.unit = cyrillic ? QStringLiteral("А") : QStringLiteral("A");
    const InstrumentRatio& ratio = voltage ? options.voltageRatio : options.currentRatio;
    channel.primary = ratio.primary;
    channel.secondary = ratio.secondary;
    channel.primaryOrSecondary = options.secondaryValues ? QStringLiteral("S") : QStringLiteral("P");
    return channel;
}

// Primary volts or amperes in the unit the channel is written in.
double writtenPerPrimary(int index, const LineFaultOptions& options)
{
    const bool voltage = index < phaseCount;
    const InstrumentRatio& ratio = voltage ? options.voltageRatio : options.currentRatio;
    if (options.secondaryValues)
        return ratio.secondary / ratio.primary;
    return voltage ? 1e-3 : 1.0;
}

void writeChannel(GeneratedAnalogChannel& channel, const QVector<double>& values, double noise, Noise& source)
{
    double peak = 0.0;
    for (const double value : values)
        peak = std::max(peak, std::fabs(value));
    const double fullScale = std::max(headroom * peak, 1.0);
    channel.multiplier = multiplierFor(fullScale);
    channel.raw.resize(values.size());
    for (int k = 0; k < values.size(); ++k)
        channel.raw[k] = toRaw(values[k] + noise * fullScale * source.next(), channel.multiplier);
}

bool isFinite(const PhaseQuantities& quantities)
{
    for (int p = 0; p < phaseCount; ++p)
        if (!std::isfinite(std::abs(quantities.voltage[p])) || !std::isfinite(std::abs(quantities.current[p])))
            return false;
    return true;
}

bool positive(const InstrumentRatio& ratio)
{
    return ratio.primary > 0.0 && ratio.secondary > 0.0;
}

QString timingProblem(const LineFaultOptions& options)
{
    if (options.sampleRate < 1 || options.lineFrequency < 1)
        return QStringLiteral("the sampling rate and the line frequency must be positive");
    if (!(options.durationMs > 0.0) || options.durationMs * options.sampleRate / 1000.0 > maxSamples
        || options.durationMs > std::numeric_limits<qint32>::max() / 1000.0)
        return QStringLiteral("the duration must be positive and at most %1 samples").arg(maxSamples);
    if (!(options.inceptionMs >= 0.0 && options.inceptionMs < options.durationMs))
        return QStringLiteral("the inception must lie within the recording");
    if (options.clearingMs && !(*options.clearingMs > options.inceptionMs))
        return QStringLiteral("the clearing must come after the inception");
    if (options.laterKind
        && !(options.laterMs > options.inceptionMs && (!options.clearingMs || options.laterMs < *options.clearingMs)))
        return QStringLiteral("the fault must evolve between inception and clearing");
    if (!(options.dcTimeConstantMs >= 0.0))
        return QStringLiteral("the DC time constant must be 0 or more");
    return QString();
}

QString systemProblem(const LineFaultOptions& options)
{
    if (!(options.fault.distance >= 0.0 && options.fault.distance <= 1.0))
        return QStringLiteral("the distance must be within 0 ... 1 per unit of the line");
    if (!(options.fault.resistance >= 0.0))
        return QStringLiteral("the fault resistance must be 0 or more");
    if (!(options.system.emf > 0.0))
        return QStringLiteral("the source EMF must be positive");
    if (!(std::fabs(options.system.loadAngle) < 90.0))
        return QStringLiteral("the load angle must be within -90 ... 90 degrees");
    if (options.event == LineEvent::LoadStep
        && !(std::fabs((1.0 + options.loadStep) * std::sin(options.system.loadAngle * pi / 360.0)) <= 1.0))
        return QStringLiteral("the load step takes the load angle past 180 degrees");
    const bool finite = isFinite(loadFlow(options.system)) && isFinite(solveLineFault(options.system, options.fault).fault)
                        && (!options.laterKind
                            || isFinite(solveLineFault(options.system, {*options.laterKind, options.fault.distance,
                                                                        options.fault.resistance}).fault));
    if (!finite)
        return QStringLiteral("the impedances leave a current infinite");
    return QString();
}

} // namespace

int sampleAt(double ms, int sampleRate)
{
    return int(std::ceil(ms * sampleRate / 1000.0 - 1e-9));
}

QString lineFaultProblem(const LineFaultOptions& options)
{
    QString problem = timingProblem(options);
    if (problem.isEmpty())
        problem = systemProblem(options);
    if (!problem.isEmpty())
        return problem;
    if (!positive(options.voltageRatio) || !positive(options.currentRatio))
        return QStringLiteral("the instrument ratios must be positive");
    if (!(options.noise >= 0.0 && options.noise < 1.0))
        return QStringLiteral("the noise must be a share of full scale, 0 or more and below 1");
    if (options.stationName.contains(QLatin1Char(',')))
        return QStringLiteral("the station name must not contain a comma");
    return QString();
}

GeneratedRecording generateLineFaultRecording(const LineFaultOptions& options)
{
    GeneratedRecording recording;
    recording.stationName = options.stationName;
    recording.recorderId = int(1 + options.seed % 999);
    recording.lineFrequency = options.lineFrequency;
    recording.sampleRate = options.sampleRate;
    const int samples = std::max(1, int(std::lround(options.durationMs * options.sampleRate / 1000.0)));
    recording.segments = {{options.sampleRate, samples}};
    for (int k = 0; k < samples; ++k)
        recording.timeStamps.append(qint32(qint64(k) * 1000000 / options.sampleRate));
    recording.triggerSample = std::min(sampleAt(options.inceptionMs, options.sampleRate), samples - 1);

    const PhaseWaveforms waves = waveformsOf(options, samples);
    QVector<double> residual(samples);
    for (int k = 0; k < samples; ++k)
        residual[k] = waves.currents[0][k] + waves.currents[1][k] + waves.currents[2][k];
    const QVector<double>* primaryValues[] = {&waves.voltages[0], &waves.voltages[1], &waves.voltages[2],
                                              &waves.currents[0], &waves.currents[1], &waves.currents[2], &residual};
    const int channelCount = options.residualChannel ? 7 : 6;
    Noise noise(options.seed);
    for (int c = 0; c < channelCount; ++c) {
        GeneratedAnalogChannel channel = describeChannel(c, options);
        QVector<double> written = *primaryValues[c];
        const double factor = writtenPerPrimary(c, options);
        for (double& value : written)
            value *= factor;
        writeChannel(channel, written, options.noise, noise);
        recording.analog.append(channel);
    }
    return recording;
}

} // namespace LumetoTools
