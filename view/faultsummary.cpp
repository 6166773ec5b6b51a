#include "view/faultsummary.h"

#include <QCoreApplication>

namespace VornaLumeto {

namespace {

QString text(const char* source)
{
    return QCoreApplication::translate("VornaLumeto::FaultAnalysisWindow", source);
}

QString msText(double ms)
{
    return QString::number(ms, 'g', 6);
}

QString lowerFirst(QString words)
{
    if (!words.isEmpty())
        words[0] = words.at(0).toLower();
    return words;
}

QString noFaultTitle(SetEvent event)
{
    switch (event) {
    case SetEvent::LoadChange:
        return text("Аварии нет: изменение нагрузки");
    case SetEvent::Energisation:
        return text("Аварии нет: включение присоединения");
    case SetEvent::Steady:
    case SetEvent::Fault:
        break;
    }
    return text("Аварии нет: только нагрузка");
}

QString noFaultDetail(const FaultReport& report, const QVector<double>& timeAxis)
{
    const bool timed = report.eventSample && *report.eventSample >= 0 && *report.eventSample < timeAxis.size();
    const QString at = timed ? msText(timeAxis.at(*report.eventSample)) : QString();
    switch (report.event) {
    case SetEvent::LoadChange:
        return timed ? text("Симметричное изменение токов в %1 мс; короткого замыкания нет.").arg(at)
                     : text("Симметричное изменение токов; короткого замыкания нет.");
    case SetEvent::Energisation:
        return timed ? text("Токи появились в %1 мс при нормальных напряжениях; короткого замыкания нет.").arg(at)
                     : text("Токи появились при нормальных напряжениях; короткого замыкания нет.");
    case SetEvent::Steady:
    case SetEvent::Fault:
        break;
    }
    return text("Токи за всю запись не менялись: ни короткого замыкания, ни изменения нагрузки.");
}

// "Начало: 100 мс. Отключение: 180 мс. Длительность: 80 мс."
QString timesLine(const FaultReport& report)
{
    QStringList parts;
    if (report.beganBeforeRecording)
        parts.append(text("Начало: до начала записи (осциллограмма начинается во время аварии)."));
    else if (report.inceptionMs)
        parts.append(text("Начало: %1 мс.").arg(msText(*report.inceptionMs)));
    parts.append(report.clearingMs ? text("Отключение: %1 мс.").arg(msText(*report.clearingMs))
                                   : text("Отключение: не записано (авария длится до конца записи)."));
    if (report.durationMs)
        parts.append(text("Длительность: %1 мс.").arg(msText(*report.durationMs)));
    return parts.join(QLatin1Char(' '));
}

QString evolutionLine(const FaultReport& report)
{
    const QString later = lowerFirst(faultTypeWords(*report.laterType));
    return report.laterMs ? text("Затем авария развилась: %1 с %2 мс; всё ниже — по первому виду.")
                                .arg(later, msText(*report.laterMs))
                          : text("Затем авария развилась: %1; всё ниже — по первому виду.").arg(later);
}

QString windowLine(const FaultReport& report, bool hasVoltages)
{
    const QString loop = hasVoltages ? text("Петля %1. ").arg(faultLoopLetters(report.loop)) : QString();
    if (!report.window || !report.windowStartMs || !report.windowEndMs)
        return loop + text("Окна расчёта нет: внутри аварии не записано целого периода.");
    return loop + text("Окно расчёта (один период): %1 … %2 мс.")
                      .arg(msText(*report.windowStartMs), msText(*report.windowEndMs));
}

// Kept on one line by no-break spaces: "39.34 км (39.3 %)".
QString distanceText(const std::optional<LineDistance>& distance, const QString& missing)
{
    if (!distance)
        return missing;
    return text("%1\u00a0км (%2\u00a0%)")
        .arg(QString::number(distance->km, 'f', 2), QString::number(distance->percent, 'f', 1));
}

QString distancesLine(const FaultReport& report, const LineData& line)
{
    const QString none = QStringLiteral("-");
    const QString takagi =
        distanceText(report.takagi, report.prefaultWindow ? none : text("нет доаварийного периода"));
    const QString negative = distanceText(report.negativeSequence, report.type == FaultType::ABC
                                                                       ? text("не для трёхфазного замыкания")
                                                                       : none);
    return text("Расстояние до места повреждения (линия %1\u00a0км): по реактивному сопротивлению %2; "
                "по Такаги %3; по обратной последовательности %4.")
        .arg(QString::number(line.lengthKm, 'g', 6), distanceText(report.reactance, none), takagi, negative);
}

} // namespace

QString faultTypeWords(FaultType type)
{
    const QString letters = faultTypeLetters(type);
    switch (type) {
    case FaultType::AG:
    case FaultType::BG:
    case FaultType::CG:
        return text("Однофазное замыкание фазы %1 на землю (%2)").arg(letters.left(1), letters);
    case FaultType::AB:
    case FaultType::BC:
    case FaultType::CA:
        return text("Двухфазное замыкание %1").arg(letters);
    case FaultType::ABG:
    case FaultType::BCG:
    case FaultType::CAG:
        return text("Двухфазное замыкание на землю %1").arg(letters);
    case FaultType::ABC:
        break;
    }
    return text("Трёхфазное замыкание (%1)").arg(letters);
}

FaultSummary faultSummary(const FaultReport& report, const QVector<double>& timeAxis, const SummaryInputs& inputs)
{
    FaultSummary summary;
    if (!inputs.hasCurrents) {
        summary.title = text("Аварию не определить: в группе нет трёх фазных токов");
        return summary;
    }
    if (report.event != SetEvent::Fault) {
        summary.title = noFaultTitle(report.event);
        summary.details.append(noFaultDetail(report, timeAxis));
        return summary;
    }
    summary.title = faultTypeWords(report.type);
    summary.details.append(timesLine(report));
    if (report.laterType)
        summary.details.append(evolutionLine(report));
    summary.details.append(windowLine(report, inputs.hasVoltages));
    if (!report.window)
        return summary;
    if (!inputs.hasVoltages) {
        summary.details.append(text("Расстояние до места повреждения: нужны фазные напряжения, в группе их нет."));
    } else if (!inputs.line.isGiven()) {
        summary.details.append(text("Расстояние до места повреждения: нужны параметры линии."));
        summary.lineDataWanted = true;
    } else {
        summary.details.append(distancesLine(report, inputs.line));
    }
    return summary;
}

} // namespace VornaLumeto
