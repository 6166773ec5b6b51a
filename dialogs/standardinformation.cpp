#include "dialogs/standardinformation.h"

#include "comtrade/common/recordingsampling.h"

#include <QCoreApplication>
#include <QMap>
#include <QStringList>

namespace VornaLumeto {
namespace {

// Up to this many analog channels get a row each; beyond, the factors are summed up.
constexpr int channelsListedOneByOne = 16;

QString dialectText(const char* text)
{
    return QCoreApplication::translate("VornaLumeto::COMTRADE_read", text);
}

QString number(double value)
{
    return QString::number(value, 'g', 10);
}

QString orDash(const QString& text)
{
    return text.isEmpty() ? dialectText("-") : text;
}

// "4000 Гц: отсчёты 1–2000; 1000 Гц: отсчёты 2001–5000".
QString ratesText(const QVector<SamplingStretch>& stretches)
{
    QStringList parts;
    for (const SamplingStretch& stretch : stretches)
        parts.append(dialectText("%1 Гц: отсчёты %2–%3").arg(number(stretch.rate)).arg(stretch.first + 1).arg(stretch.end));
    return parts.join(QLatin1Char('\n'));
}

QString joinedCodes(const QString& first, const QString& second)
{
    QStringList codes{first, second};
    codes.removeAll(QString());
    return orDash(codes.join(QStringLiteral(", ")));
}

// Each distinct set of factors with the number of channels that have it, in the order first met.
QString scalingSummary(const QVector<AnalogScaling>& scalings)
{
    QStringList order;
    QMap<QString, int> counts;
    for (const AnalogScaling& scaling : scalings) {
        const QString text = scalingText(scaling);
        if (!counts.contains(text))
            order.append(text);
        ++counts[text];
    }
    QStringList parts;
    for (const QString& text : order)
        parts.append(dialectText("%1 (каналов: %2)").arg(text).arg(counts.value(text)));
    return parts.join(QLatin1Char('\n'));
}

void appendScalingRows(const Recording& recording, QVector<InformationRow>& rows)
{
    const QVector<AnalogScaling>& scalings = recording.standard.analogScaling;
    if (scalings.isEmpty())
        return;
    if (scalings.size() > channelsListedOneByOne) {
        rows.append({dialectText("Коэффициенты трансформации: "), scalingSummary(scalings)});
        return;
    }
    rows.append({dialectText("Коэффициенты трансформации: "), dialectText("первичный / вторичный, P/S")});
    for (int c = 0; c < scalings.size() && c < recording.analogChannels.size(); ++c)
        rows.append({recording.analogChannels.at(c).id + QStringLiteral(": "), scalingText(scalings.at(c))});
}

// "45 из 300 аналоговых каналов", one a line for channels of each kind and for
// samples the data file does not hold: what the warning at opening said, in short.
QString leftOutText(const StandardDescription& standard)
{
    QStringList lines;
    if (standard.analogLeftOut > 0)
        lines.append(dialectText("%1 из %2 аналоговых каналов").arg(standard.analogLeftOut).arg(standard.fileAnalogCount));
    if (standard.digitalLeftOut > 0)
        lines.append(dialectText("%1 из %2 дискретных каналов").arg(standard.digitalLeftOut).arg(standard.fileDigitalCount));
    if (standard.readSamples < standard.promisedSamples)
        lines.append(dialectText("%1 из %2 отсчётов").arg(standard.promisedSamples - standard.readSamples).arg(standard.promisedSamples));
    return lines.join(QLatin1Char('\n'));
}

} // namespace

QString scalingText(const AnalogScaling& scaling)
{
    const QString factors = number(scaling.primary) + QStringLiteral(" / ") + number(scaling.secondary);
    return scaling.primaryOrSecondary.isEmpty() ? factors : factors + QStringLiteral(", ") + scaling.primaryOrSecondary;
}

QVector<InformationRow> standardInformationRows(const Recording& recording)
{
    const StandardDescription& standard = recording.standard;
    QVector<InformationRow> rows = {
        {dialectText("Редакция формата: "), QString::number(standard.revisionYear)},
        {dialectText("Тип данных: "), standard.dataType},
        {dialectText("Идентификатор регистратора: "), orDash(standard.recorderId)},
    };
    const RecordingSampling sampling = recordingSampling(recording);
    if (sampling.stretches.size() > 1)
        rows.append({dialectText("Частоты дискретизации: "), ratesText(sampling.stretches)});
    rows.append({dialectText("Множитель времени (timemult): "), number(standard.timeMultiplier)});
    rows.append({dialectText("Код времени: "), joinedCodes(standard.timeCode, standard.localCode)});
    rows.append({dialectText("Качество времени: "), joinedCodes(standard.timeQuality, standard.leapSecond)});
    rows.append({dialectText("Кодировка конфигурации: "), orDash(standard.encoding)});
    appendScalingRows(recording, rows);
    const QString leftOut = leftOutText(standard);
    if (!leftOut.isEmpty())
        rows.append({dialectText("Не показано: "), leftOut});
    return rows;
}

} // namespace VornaLumeto
