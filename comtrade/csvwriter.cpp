#include "comtrade/csvwriter.h"

#include <QCoreApplication>
#include <QIODevice>
#include <QStringList>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace VornaLumeto {
namespace {

// Rows gather in a buffer that is handed to the device whenever it holds this much.
constexpr int flushBytes = 1 << 20;
// The longest shortest form of a double, with room to spare.
constexpr int longestNumber = 32;

QString headerText(const char* source)
{
    return QCoreApplication::translate("VornaLumeto::CsvWriter", source);
}

// A field in double quotes when it holds a comma, a double quote or a line
// break, its double quotes doubled.
QString csvField(const QString& text)
{
    static const QString special = QStringLiteral(",\"\r\n");
    if (std::none_of(text.begin(), text.end(), [](QChar c) { return special.contains(c); }))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString channelTitle(const QString& id, const QString& unit)
{
    return unit.isEmpty() ? id : id + QStringLiteral(" (") + unit + QLatin1Char(')');
}

QByteArray headerRow(const Recording& recording)
{
    QStringList fields{headerText("Номер отсчёта"), headerText("Время, мс")};
    for (const AnalogChannel& channel : recording.analogChannels)
        fields.append(channelTitle(channel.id, channel.unit));
    for (const DigitalChannel& channel : recording.digitalChannels)
        fields.append(channel.id);
    for (QString& field : fields)
        field = csvField(field);
    return fields.join(QLatin1Char(',')).toUtf8() + "\r\n";
}

void appendNumber(QByteArray& row, double value)
{
    char digits[longestNumber];
    const std::to_chars_result result = std::to_chars(digits, digits + longestNumber, value);
    row.append(digits, int(result.ptr - digits));
}

void appendSampleRow(QByteArray& rows, const Recording& recording, int k)
{
    appendNumber(rows, k + 1);
    rows.append(',');
    appendNumber(rows, recording.timeAxis.at(k));
    for (int c = 0; c < recording.analogValues.size(); ++c) {
        rows.append(',');
        const double raw = recording.analogValues.at(c).at(k);
        if (!std::isnan(raw)) {
            const AnalogChannel& channel = recording.analogChannels.at(c);
            appendNumber(rows, channel.multiplier * raw + channel.offsetAdder);
        }
    }
    for (const QVector<double>& states : recording.digitalValues) {
        rows.append(',');
        rows.append(states.at(k) != 0.0 ? '1' : '0');
    }
    rows.append("\r\n");
}

bool writeAll(QIODevice& device, const QByteArray& bytes)
{
    return device.write(bytes) == bytes.size();
}

} // namespace

bool writeRecordingCsv(const Recording& recording, QIODevice& device)
{
    QByteArray rows = headerRow(recording);
    for (int k = 0; k < recording.timeAxis.size(); ++k) {
        appendSampleRow(rows, recording, k);
        if (rows.size() >= flushBytes) {
            if (!writeAll(device, rows))
                return false;
            rows.truncate(0);
        }
    }
    return writeAll(device, rows);
}

} // namespace VornaLumeto
