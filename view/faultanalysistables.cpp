#include "view/faultanalysistables.h"

#include "analysis/faulttype.h"
#include "analysis/unitprefix.h"
#include "view/cutrules.h"

#include <QCoreApplication>

#include <cmath>

namespace VornaLumeto {

namespace {

QString text(const char* source)
{
    return QCoreApplication::translate("VornaLumeto::FaultAnalysisWindow", source);
}

const QString noValue = QStringLiteral("-");

bool isVoltageRole(int role)
{
    return role < int(PhaseRole::IA);
}

// The first of three roles with a known ratio.
std::optional<double> firstRatio(const AnalysisDisplay& display, PhaseRole first)
{
    for (int role = int(first); role < int(first) + 3; ++role) {
        if (display.ratios[role])
            return display.ratios[role];
    }
    return std::nullopt;
}

// A primary value on the side shown; none on the secondary side without a ratio.
std::optional<double> onSide(double primary, const AnalysisDisplay& display, std::optional<double> ratio)
{
    if (display.side == ValueSide::Primary)
        return primary;
    if (!ratio)
        return std::nullopt;
    return secondaryValue(primary, *ratio);
}

// A value in volts or amperes written in the recording's unit of the channel,
// moved by the readouts' k/m rule: 63500 V of a kV channel read "63.5 kV".
QString measuredText(std::optional<double> base, const QString& unit)
{
    if (!base || !std::isfinite(*base))
        return noValue;
    const PrefixedValue shown = withUnitPrefix(*base / unitPrefixFactor(unit), unit);
    return QString::number(shown.value, 'g', 6) + QLatin1Char(' ') + shown.unit;
}

// Powers start from kilo units, so that the rule keeps their Cyrillic prefix.
QString powerText(std::optional<double> watts, const QString& kiloUnit)
{
    if (!watts || !std::isfinite(*watts))
        return noValue;
    const PrefixedValue shown = withUnitPrefix(*watts / 1000.0, kiloUnit);
    return QString::number(shown.value, 'g', 6) + QLatin1Char(' ') + shown.unit;
}

QString numberText(std::optional<double> value)
{
    return value && std::isfinite(*value) ? QString::number(*value, 'g', 6) : noValue;
}

QString angleText(const std::optional<Complex>& phasor)
{
    if (!phasor || !std::isfinite(phasor->real()) || !std::isfinite(phasor->imag()) || std::abs(*phasor) == 0.0)
        return noValue;
    double degrees = std::round(angleDegrees(*phasor) * 10.0) / 10.0;
    if (degrees == 0.0)
        degrees = 0.0;  // no "-0.0"
    return QString::number(degrees, 'f', 1);
}

QString percentText(std::optional<double> percent)
{
    return percent ? QString::number(*percent, 'f', 1) + QStringLiteral(" %") : noValue;
}

// Name, magnitude on the side shown, angle.
QStringList phasorRow(const QString& name, const std::optional<Complex>& phasor, const AnalysisDisplay& display,
                      const QString& unit, std::optional<double> ratio)
{
    const std::optional<double> magnitude =
        phasor ? onSide(std::abs(*phasor), display, ratio) : std::nullopt;
    return {name, measuredText(magnitude, unit), angleText(phasor)};
}

QString unitOf(const AnalysisDisplay& display, PhaseRole role)
{
    return display.units[int(role)];
}

struct QuantityRoles {
    PhaseRole firstPhase;
    PhaseRole residual;
    const char* names[3];
    const char* residualName;
    const char* sequenceNames[3];  // positive, negative, zero
};

const QuantityRoles voltageRoles{
    PhaseRole::UA, PhaseRole::UN, {"UA", "UB", "UC"}, "3U0", {"U1", "U2", "U0"}};
const QuantityRoles currentRoles{
    PhaseRole::IA, PhaseRole::IN, {"IA", "IB", "IC"}, "3I0", {"I1", "I2", "I0"}};

// "3I0 (изм.)" from the residual channel, "3I0 (расч.)" the sum of the phases.
QString residualName(const char* name, const std::optional<ResidualPhasor>& residual)
{
    const QString base = QString::fromLatin1(name);
    if (!residual)
        return base;
    return base + (residual->source == ResidualSource::Measured ? text(" (изм.)") : text(" (расч.)"));
}

TextTable phasorTable(const QString& title, const QuantityRoles& roles,
                      const std::array<std::optional<Complex>, 3>& phases,
                      const std::optional<ResidualPhasor>& residual,
                      const std::optional<SequenceComponents>& sequences, const AnalysisDisplay& display)
{
    TextTable table;
    table.title = title;
    table.header = QStringList{text("Величина"), text("Модуль"), text("Угол, °")};
    for (int p = 0; p < 3; ++p) {
        const PhaseRole role = PhaseRole(int(roles.firstPhase) + p);
        table.rows.append(phasorRow(QString::fromLatin1(roles.names[p]), phases[p], display, unitOf(display, role),
                                    display.ratios[int(role)]));
    }
    // A measured residual in its own channel's unit and ratio, a calculated one in phase A's.
    const bool measured = residual && residual->source == ResidualSource::Measured;
    const PhaseRole residualUnitRole = measured ? roles.residual : roles.firstPhase;
    const std::optional<double> residualRatio =
        measured ? display.ratios[int(roles.residual)] : firstRatio(display, roles.firstPhase);
    table.rows.append(phasorRow(residualName(roles.residualName, residual),
                                residual ? std::optional<Complex>(residual->value) : std::nullopt, display,
                                unitOf(display, residualUnitRole), residualRatio));
    const std::optional<Complex> sequenceValues[3] = {
        sequences ? std::optional<Complex>(sequences->positive) : std::nullopt,
        sequences ? std::optional<Complex>(sequences->negative) : std::nullopt,
        sequences ? std::optional<Complex>(sequences->zero) : std::nullopt};
    for (int s = 0; s < 3; ++s)
        table.rows.append(phasorRow(QString::fromLatin1(roles.sequenceNames[s]), sequenceValues[s], display,
                                    unitOf(display, roles.firstPhase), firstRatio(display, roles.firstPhase)));
    return table;
}

QStringList powerRow(const QString& name, const std::optional<Power>& power, std::optional<double> factor)
{
    if (!power || !factor)
        return {name, noValue, noValue, noValue, noValue};
    return {name, powerText(power->active * *factor, text("кВт")), powerText(power->reactive * *factor, text("квар")),
            powerText(power->apparent * *factor, text("кВ·А")),
            power->powerFactor ? QString::number(*power->powerFactor, 'f', 3) : noValue};
}

} // namespace

std::optional<double> AnalysisDisplay::vtRatio() const
{
    return firstRatio(*this, PhaseRole::UA);
}

std::optional<double> AnalysisDisplay::ctRatio() const
{
    return firstRatio(*this, PhaseRole::IA);
}

std::optional<double> AnalysisDisplay::impedanceFactor() const
{
    if (side == ValueSide::Primary)
        return 1.0;
    const std::optional<double> ct = ctRatio();
    const std::optional<double> vt = vtRatio();
    if (!ct || !vt)
        return std::nullopt;
    return secondaryImpedance(1.0, *ct, *vt).real();
}

AnalysisDisplay analysisDisplay(const Recording& recording, const ThreePhaseSet& set, const SetScaling& scaling,
                                ValueSide side)
{
    AnalysisDisplay display;
    display.side = side;
    for (int role = 0; role < phaseRoleCount; ++role) {
        const int channel = set.channels[role];
        const QString unit =
            channel >= 0 && channel < recording.analogChannels.size() ? recording.analogChannels.at(channel).unit.trimmed()
                                                                       : QString();
        // A channel that names its quantity only in its name still reads in volts or amperes.
        display.units[role] = !unit.isEmpty() ? unit : isVoltageRole(role) ? text("В") : text("А");
        if (scaling.roles[role].ratioKnown)
            display.ratios[role] = scaling.roles[role].ratio;
    }
    return display;
}

TextTable voltageTable(const CutAnalysis& analysis, const AnalysisDisplay& display)
{
    return phasorTable(text("Напряжения"), voltageRoles, analysis.voltages, analysis.residualVoltage,
                       analysis.voltageSequence, display);
}

TextTable currentTable(const CutAnalysis& analysis, const AnalysisDisplay& display)
{
    TextTable table = phasorTable(text("Токи"), currentRoles, analysis.currents, analysis.residualCurrent,
                                  analysis.currentSequence, display);
    table.rows.append({text("I2/I1"), percentText(analysis.negativeToPositivePercent), QString()});
    table.rows.append({text("I0/I1"), percentText(analysis.zeroToPositivePercent), QString()});
    return table;
}

TextTable powerTable(const CutAnalysis& analysis, const AnalysisDisplay& display)
{
    // Secondary power is primary power over both ratios.
    std::optional<double> factor = 1.0;
    if (display.side == ValueSide::Secondary) {
        const std::optional<double> vt = display.vtRatio();
        const std::optional<double> ct = display.ctRatio();
        factor = vt && ct ? std::optional<double>(1.0 / (*vt * *ct)) : std::nullopt;
    }
    TextTable table;
    table.title = text("Мощность");
    table.header = QStringList{text("Фаза"), text("P"), text("Q"), text("S"), text("cos φ")};
    const char* const phases[3] = {"A", "B", "C"};
    for (int p = 0; p < 3; ++p) {
        const std::optional<Power> power =
            analysis.power ? std::optional<Power>(analysis.power->phases[p]) : std::nullopt;
        table.rows.append(powerRow(QString::fromLatin1(phases[p]), power, factor));
    }
    const std::optional<Power> total = analysis.power ? std::optional<Power>(analysis.power->total) : std::nullopt;
    table.rows.append(powerRow(text("Сумма"), total, factor));
    return table;
}

TextTable loopTable(const CutAnalysis& analysis, const AnalysisDisplay& display)
{
    TextTable table;
    table.title = text("Сопротивления петель");
    table.header = QStringList{text("Петля"), text("R, Ом"), text("X, Ом"), text("|Z|, Ом"), text("Угол, °")};
    const std::optional<double> factor = display.impedanceFactor();
    for (int loop = 0; loop < faultLoopCount; ++loop) {
        const std::optional<Complex> z =
            analysis.loops[loop] && factor ? std::optional<Complex>(*analysis.loops[loop] * *factor) : std::nullopt;
        if (!z) {
            table.rows.append({faultLoopLetters(FaultLoop(loop)), noValue, noValue, noValue, noValue});
            continue;
        }
        table.rows.append({faultLoopLetters(FaultLoop(loop)), numberText(z->real()), numberText(z->imag()),
                           numberText(std::abs(*z)), angleText(z)});
    }
    return table;
}

QString tabSeparated(const QVector<TextTable>& tables)
{
    QStringList lines;
    for (const TextTable& table : tables) {
        if (!lines.isEmpty())
            lines.append(QString());
        lines.append(table.title);
        lines.append(table.header.join(QLatin1Char('\t')));
        for (const QStringList& row : table.rows)
            lines.append(row.join(QLatin1Char('\t')));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

double angleDegrees(Complex phasor)
{
    const double degrees = std::arg(phasor) * 180.0 / std::acos(-1.0);
    return degrees <= -180.0 ? degrees + 360.0 : degrees;
}

} // namespace VornaLumeto
