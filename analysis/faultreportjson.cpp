#include "analysis/faultreportjson.h"

#include "analysis/diagrammath.h"

#include <QJsonArray>
#include <QtMath>

#include <cmath>

namespace VornaLumeto {
namespace {

// Decimals kept: a microsecond, a hundredth of a degree, 0.1 milliohm, a metre.
constexpr int msDecimals = 3;
constexpr int degreeDecimals = 2;
constexpr int ohmDecimals = 4;
constexpr int kmDecimals = 3;
constexpr int percentDecimals = 2;
constexpr int k0Decimals = 4;
// Magnitudes from volts to hundreds of kilovolts keep this many digits.
constexpr int magnitudeDigits = 6;

QJsonValue rounded(double value, int decimals)
{
    if (!std::isfinite(value))
        return QJsonValue::Null;
    const double scale = std::pow(10.0, decimals);
    const double result = std::round(value * scale) / scale;
    return std::isfinite(result) ? QJsonValue(result) : QJsonValue(value);
}

QJsonValue rounded(const std::optional<double>& value, int decimals)
{
    return value ? rounded(*value, decimals) : QJsonValue::Null;
}

QJsonValue significant(double value, int digits)
{
    if (!std::isfinite(value))
        return QJsonValue::Null;
    if (value == 0.0)
        return 0.0;
    return rounded(value, digits - 1 - int(std::floor(std::log10(std::abs(value)))));
}

// Degrees in (-180, 180], after rounding too.
QJsonValue degrees(const Complex& phasor)
{
    const QJsonValue angle = rounded(qRadiansToDegrees(std::arg(phasor)), degreeDecimals);
    return angle.isDouble() ? QJsonValue(foldAngle(angle.toDouble())) : angle;
}

// [rms, degrees]; null where a part is not finite.
QJsonValue phasorJson(const std::optional<Complex>& phasor)
{
    if (!phasor)
        return QJsonValue::Null;
    const QJsonValue magnitude = significant(std::abs(*phasor), magnitudeDigits);
    const QJsonValue angle = degrees(*phasor);
    if (magnitude.isNull() || angle.isNull())
        return QJsonValue::Null;
    return QJsonArray{magnitude, angle};
}

QJsonValue pairJson(const std::optional<Complex>& value, int decimals)
{
    if (!value)
        return QJsonValue::Null;
    const QJsonValue real = rounded(value->real(), decimals);
    const QJsonValue imaginary = rounded(value->imag(), decimals);
    if (real.isNull() || imaginary.isNull())
        return QJsonValue::Null;
    return QJsonArray{real, imaginary};
}

QJsonValue spanJson(const std::optional<double>& first, const std::optional<double>& last)
{
    if (!first || !last || !std::isfinite(*first) || !std::isfinite(*last))
        return QJsonValue::Null;
    return QJsonArray{rounded(*first, msDecimals), rounded(*last, msDecimals)};
}

QJsonValue textOrNull(const QString& text)
{
    return text.isNull() ? QJsonValue(QJsonValue::Null) : QJsonValue(text);
}

double msAt(const Recording& recording, const std::optional<int>& sample)
{
    return sample && *sample >= 0 && *sample < recording.timeAxis.size() ? recording.timeAxis.at(*sample) : NAN;
}

QJsonObject channelsJson(const Recording& recording, const ThreePhaseSet& set)
{
    QJsonObject channels;
    for (int r = 0; r < phaseRoleCount; ++r) {
        const PhaseRole role = PhaseRole(r);
        const int channel = set.channel(role);
        const bool named = channel >= 0 && channel < recording.analogChannels.size();
        const bool residual = role == PhaseRole::UN || role == PhaseRole::IN;
        if (named)
            channels.insert(phaseRoleKey(role), recording.analogChannels.at(channel).id);
        else if (!residual)
            channels.insert(phaseRoleKey(role), QJsonValue::Null);
    }
    return channels;
}

// A residual channel's own phasor, where the set has one.
std::optional<Complex> measured(const std::optional<ResidualPhasor>& residual)
{
    if (residual && residual->source == ResidualSource::Measured)
        return residual->value;
    return std::nullopt;
}

QJsonObject phasorsJson(const CutAnalysis& cut, const ThreePhaseSet& set)
{
    QJsonObject phasors;
    for (int p = 0; p < 3; ++p) {
        phasors.insert(phaseRoleKey(PhaseRole(int(PhaseRole::UA) + p)), phasorJson(cut.voltages[p]));
        phasors.insert(phaseRoleKey(PhaseRole(int(PhaseRole::IA) + p)), phasorJson(cut.currents[p]));
    }
    if (set.channel(PhaseRole::UN) >= 0)
        phasors.insert(phaseRoleKey(PhaseRole::UN), phasorJson(measured(cut.residualVoltage)));
    if (set.channel(PhaseRole::IN) >= 0)
        phasors.insert(phaseRoleKey(PhaseRole::IN), phasorJson(measured(cut.residualCurrent)));
    return phasors;
}

void insertSequence(QJsonObject& sequence, QChar quantity, const std::optional<SequenceComponents>& components)
{
    const auto part = [&](Complex SequenceComponents::*member) -> std::optional<Complex> {
        if (!components)
            return std::nullopt;
        return (*components).*member;
    };
    sequence.insert(quantity + QLatin1Char('1'), phasorJson(part(&SequenceComponents::positive)));
    sequence.insert(quantity + QLatin1Char('2'), phasorJson(part(&SequenceComponents::negative)));
    sequence.insert(quantity + QLatin1Char('0'), phasorJson(part(&SequenceComponents::zero)));
}

QJsonObject sequenceJson(const CutAnalysis& cut)
{
    QJsonObject sequence;
    insertSequence(sequence, QLatin1Char('U'), cut.voltageSequence);
    insertSequence(sequence, QLatin1Char('I'), cut.currentSequence);
    return sequence;
}

QJsonObject distancesJson(const FaultReport& report, double LineDistance::*unit, int decimals)
{
    const auto value = [&](const std::optional<LineDistance>& distance) {
        return distance ? rounded((*distance).*unit, decimals) : QJsonValue(QJsonValue::Null);
    };
    return QJsonObject{{QStringLiteral("reactance"), value(report.reactance)},
                       {QStringLiteral("takagi"), value(report.takagi)},
                       {QStringLiteral("negative_sequence"), value(report.negativeSequence)}};
}

QJsonValue angleReferenceJson(const CutAnalysis& cut)
{
    if (!cut.window)
        return QJsonValue::Null;
    switch (cut.angleReference) {
    case AngleReference::UA: return QStringLiteral("UA");
    case AngleReference::IA: return QStringLiteral("IA");
    case AngleReference::WindowStart: break;
    }
    return QJsonValue::Null;
}

QJsonObject faultJson(const Recording& recording, const FeederFaultReport& feeder, const LineData& line)
{
    const FaultReport& report = feeder.report;
    const CutAnalysis& cut = report.atWindow;
    QJsonObject fault{
        {QStringLiteral("type"), faultTypeLetters(report.type)},
        {QStringLiteral("inception_ms"), rounded(report.inceptionMs, msDecimals)},
        {QStringLiteral("clearing_ms"), rounded(report.clearingMs, msDecimals)},
        {QStringLiteral("duration_ms"), rounded(report.durationMs, msDecimals)},
        {QStringLiteral("began_before_recording"), report.beganBeforeRecording},
        {QStringLiteral("later_type"),
         textOrNull(report.laterType ? faultTypeLetters(*report.laterType) : QString())},
        {QStringLiteral("later_ms"), rounded(report.laterMs, msDecimals)},
        {QStringLiteral("window_ms"), spanJson(report.windowStartMs, report.windowEndMs)},
        {QStringLiteral("loop"), faultLoopLetters(report.loop)},
        {QStringLiteral("angle_reference"), angleReferenceJson(cut)},
        {QStringLiteral("k0"), pairJson(line.isGiven() ? std::optional<Complex>(cut.compensation.k0) : std::nullopt,
                                        k0Decimals)},
        {QStringLiteral("impedance_ohm"), pairJson(report.loopImpedance, ohmDecimals)},
        {QStringLiteral("phasors"), phasorsJson(cut, feeder.set)},
        {QStringLiteral("sequence"), sequenceJson(cut)},
    };
    const std::optional<int> prefaultLast =
        report.prefaultWindow ? std::optional<int>(report.prefaultWindow->first + report.prefaultWindow->count - 1)
                              : std::nullopt;
    fault.insert(QStringLiteral("prefault_window_ms"),
                 spanJson(report.prefaultWindow ? std::optional<double>(msAt(recording, report.prefaultWindow->first))
                                                : std::nullopt,
                          msAt(recording, prefaultLast)));
    if (line.isGiven()) {
        fault.insert(QStringLiteral("distance_km"), distancesJson(report, &LineDistance::km, kmDecimals));
        fault.insert(QStringLiteral("distance_percent"), distancesJson(report, &LineDistance::percent, percentDecimals));
    }
    return fault;
}

QJsonValue eventJson(const FeederFaultReport& feeder)
{
    if (!feeder.set.hasCurrents())
        return QJsonValue::Null;
    switch (feeder.report.event) {
    case SetEvent::Steady: return QStringLiteral("steady");
    case SetEvent::LoadChange: return QStringLiteral("load_change");
    case SetEvent::Energisation: return QStringLiteral("energisation");
    case SetEvent::Fault: break;
    }
    return QStringLiteral("fault");
}

QJsonObject feederJson(const Recording& recording, const FeederFaultReport& feeder, const LineData& line)
{
    const bool fault = feeder.set.hasCurrents() && feeder.report.event == SetEvent::Fault;
    return QJsonObject{
        {QStringLiteral("name"), feeder.set.name},
        {QStringLiteral("channels"), channelsJson(recording, feeder.set)},
        {QStringLiteral("rotation"),
         feeder.rotation == PhaseRotation::Acb ? QStringLiteral("ACB") : QStringLiteral("ABC")},
        {QStringLiteral("event"), eventJson(feeder)},
        {QStringLiteral("event_ms"), rounded(msAt(recording, feeder.report.eventSample), msDecimals)},
        {QStringLiteral("fault"), fault ? QJsonValue(faultJson(recording, feeder, line)) : QJsonValue::Null},
    };
}

} // namespace

QJsonObject recordingReportJson(const QString& file, const Recording& recording,
                                const QVector<FeederFaultReport>& feeders, const LineData& line)
{
    QJsonArray array;
    for (const FeederFaultReport& feeder : feeders)
        array.append(feederJson(recording, feeder, line));
    return QJsonObject{{QStringLiteral("file"), file}, {QStringLiteral("feeders"), array}};
}

QJsonObject unreadableRecordingJson(const QString& file, const QString& message)
{
    return QJsonObject{{QStringLiteral("file"), file}, {QStringLiteral("error"), message}};
}

} // namespace VornaLumeto
