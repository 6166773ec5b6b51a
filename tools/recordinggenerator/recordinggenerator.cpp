#include "recordinggenerator.h"
#include "rawsamples.h"

#include <cmath>
#include <limits>

namespace LumetoTools {
namespace {

constexpr double twoPi = 6.283185307179586;
constexpr double degree = twoPi / 360.0;
// Past the early layout's 65,535 samples, for the later ones, but within memory.
constexpr qint64 maxSamples = 20000000;
constexpr int maxChannels = 255;
// Analog channels come in feeders of eight: three voltages, three currents,
// the residual current and one auxiliary channel (frequency or load).
constexpr int channelsPerFeeder = 8;
constexpr int digitalKinds = 6;

// The fault timeline, seconds after the trigger.
constexpr double pickupDelay = 0.010;
constexpr double tripDelay = 0.040;
constexpr double clearDelay = 0.085;       // trip plus breaker time
constexpr double pickupResetDelay = 0.105;
constexpr double tripResetDelay = 0.095;
constexpr double recorderStartLength = 0.200;
constexpr double dcTimeConstant = 0.045;

constexpr double voltagePeakKv = 110.0 / 1.7320508075688772 * 1.4142135623730951;
constexpr double faultedPhaseVoltage = 0.3;
constexpr double healthyPhaseVoltage = 1.04;
constexpr double loadAngle = 30.0 * degree;
constexpr double faultAngle = 80.0 * degree;

struct FeederRating {
    double loadPeak;      // A
    double currentScale;  // full-scale A of the current channels
};

struct FaultState {
    bool faulted = false;        // between inception and clearing
    bool breakerOpen = false;    // first feeder after clearing
    double dcOffset = 0.0;       // fraction of the fault current peak
};

// Instantaneous bus voltages and one feeder's currents, kV and A.
struct PhaseValues {
    double value[3];
};

constexpr int harmonicOrders[3] = {1, 3, 5};

// sin(h*theta) and cos(h*theta) for the harmonics, once per sample.
struct HarmonicAngles {
    double sine[3];
    double cosine[3];
};

// A fixed phase shift of a waveform, as cos and sin of h*shift per harmonic,
// so that a sample costs multiplications only.
struct Shift {
    explicit Shift(double angle)
    {
        for (int h = 0; h < 3; ++h) {
            cosine[h] = std::cos(harmonicOrders[h] * angle);
            sine[h] = std::sin(harmonicOrders[h] * angle);
        }
    }
    double cosine[3];
    double sine[3];
};

// Fundamental and harmonic shares of each waveform.
using Harmonics = double[3];
constexpr Harmonics voltageHarmonics = {1.0, 0.015, 0.01};
constexpr Harmonics currentHarmonics = {1.0, 0.03, 0.02};

double waveform(const HarmonicAngles& angles, const Shift& shift, const Harmonics& share)
{
    double sum = 0.0;
    for (int h = 0; h < 3; ++h)
        sum += share[h] * (angles.sine[h] * shift.cosine[h] + angles.cosine[h] * shift.sine[h]);
    return sum;
}

HarmonicAngles anglesAt(double theta)
{
    HarmonicAngles angles;
    for (int h = 0; h < 3; ++h) {
        angles.sine[h] = std::sin(harmonicOrders[h] * theta);
        angles.cosine[h] = std::cos(harmonicOrders[h] * theta);
    }
    return angles;
}

double phaseShift(int phase) { return -phase * twoPi / 3.0; }

struct PhaseShifts {
    Shift voltage[3] = {Shift(phaseShift(0)), Shift(phaseShift(1)), Shift(phaseShift(2))};
    Shift loadCurrent[3] = {Shift(phaseShift(0) - loadAngle), Shift(phaseShift(1) - loadAngle),
                            Shift(phaseShift(2) - loadAngle)};
    Shift faultCurrent = Shift(-faultAngle);
};

const PhaseShifts& shifts()
{
    static const PhaseShifts table;
    return table;
}

PhaseValues busVoltages(const HarmonicAngles& angles, const FaultState& fault)
{
    PhaseValues voltages;
    for (int p = 0; p < 3; ++p) {
        double level = 1.0;
        if (fault.faulted)
            level = p == 0 ? faultedPhaseVoltage : healthyPhaseVoltage;
        voltages.value[p] = voltagePeakKv * level * waveform(angles, shifts().voltage[p], voltageHarmonics);
    }
    return voltages;
}

PhaseValues feederCurrents(const HarmonicAngles& angles, const FaultState& fault, const FeederRating& rating,
                           bool faultedFeeder, double faultMultiple)
{
    PhaseValues currents;
    for (int p = 0; p < 3; ++p) {
        double current = rating.loadPeak * waveform(angles, shifts().loadCurrent[p], currentHarmonics);
        if (fault.faulted && p == 0) {
            const double peak = rating.loadPeak * (faultedFeeder ? faultMultiple : 1.6);
            current = peak * (waveform(angles, shifts().faultCurrent, currentHarmonics) + fault.dcOffset);
        }
        if (faultedFeeder && fault.breakerOpen)
            current = 0.0;
        currents.value[p] = current;
    }
    return currents;
}

bool isCyrillicFeeder(int feeder) { return feeder % 2 == 0; }

QString feederName(int feeder)
{
    return isCyrillicFeeder(feeder) ? QStringLiteral("ВЛ-110 Северная-%1").arg(feeder + 1)
                                    : QStringLiteral("Line %1 East").arg(feeder + 1);
}

// Channels of the second and later feeders carry the feeder in their names, as
// recorders name them, so that no two channels of a recording share a name.
QString feederSuffix(int feeder)
{
    if (feeder == 0)
        return QString();
    return (isCyrillicFeeder(feeder) ? QStringLiteral(" Л%1") : QStringLiteral(" L%1")).arg(feeder + 1);
}

GeneratedAnalogChannel describeAnalog(int kind, int feeder, const FeederRating& rating)
{
    static const char* const phasesLatin[3] = {"A", "B", "C"};
    static const char* const phasesCyrillic[3] = {"А", "В", "С"};
    const bool cyrillic = isCyrillicFeeder(feeder);
    GeneratedAnalogChannel channel;
    channel.circuit = feederName(feeder);
    const int phase = kind % 3;
    const QString phaseName = QString::fromUtf8(cyrillic ? phasesCyrillic[phase] : phasesLatin[phase]);
    if (kind < 3) {
        channel.id = (cyrillic ? QStringLiteral("U фазы ") : QStringLiteral("U")) + phaseName;
        channel.phase = phaseName;
        channel.unit = cyrillic ? QStringLiteral("кВ") : QStringLiteral("kV");
        channel.multiplier = multiplierFor(200.0);
    } else if (kind < 6) {
        channel.id = (cyrillic ? QStringLiteral("I фазы ") : QStringLiteral("I")) + phaseName;
        channel.phase = phaseName;
        channel.unit = cyrillic ? QStringLiteral("А") : QStringLiteral("A");
        channel.multiplier = multiplierFor(rating.currentScale);
    } else if (kind == 6) {
        channel.id = QStringLiteral("3I0");
        channel.phase = QStringLiteral("N");
        channel.unit = cyrillic ? QStringLiteral("А") : QStringLiteral("A");
        channel.multiplier = multiplierFor(rating.currentScale);
    } else if (cyrillic) {
        channel.id = QStringLiteral("Частота");
        channel.unit = QStringLiteral("Гц");
        channel.multiplier = 0.01;  // the view draws hertz channels around 5000 raw
    } else {
        channel.id = QStringLiteral("Load");
        channel.unit = QStringLiteral("%");
        channel.multiplier = 0.1;
    }
    channel.id += feederSuffix(feeder);
    return channel;
}

GeneratedDigitalChannel describeDigital(int index)
{
    static const char* const names[digitalKinds] = {
        "Пуск защиты", "Отключение", "РПВ Q1", "Start L1", "Trip L1", "Пуск регистратора"};
    const int kind = index % digitalKinds;
    const int group = index / digitalKinds;
    GeneratedDigitalChannel channel;
    channel.id = QString::fromUtf8(names[kind]);
    if (group > 0)
        channel.id += QStringLiteral(" %1").arg(group + 1);
    channel.normalState = kind == 2 ? 1 : 0;  // breaker closed in normal operation
    return channel;
}

// Auxiliary channel: the line frequency in hundredths of a hertz, or a feeder
// load in tenths of a percent; both move a little during the fault.
double auxiliaryValue(int feeder, const FaultState& fault, double frequency, double noise)
{
    if (isCyrillicFeeder(feeder))
        return frequency - (fault.faulted ? 0.05 : 0.0) + 0.01 * noise;
    return (fault.faulted ? 118.0 : 64.0) + 0.3 * noise;
}

bool digitalState(int index, double sinceTrigger)
{
    const int kind = index % digitalKinds;
    const bool firstGroup = index < digitalKinds;
    const bool pickedUp = sinceTrigger >= pickupDelay && sinceTrigger < pickupResetDelay;
    const bool tripping = firstGroup && sinceTrigger >= tripDelay && sinceTrigger < tripResetDelay;
    switch (kind) {
    case 0:
    case 3:
        return pickedUp;
    case 1:
    case 4:
        return tripping;
    case 2:
        return !(firstGroup && sinceTrigger >= clearDelay);
    default:
        return sinceTrigger >= 0.0 && sinceTrigger < recorderStartLength;
    }
}

FaultState faultAt(double sinceTrigger, double initialOffset)
{
    FaultState fault;
    fault.faulted = sinceTrigger >= 0.0 && sinceTrigger < clearDelay;
    fault.breakerOpen = sinceTrigger >= clearDelay;
    if (fault.faulted)
        fault.dcOffset = initialOffset * std::exp(-sinceTrigger / dcTimeConstant);
    return fault;
}

QVector<FeederRating> feederRatings(int feederCount, unsigned seed)
{
    QVector<FeederRating> ratings;
    for (int feeder = 0; feeder < feederCount; ++feeder) {
        const double loadRms = 250.0 + 60.0 * ((seed + unsigned(feeder)) % 6);
        ratings.append({loadRms * 1.4142135623730951, feeder == 0 ? 40000.0 : 4000.0});
    }
    return ratings;
}

void generateSamples(GeneratedRecording& recording, unsigned seed)
{
    const int samples = recording.timeStamps.size();
    const int analogCount = recording.analog.size();
    const int feederCount = (analogCount + channelsPerFeeder - 1) / channelsPerFeeder;
    const QVector<FeederRating> ratings = feederRatings(feederCount, seed);
    const double faultMultiple = 10.0 + seed % 5;
    const double frequency = recording.lineFrequency + 0.01 * (int(seed % 7) - 3);
    const double triggerTime = recording.timeStamps.at(recording.triggerSample) * 1e-6;
    // The offset that keeps the faulted current continuous at inception.
    const double initialOffset = -std::sin(twoPi * frequency * triggerTime - faultAngle);

    QVector<qint32*> analogColumns;
    for (GeneratedAnalogChannel& channel : recording.analog) {
        channel.raw.resize(samples);
        analogColumns.append(channel.raw.data());
    }
    QVector<quint8*> digitalColumns;
    for (GeneratedDigitalChannel& channel : recording.digital) {
        channel.states.resize(samples);
        digitalColumns.append(channel.states.data());
    }

    Noise noise(seed);
    for (int k = 0; k < samples; ++k) {
        const double time = recording.timeStamps.at(k) * 1e-6;
        const double sinceTrigger = time - triggerTime;
        const FaultState fault = faultAt(sinceTrigger, initialOffset);
        const HarmonicAngles angles = anglesAt(twoPi * frequency * time);
        const PhaseValues voltages = busVoltages(angles, fault);
        for (int feeder = 0; feeder < feederCount; ++feeder) {
            const PhaseValues currents = feederCurrents(angles, fault, ratings[feeder], feeder == 0, faultMultiple);
            const double loadNoise = 0.003 * ratings[feeder].loadPeak;
            const double values[channelsPerFeeder] = {
                voltages.value[0], voltages.value[1], voltages.value[2],
                currents.value[0], currents.value[1], currents.value[2],
                currents.value[0] + currents.value[1] + currents.value[2], 0.0};
            const int first = feeder * channelsPerFeeder;
            for (int kind = 0; kind < channelsPerFeeder && first + kind < analogCount; ++kind) {
                const double scaleOfNoise = kind < 3 ? 0.001 * voltagePeakKv : loadNoise;
                double value = values[kind] + scaleOfNoise * noise.next();
                if (kind == channelsPerFeeder - 1)
                    value = auxiliaryValue(feeder, fault, frequency, noise.next());
                analogColumns[first + kind][k] = toRaw(value, recording.analog.at(first + kind).multiplier);
            }
        }
        for (int d = 0; d < digitalColumns.size(); ++d)
            digitalColumns[d][k] = digitalState(d, sinceTrigger) ? 1 : 0;
    }
}

QVector<SamplingSegment> segmentsOf(const GeneratorOptions& options)
{
    return options.segments.isEmpty() ? QVector<SamplingSegment>{{options.sampleRate, options.samples}}
                                      : options.segments;
}

// Each segment starts where the one before ended, in whole microseconds.
QVector<qint32> timeStampsOf(const QVector<SamplingSegment>& segments)
{
    QVector<qint32> stamps;
    qint64 segmentStart = 0;
    for (const SamplingSegment& segment : segments) {
        for (int k = 0; k < segment.samples; ++k)
            stamps.append(qint32(segmentStart + qint64(k) * 1000000 / segment.rate));
        segmentStart += qint64(segment.samples) * 1000000 / segment.rate;
    }
    return stamps;
}

} // namespace

QString optionsProblem(const GeneratorOptions& options)
{
    if (options.analogCount < 0 || options.digitalCount < 0
        || options.analogCount + options.digitalCount > maxChannels)
        return QStringLiteral("channel counts must be 0 or more and at most %1 in all").arg(maxChannels);
    const QVector<SamplingSegment> segments = segmentsOf(options);
    qint64 samples = 0;
    qint64 microseconds = 0;
    for (const SamplingSegment& segment : segments) {
        if (segment.rate < 1 || segment.samples < 1)
            return QStringLiteral("every sampling rate and its samples must be positive");
        samples += segment.samples;
        microseconds += qint64(segment.samples) * 1000000 / segment.rate;
    }
    if (samples > maxSamples)
        return QStringLiteral("samples must be from 1 to %1").arg(maxSamples);
    if (microseconds > std::numeric_limits<qint32>::max())
        return QStringLiteral("the recording must be shorter than 2147 s");
    if (options.lineFrequency < 1)
        return QStringLiteral("the line frequency must be positive");
    if (options.stationName.contains(QLatin1Char(',')))
        return QStringLiteral("the station name must not contain a comma");
    return QString();
}

GeneratedRecording generateRecording(const GeneratorOptions& options)
{
    GeneratedRecording recording;
    recording.stationName = options.stationName;
    recording.recorderId = int(1 + options.seed % 999);
    recording.lineFrequency = options.lineFrequency;
    recording.segments = segmentsOf(options);
    recording.sampleRate = recording.segments.first().rate;
    recording.timeStamps = timeStampsOf(recording.segments);
    recording.triggerSample = recording.timeStamps.size() / 5;

    const int feederCount = (options.analogCount + channelsPerFeeder - 1) / channelsPerFeeder;
    const QVector<FeederRating> ratings = feederRatings(feederCount, options.seed);
    for (int c = 0; c < options.analogCount; ++c)
        recording.analog.append(describeAnalog(c % channelsPerFeeder, c / channelsPerFeeder,
                                               ratings[c / channelsPerFeeder]));
    for (int d = 0; d < options.digitalCount; ++d)
        recording.digital.append(describeDigital(d));
    generateSamples(recording, options.seed);
    return recording;
}

bool writeRecording(const QString& basePath, const GeneratorOptions& options, const RecordingForm& form)
{
    return optionsProblem(options).isEmpty() && writeRecording(basePath, generateRecording(options), form);
}

} // namespace LumetoTools
