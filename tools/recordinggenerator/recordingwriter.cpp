#include "recordingwriter.h"
#include "rawsamples.h"

#include <QFile>
#include <QStringList>
#include <QTextCodec>
#include <QtEndian>

#include <charconv>
#include <cstring>

namespace LumetoTools {
namespace {

// The early layout counts samples in 16 bits.
constexpr int largestEarlySampleCount = 65535;
constexpr int digitalChannelsPerWord = 16;

const QString lineEnd = QStringLiteral("\r\n");

QString decimal(double value)
{
    QString text = QString::number(value, 'f', 7);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

// dd/mm/yyyy,hh:mm:ss.ffffff of a moment microseconds after 15 March 2024 10:31:20.25.
QString timeStampLine(qint64 offsetMicroseconds)
{
    const qint64 sinceMidnight = (10 * 3600 + 31 * 60 + 20) * 1000000ll + 250000 + offsetMicroseconds;
    const qint64 seconds = sinceMidnight / 1000000;
    return QStringLiteral("15/03/2024,%1:%2:%3.%4")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'))
        .arg(sinceMidnight % 1000000, 6, 10, QLatin1Char('0'));
}

bool isEarly(const RecordingForm& form)
{
    return form.revision < 1999;
}

QString dataFormatName(DataFormat format)
{
    switch (format) {
    case DataFormat::Binary: return QStringLiteral("BINARY");
    case DataFormat::Binary32: return QStringLiteral("BINARY32");
    case DataFormat::Float32: return QStringLiteral("FLOAT32");
    case DataFormat::Ascii: break;
    }
    return QStringLiteral("ASCII");
}

// The early layout: station and recorder only; later ones add the revision year.
QString stationLine(const GeneratedRecording& recording, const RecordingForm& form)
{
    QString line = recording.stationName + QLatin1Char(',') + QString::number(recording.recorderId);
    if (!isEarly(form))
        line += QLatin1Char(',') + QString::number(form.revision);
    return line;
}

// Ten fields in the early layout; primary, secondary and P/S after them later.
QString analogLine(int number, const GeneratedAnalogChannel& channel, const RecordingForm& form)
{
    QStringList fields{QString::number(number), channel.id, channel.phase, channel.circuit, channel.unit,
                       decimal(channel.multiplier), QStringLiteral("0"), QStringLiteral("0"),
                       QString::number(-rawLimit), QString::number(rawLimit)};
    if (!isEarly(form))
        fields << decimal(channel.primary) << decimal(channel.secondary) << channel.primaryOrSecondary;
    return fields.join(QLatin1Char(','));
}

// Number, name and normal state in the early layout; phase and circuit between them later.
QString digitalLine(int number, const GeneratedDigitalChannel& channel, const RecordingForm& form)
{
    if (isEarly(form))
        return QStringLiteral("%1,%2,%3").arg(number).arg(channel.id).arg(channel.normalState);
    return QStringLiteral("%1,%2,,,%3").arg(number).arg(channel.id).arg(channel.normalState);
}

QString samplingLines(const GeneratedRecording& recording)
{
    QString text = QString::number(recording.segments.size()) + lineEnd;
    int endSample = 0;
    for (const SamplingSegment& segment : recording.segments) {
        endSample += segment.samples;
        text += QStringLiteral("%1,%2").arg(segment.rate).arg(endSample) + lineEnd;
    }
    return text;
}

QString configurationText(const GeneratedRecording& recording, const RecordingForm& form)
{
    const int analogCount = recording.analog.size();
    const int digitalCount = recording.digital.size();
    QString text;
    text += stationLine(recording, form) + lineEnd;
    text += QStringLiteral("%1,%2A,%3D").arg(analogCount + digitalCount).arg(analogCount).arg(digitalCount) + lineEnd;
    for (int c = 0; c < analogCount; ++c)
        text += analogLine(c + 1, recording.analog.at(c), form) + lineEnd;
    for (int d = 0; d < digitalCount; ++d)
        text += digitalLine(d + 1, recording.digital.at(d), form) + lineEnd;
    text += QString::number(recording.lineFrequency) + lineEnd;
    text += samplingLines(recording);
    const QString start = recording.startTimeStamp.isEmpty() ? timeStampLine(0) : recording.startTimeStamp;
    const QString trigger = recording.triggerTimeStamp.isEmpty()
                                ? timeStampLine(recording.timeStamps.at(recording.triggerSample))
                                : recording.triggerTimeStamp;
    text += start + lineEnd;
    text += trigger + lineEnd;
    text += dataFormatName(form.format) + lineEnd;
    if (!isEarly(form))
        text += QStringLiteral("1") + lineEnd;  // timemult
    if (form.revision >= 2013)
        text += QStringLiteral("+3,+3") + lineEnd + QStringLiteral("0,0") + lineEnd;  // time code, time quality
    return text;
}

char* appendNumber(char* out, char* end, qint64 value)
{
    return std::to_chars(out, end, value).ptr;
}

QByteArray asciiData(const GeneratedRecording& recording)
{
    const int samples = recording.timeStamps.size();
    const int longestRow = 24 + 12 * (recording.analog.size() + recording.digital.size());
    QByteArray row(longestRow, Qt::Uninitialized);
    char* const begin = row.data();
    char* const end = begin + row.size();
    QByteArray bytes;
    for (int k = 0; k < samples; ++k) {
        char* out = appendNumber(begin, end, k + 1);
        *out++ = ',';
        out = appendNumber(out, end, recording.timeStamps.at(k));
        for (const GeneratedAnalogChannel& channel : recording.analog) {
            *out++ = ',';
            out = appendNumber(out, end, channel.raw.at(k));
        }
        for (const GeneratedDigitalChannel& channel : recording.digital) {
            *out++ = ',';
            *out++ = char('0' + channel.states.at(k));
        }
        *out++ = '\r';
        *out++ = '\n';
        bytes.append(begin, int(out - begin));
    }
    return bytes;
}

template <typename Value>
void appendLittleEndian(QByteArray& bytes, Value value)
{
    char raw[sizeof(Value)];
    qToLittleEndian(value, raw);
    bytes.append(raw, int(sizeof(Value)));
}

void appendValue(QByteArray& bytes, DataFormat format, qint32 raw)
{
    switch (format) {
    case DataFormat::Binary: appendLittleEndian<qint16>(bytes, qint16(raw)); break;
    case DataFormat::Binary32: appendLittleEndian<qint32>(bytes, raw); break;
    case DataFormat::Float32: {
        const float value = float(raw);
        quint32 bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        appendLittleEndian<quint32>(bytes, bits);
        break;
    }
    case DataFormat::Ascii: break;
    }
}

// Each record: sample number and time stamp (4 bytes each), the analog
// values, then the digital states, sixteen to a 2-byte word, channel 1 in bit 0.
QByteArray binaryData(const GeneratedRecording& recording, DataFormat format)
{
    const int digitalWords = (recording.digital.size() + digitalChannelsPerWord - 1) / digitalChannelsPerWord;
    const int valueBytes = format == DataFormat::Binary ? 2 : 4;
    QByteArray bytes;
    bytes.reserve(recording.timeStamps.size() * (8 + valueBytes * recording.analog.size() + 2 * digitalWords));
    for (int k = 0; k < recording.timeStamps.size(); ++k) {
        appendLittleEndian<quint32>(bytes, quint32(k + 1));
        appendLittleEndian<quint32>(bytes, quint32(recording.timeStamps.at(k)));
        for (const GeneratedAnalogChannel& channel : recording.analog)
            appendValue(bytes, format, channel.raw.at(k));
        for (int w = 0; w < digitalWords; ++w) {
            quint16 word = 0;
            for (int bit = 0; bit < digitalChannelsPerWord && w * digitalChannelsPerWord + bit < recording.digital.size();
                 ++bit)
                word |= quint16(recording.digital.at(w * digitalChannelsPerWord + bit).states.at(k) << bit);
            appendLittleEndian<quint16>(bytes, word);
        }
    }
    return bytes;
}

QByteArray sectionTitle(const QByteArray& title)
{
    return "--- file type: " + title + " ---\r\n";
}

// One .cff: the configuration, empty information and header sections, then the data.
QByteArray combinedBytes(const GeneratedRecording& recording, const RecordingForm& form)
{
    const QByteArray data = dataBytes(recording, form);
    QByteArray dataTitle = "DAT " + dataFormatName(form.format).toLatin1();
    if (form.format != DataFormat::Ascii)
        dataTitle += ": " + QByteArray::number(data.size());
    return sectionTitle("CFG") + configurationBytes(recording, form) + sectionTitle("INF") + sectionTitle("HDR")
           + sectionTitle(dataTitle) + data;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

QString formProblem(const GeneratedRecording& recording, const RecordingForm& form)
{
    if (form.revision != 1991 && form.revision != 1999 && form.revision != 2013)
        return QStringLiteral("the revision must be 1991, 1999 or 2013");
    if (form.revision < 2013 && (form.combined || form.format == DataFormat::Binary32 || form.format == DataFormat::Float32))
        return QStringLiteral("BINARY32, FLOAT32 and the .cff file came with the 2013 revision");
    if (isEarly(form) && recording.timeStamps.size() > largestEarlySampleCount)
        return QStringLiteral("the 1991 layout holds at most %1 samples").arg(largestEarlySampleCount);
    QTextCodec* codec = QTextCodec::codecForName(form.encoding);
    if (!codec)
        return QStringLiteral("unknown encoding: %1").arg(QString::fromLatin1(form.encoding));
    if (!codec->canEncode(configurationText(recording, form)))
        return QStringLiteral("the names cannot be written in %1").arg(QString::fromLatin1(form.encoding));
    return QString();
}

QByteArray configurationBytes(const GeneratedRecording& recording, const RecordingForm& form)
{
    return QTextCodec::codecForName(form.encoding)->fromUnicode(configurationText(recording, form));
}

QByteArray dataBytes(const GeneratedRecording& recording, const RecordingForm& form)
{
    return form.format == DataFormat::Ascii ? asciiData(recording) : binaryData(recording, form.format);
}

QString recordingPath(const QString& basePath, const RecordingForm& form)
{
    return basePath + (form.combined ? QStringLiteral(".cff") : QStringLiteral(".cfg"));
}

bool writeRecording(const QString& basePath, const GeneratedRecording& recording, const RecordingForm& form)
{
    if (!formProblem(recording, form).isEmpty())
        return false;
    if (form.combined)
        return writeFile(recordingPath(basePath, form), combinedBytes(recording, form));
    return writeFile(basePath + QStringLiteral(".cfg"), configurationBytes(recording, form))
           && writeFile(basePath + QStringLiteral(".dat"), dataBytes(recording, form));
}

} // namespace LumetoTools
