#include "comtrade/datareader.h"

#include "comtrade/exactsize.h"
#include "comtrade/frequencytracking.h"
#include "comtrade/spacenormalization.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QIODevice>

#include <cstring>
#include <limits>

namespace VornaLumeto {
namespace {

// Longest data line seen so far is kept as capacity, so readLine never allocates
// after the first few lines.
constexpr int initialLineCapacity = 4096;

// How a field may end: at a comma only, or at the end of the line (the last field).
enum class FieldEnd { Comma, LineEnd };

// Which characters a field may hold.
enum class FieldKind { Digits, DigitsAndMinus, BinaryDigits };

constexpr qint64 largestInt = std::numeric_limits<qint32>::max();

// Reads one field from cursor, checking its characters and converting it the
// way QString::toInt (base 10) converts such text: an optional leading '-',
// then at least one digit; text that does not convert (such as 1-2 or a lone
// '-') and values outside 32 bits give 0. On success cursor moves past the
// field and its comma.
template <FieldKind kind>
bool readField(const char*& cursor, const char* lineEnd, FieldEnd fieldEnd, qint32& value)
{
    const char* p = cursor;
    const bool negative = kind == FieldKind::DigitsAndMinus && p < lineEnd && *p == '-';
    if (negative)
        ++p;
    const char* const digitsBegin = p;
    qint64 magnitude = 0;
    bool converts = true;
    for (; p < lineEnd && *p != ',';) {
        const char c = *p++;
        const bool digit = kind == FieldKind::BinaryDigits ? (c == '0' || c == '1') : (c >= '0' && c <= '9');
        if (digit) {
            magnitude = qMin(magnitude * 10 + (c - '0'), largestInt + 2);  // capped: only "too large" matters
        } else if (kind == FieldKind::DigitsAndMinus && c == '-') {
            converts = false;
        } else {
            return false;
        }
    }
    const bool endsAtComma = p < lineEnd;
    if (endsAtComma != (fieldEnd == FieldEnd::Comma))
        return false;
    const qint64 limit = negative ? largestInt + 1 : largestInt;
    converts = converts && p != digitsBegin && magnitude <= limit;
    value = converts ? qint32(negative ? -magnitude : magnitude) : 0;
    cursor = endsAtComma ? p + 1 : p;
    return true;
}

FieldEnd endOfField(int fieldIndex, int fieldCount)
{
    return fieldIndex + 1 == fieldCount ? FieldEnd::LineEnd : FieldEnd::Comma;
}

// Spaces are rare in data files; skipping the normalisation when there is none
// keeps the common line free of any rewriting.
void normalizeBeforeTerminator(QByteArray& line)
{
    int terminatorLength = 0;
    if (line.endsWith("\r\n"))
        terminatorLength = 2;
    else if (line.endsWith('\n'))
        terminatorLength = 1;
    const int contentLength = line.size() - terminatorLength;
    if (!std::memchr(line.constData(), ' ', size_t(contentLength)))
        return;

    static const char crLf[] = "\r\n";
    line.chop(terminatorLength);
    normalizeSpaces(line);
    line.append(crLf + 2 - terminatorLength, terminatorLength);
}

void removeLineTerminator(QByteArray& line)
{
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
}

// Reads one line, however long, into the reused buffer; an empty buffer means
// the end of the device.
void readLineInto(QIODevice& device, QByteArray& buffer)
{
    int length = 0;
    for (;;) {
        if (buffer.capacity() - length < initialLineCapacity)
            buffer.reserve(2 * buffer.capacity() + initialLineCapacity);
        buffer.resize(buffer.capacity());
        const qint64 read = device.readLine(buffer.data() + length, buffer.size() - length);
        if (read > 0)
            length += int(read);
        const bool lineComplete = read <= 0 || buffer.at(length - 1) == '\n'
                                  || length < buffer.size() - 1;
        if (lineComplete)
            break;
    }
    buffer.resize(length);
}

QString dataLineMessage(int lineNumber, const QByteArray& line)
{
    return QCoreApplication::translate("VornaLumeto::COMTRADE_read", "Ошибка в *.dat файле, в строке №")
           + QString::number(lineNumber) + QStringLiteral(": ")
           + QString::fromLocal8Bit(line.constData(), int(qstrnlen(line.constData(), uint(line.size()))));
}

// Gives each (empty) series its own storage of length values and returns where each starts.
QVector<double*> allocateColumns(QVector<QVector<double>>& series, int length)
{
    QVector<double*> columns;
    columns.reserve(series.size());
    for (QVector<double>& column : series) {
        resizeExactly(column, length);
        columns.append(column.data());
    }
    return columns;
}

quint32 roundedMilliseconds(qint32 microseconds)
{
    return (quint32(microseconds) + 500u) / 1000u;
}

} // namespace

QString dataFilePath(const QString& configurationPath)
{
    const QString stem = configurationPath.left(qMax(0, configurationPath.size() - 3));
    const QString path = stem + QStringLiteral("dat");
    if (configurationPath.endsWith(QStringLiteral("CFG")) && !QFileInfo::exists(path))
        return stem + QStringLiteral("DAT");
    return path;
}

bool parseDataLine(QByteArray& line, SampleRow& row,
                   quint8 totalChannelCount, quint8 analogCount, quint8 digitalCount)
{
    normalizeBeforeTerminator(line);
    removeLineTerminator(line);
    if (line.isEmpty())
        return false;

    // Every field but the last must end at a comma and the last at the line end:
    // that is exactly totalChannelCount + 1 commas, checked in the same pass.
    const int fieldCount = totalChannelCount + 2;
    const char* cursor = line.constData();
    const char* const lineEnd = cursor + line.size();
    int field = 0;
    if (!readField<FieldKind::Digits>(cursor, lineEnd, endOfField(field++, fieldCount), row.number))
        return false;
    if (!readField<FieldKind::Digits>(cursor, lineEnd, endOfField(field++, fieldCount), row.timeStamp))
        return false;

    qint32* analog = row.analog.data();
    for (int c = 0; c < analogCount; ++c) {
        if (!readField<FieldKind::DigitsAndMinus>(cursor, lineEnd, endOfField(field++, fieldCount), analog[c]))
            return false;
    }
    quint8* digital = row.digital.data();
    for (int d = 0; d < digitalCount; ++d) {
        qint32 state = 0;
        if (!readField<FieldKind::BinaryDigits>(cursor, lineEnd, endOfField(field++, fieldCount), state))
            return false;
        digital[d] = state != 0 ? 1 : 0;
    }
    return field == fieldCount;
}

QString readDataRows(QIODevice& device, Recording& recording)
{
    const int sampleCount = qMax(0, recording.sampleCount());  // the configuration reader refuses 0 already
    resizeExactly(recording.samples, sampleCount);
    recording.rawTimeAxis.reserve(sampleCount);

    QByteArray lineBuffer;
    lineBuffer.reserve(initialLineCapacity);
    for (int k = 0; k < sampleCount; ++k) {
        SampleRow& row = recording.samples[k];
        resizeExactly(row.analog, recording.analogCount);
        resizeExactly(row.digital, recording.digitalCount);
        readLineInto(device, lineBuffer);
        if (!parseDataLine(lineBuffer, row, recording.totalChannelCount,
                           recording.analogCount, recording.digitalCount))
            return dataLineMessage(k + 1, lineBuffer);
        recording.rawTimeAxis.append(double(roundedMilliseconds(row.timeStamp)));
        lineBuffer.resize(0);
    }
    return QString();
}

void correctTimeAxis(Recording& recording)
{
    const QVector<double>& raw = recording.rawTimeAxis;
    QVector<double>& corrected = recording.timeAxis;
    corrected.clear();
    if (raw.isEmpty())
        return;

    const int sampleCount = raw.size();
    const double step = raw.last() / sampleCount;
    corrected.reserve(sampleCount);
    corrected.append(raw.first());
    for (int j = 1; j < sampleCount; ++j) {
        const double previous = corrected.at(j - 1);
        const double recorded = raw.at(j);
        const bool whereExpected = recorded >= previous + 0.5 * step && recorded <= previous + 1.5 * step;
        corrected.append(whereExpected ? recorded : previous + step);
    }
}

void buildValueSeries(Recording& recording)
{
    const int sampleCount = recording.samples.size();
    const int analogCount = recording.analogCount;
    const int digitalCount = recording.digitalCount;

    // One pass over the rows fills every channel's vector: the rows are separate
    // allocations, so walking them once per channel would miss the cache each time.
    QVector<QVector<double>> analogValues(analogCount);
    QVector<QVector<double>> digitalValues(digitalCount);
    const QVector<double*> analogColumns = allocateColumns(analogValues, sampleCount);
    const QVector<double*> digitalColumns = allocateColumns(digitalValues, sampleCount);

    for (int k = 0; k < sampleCount; ++k) {
        const SampleRow& row = recording.samples.at(k);
        const qint32* analog = row.analog.constData();
        for (int c = 0; c < analogCount; ++c)
            analogColumns[c][k] = analog[c];
        const quint8* digital = row.digital.constData();
        for (int d = 0; d < digitalCount; ++d)
            digitalColumns[d][k] = digital[d];
    }

    recording.channelFrequency.reserve(analogCount);
    recording.frequencyDeviation.reserve(analogCount);
    for (int c = 0; c < analogCount; ++c) {
        FrequencyTrack track = trackChannelFrequency(analogValues.at(c), recording.timeAxis);
        recording.channelFrequency.append(std::move(track.frequency));
        recording.frequencyDeviation.append(std::move(track.deviation));
    }
    recording.analogValues = std::move(analogValues);
    recording.digitalValues = std::move(digitalValues);
}

} // namespace VornaLumeto
