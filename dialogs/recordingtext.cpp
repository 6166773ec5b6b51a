#include "dialogs/recordingtext.h"

#include "comtrade/dialect/dialectmessages.h"

namespace VornaLumeto {

namespace {

QString dayMonthYear(const TimeStamp& stamp, const QString& separator)
{
    return twoDigits(stamp.day) + separator + twoDigits(stamp.month) + separator
           + QString::number(stamp.year);
}

QString hourMinute(const TimeStamp& stamp, const QString& separator)
{
    return twoDigits(stamp.hour) + separator + twoDigits(stamp.minute);
}

} // namespace

QString twoDigits(int value)
{
    const QString digits = QString::number(value);
    return digits.size() == 1 ? QLatin1Char('0') + digits : digits;
}

QString timeStampText(const TimeStamp& stamp)
{
    QString seconds = QString::number(stamp.seconds, 'f', 6);
    if (seconds.indexOf(QLatin1Char('.')) < 2)
        seconds.prepend(QLatin1Char('0'));
    return dayMonthYear(stamp, QStringLiteral("/")) + QLatin1Char(' ')
           + hourMinute(stamp, QStringLiteral(":")) + QLatin1Char(':') + seconds;
}

QString durationText(const QVector<double>& rawTimeAxis)
{
    const double duration = rawTimeAxis.isEmpty() ? 0.0 : rawTimeAxis.last() - rawTimeAxis.first();
    return QString::number(duration, 'g', 6) + dialectText(" мс");
}

QString shortSecondsText(double seconds)
{
    return QString::number(seconds, 'g', 6);
}

QString fileNameSafe(const QString& text)
{
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    QString safe = text;
    for (QChar& character : safe) {
        if (forbidden.contains(character) || character.category() == QChar::Other_Control)
            character = QLatin1Char('_');
    }
    return safe;
}

QString defaultPdfName(const QString& stationName, const TimeStamp& trigger)
{
    return dialectText("Осциллограмма ") + fileNameSafe(stationName) + QLatin1Char(' ')
           + dayMonthYear(trigger, QStringLiteral("_")) + QLatin1Char(' ')
           + hourMinute(trigger, QStringLiteral("_")) + QLatin1Char('_')
           + shortSecondsText(trigger.seconds) + QStringLiteral(" 1.pdf");
}

QString uniquePdfName(const QString& defaultName, const QStringList& existing)
{
    QString name = defaultName;
    int counter = 1;
    while (existing.contains(name)) {
        ++counter;
        name = name.left(name.lastIndexOf(QLatin1Char(' ')) + 1) + QString::number(counter)
               + QStringLiteral(".pdf");
    }
    return name;
}

QString printedRecorderId(const Recording& recording)
{
    return recording.standard.fromStandardReader ? recording.standard.recorderId
                                                 : QString::number(quint32(recording.recorderId));
}

QString printHeaderText(const QString& stationName, const QString& recorderId, const TimeStamp& trigger)
{
    return dialectText("Осциллограмма. ") + dialectText("Имя регистратора: ") + stationName
           + dialectText(". Номер регистратора: ") + recorderId
           + dialectText(". Дата и время пуска: ") + dayMonthYear(trigger, QStringLiteral("/"))
           + QLatin1Char(' ') + hourMinute(trigger, QStringLiteral(":")) + QLatin1Char(':')
           + shortSecondsText(trigger.seconds) + QLatin1Char('.');
}

QString fittedPrintHeaderText(const QString& stationName, const QString& recorderId,
                              const TimeStamp& trigger, const QFontMetrics& metrics, int width)
{
    const QString whole = printHeaderText(stationName, recorderId, trigger);
    if (metrics.horizontalAdvance(whole) <= width)
        return whole;
    const int withoutName = metrics.horizontalAdvance(printHeaderText(QString(), recorderId, trigger));
    return printHeaderText(metrics.elidedText(stationName, Qt::ElideRight, width - withoutName),
                           recorderId, trigger);
}

} // namespace VornaLumeto
