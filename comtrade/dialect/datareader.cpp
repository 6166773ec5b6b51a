#include "comtrade/dialect/datareader.h"

#include "comtrade/common/datafields.h"
#include "comtrade/common/datalinereader.h"
#include "comtrade/common/exactsize.h"
#include "comtrade/common/frequencytracks.h"
#include "comtrade/common/linepadding.h"
#include "comtrade/common/parallel.h"
#include "comtrade/common/readingprogress.h"
#include "comtrade/common/timeaxis.h"
#include "comtrade/dialect/dialectmessages.h"
#include "comtrade/dialect/loadfailure.h"
#include "comtrade/dialect/spacenormalization.h"

#include <QFile>
#include <QIODevice>

#include <algorithm>
#include <cstring>

namespace VornaLumeto {
namespace {

using namespace DataFields;

static_assert(DataLineReader::paddingBytes >= paddedBytes, "lines in the reader's buffer must be padded for the field reader");

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

QString dataLineMessage(int lineNumber, const QByteArray& line)
{
    return dialectText("Ошибка в *.dat файле, в строке №")
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

// Where the channel fields of one row go.
struct ChannelFields {
    const char* lineEnd;
    int count;          // analog and digital
    int analogCount;
    qint32* analog;
    quint8* digital;
};

// Reads channel field k at cursor, an analog value or a digital state; the
// last channel field ends the line.
Q_ALWAYS_INLINE bool readChannelField(const char*& cursor, int k, const ChannelFields& fields)
{
    const FieldEnd fieldEnd = k + 1 == fields.count ? FieldEnd::LineEnd : FieldEnd::Comma;
    if (k < fields.analogCount)
        return readField<FieldKind::DigitsAndMinus>(cursor, fields.lineEnd, fieldEnd, fields.analog[k]);
    qint32 state = 0;
    if (!readField<FieldKind::BinaryDigits>(cursor, fields.lineEnd, fieldEnd, state))
        return false;
    fields.digital[k - fields.analogCount] = state != 0 ? 1 : 0;
    return true;
}

// The fields of a padded line without its terminator, [begin, end) (see
// readShortField). Every field but the last must end at a comma and the last
// at the line end: that is exactly totalChannelCount + 1 commas, checked in
// the same pass.
//
// Finding where a field ends needs where it starts, so the fields of a line
// form one chain of dependent steps. The channel fields are read by two
// cursors instead, one from each half of the line, whose chains the processor
// works on at once. This path is taken for every line first; when the second
// half holds no comma (a line of one or two channel fields) the first cursor
// reads them all.
bool parseDataFields(const char* begin, const char* end, SampleRow& row,
                     quint8 totalChannelCount, quint8 analogCount, quint8 digitalCount)
{
    if (begin == end || analogCount + digitalCount != totalChannelCount)
        return false;
    const ChannelFields fields{end, totalChannelCount, analogCount, row.analog.data(), row.digital.data()};
    const char* first = begin;
    const FieldEnd timeStampEnd = fields.count == 0 ? FieldEnd::LineEnd : FieldEnd::Comma;
    if (!readField<FieldKind::Digits>(first, end, FieldEnd::Comma, row.number)
        || !readField<FieldKind::Digits>(first, end, timeStampEnd, row.timeStamp))
        return false;

    const char* const middleComma = static_cast<const char*>(
        std::memchr(first + (end - first) / 2, ',', size_t(end - first - (end - first) / 2)));
    const int secondStart = middleComma ? 1 + commasBetween(first, middleComma) : fields.count;
    if (middleComma && secondStart >= fields.count)
        return false;  // more fields than channels
    const char* second = middleComma ? middleComma + 1 : end;
    int k = 0;
    int j = secondStart;
    for (; k < secondStart && j < fields.count; ++k, ++j) {
        if (!readChannelField(first, k, fields) || !readChannelField(second, j, fields))
            return false;
    }
    for (; k < secondStart; ++k) {
        if (!readChannelField(first, k, fields))
            return false;
    }
    for (; j < fields.count; ++j) {
        if (!readChannelField(second, j, fields))
            return false;
    }
    // Every field ends at the next comma, so the first half ends where the second starts.
    return !middleComma || first == middleComma + 1;
}

// Parses a line straight from the reader's buffer, with the two cursors above.
// Only a line that does not parse as it stands (spaces to normalise, or a real
// fault) takes the second path: copied into lineText, normalised and parsed
// again, leaving lineText as the parser left it for the message.
bool parseBufferedLine(const DataLine& line, QByteArray& lineText, SampleRow& row, const Recording& recording)
{
    // What follows the content is its terminator, or the reader's zero after
    // the last line, so the line is padded as the field reader needs.
    const char* end = line.end;
    if (end != line.begin && end[-1] == '\n')
        --end;
    if (end != line.begin && end[-1] == '\r')
        --end;
    if (parseDataFields(line.begin, end, row, recording.totalChannelCount, recording.analogCount,
                        recording.digitalCount))
        return true;
    lineText = QByteArray(line.begin, int(line.end - line.begin));
    return parseDataLine(lineText, row, recording.totalChannelCount, recording.analogCount, recording.digitalCount);
}

// True when nothing but blank lines is left: the data have ended.
bool onlyBlankLinesFollow(DataLineReader& lines)
{
    for (DataLine line = lines.next(); !line.isEmpty(); line = lines.next()) {
        if (!isBlank(line.begin, line.end))
            return false;
    }
    return true;
}

// What the error box can tell of line k + 1, which failed as lineText: that
// the data ended before line N, or what is wrong with the line.
void noteFailingLine(LoadFailure& failure, int k, const QByteArray& lineText, DataLineReader& lines,
                     const Recording& recording)
{
    if (lineText.isEmpty() && onlyBlankLinesFollow(lines)) {
        failure.dataLineCount = k;
        failure.sampleCount = recording.sampleCount();
        return;
    }
    failure.dataLine = diagnoseDataLine(lineText, recording.analogCount, recording.digitalCount);
}

quint32 roundedMilliseconds(qint32 microseconds)
{
    return (quint32(microseconds) + 500u) / 1000u;
}

// Recorders that give a sampling rate may write every time stamp as 0: then
// the rate is the only clock the recording has.
bool stampsCarryNoTime(const Recording& recording)
{
    const QVector<double>& raw = recording.rawTimeAxis;
    return raw.size() >= 2 && raw.last() == 0.0 && recording.sampleRates.value(0).rate > 0;
}

// Stamps rounded to whole milliseconds share values above 1 kHz: they are
// spread by the average step, keeping every recorded time that lies within
// half a step of where it is expected.
void spreadByAverageStep(const QVector<double>& raw, QVector<double>& corrected)
{
    const int sampleCount = raw.size();
    const double step = raw.last() / sampleCount;
    corrected.append(raw.first());
    for (int j = 1; j < sampleCount; ++j) {
        const double previous = corrected.at(j - 1);
        const double recorded = raw.at(j);
        const bool whereExpected = recorded >= previous + 0.5 * step && recorded <= previous + 1.5 * step;
        corrected.append(whereExpected ? recorded : previous + step);
    }
}

// Rows parsed one after the other, up to a limit or the end of the lines.
struct RowsRead {
    int count = 0;        // rows that parsed
    bool failed = false;  // the line after them did not
};

RowsRead readRows(DataLineReader& lines, SampleRow* rows, int limit, QVector<double>& times,
                  const Recording& recording)
{
    QByteArray lineText;
    RowsRead read;
    for (; read.count < limit; ++read.count) {
        const DataLine line = lines.next();
        if (line.isEmpty())
            return read;
        SampleRow& row = rows[read.count];
        resizeExactly(row.analog, recording.analogCount);
        resizeExactly(row.digital, recording.digitalCount);
        if (!parseBufferedLine(line, lineText, row, recording)) {
            read.failed = true;
            return read;
        }
        times.append(double(roundedMilliseconds(row.timeStamp)));
    }
    return read;
}

// Where the first line that starts at or after position begins; -1 when the
// next 64 KB hold no line feed. The file's position is kept.
qint64 lineStartFrom(QFile& file, qint64 position)
{
    const qint64 kept = file.pos();
    qint64 lineStart = -1;
    if (file.seek(position)) {
        const QByteArray ahead = file.read(64 * 1024);
        const int lineFeed = ahead.indexOf('\n');
        if (lineFeed >= 0 && position + lineFeed + 1 < file.size())
            lineStart = position + lineFeed + 1;
    }
    file.seek(kept);
    return lineStart;
}

// Reads the lines before split and those from split on at the same time, and
// puts the rows in order. False when a line within the first N failed or the
// data ended before line N: the caller then reads again in one pass, which
// says exactly which line and why.
bool readInTwoHalves(QFile& file, qint64 split, Recording& recording, ReadingProgress* progress)
{
    const int sampleCount = recording.sampleCount();
    QFile secondFile(file.fileName());
    if (!secondFile.open(QIODevice::ReadOnly) || !secondFile.seek(split))
        return false;
    QVector<SampleRow> secondRows(sampleCount);
    QVector<double> secondTimes;
    secondTimes.reserve(sampleCount);
    resizeExactly(recording.samples, sampleCount);
    recording.rawTimeAxis.reserve(sampleCount);

    // Each half writes rows and times of its own; both only read the counts of the model.
    SampleRow* const firstRows = recording.samples.data();
    QVector<double>& firstTimes = recording.rawTimeAxis;
    const Recording& model = recording;
    RowsRead halves[2];
    forEachInParallel(2, [&](int half) {
        if (half == 0) {
            DataLineReader lines(file, split, progress);
            halves[0] = readRows(lines, firstRows, sampleCount, firstTimes, model);
        } else {
            DataLineReader lines(secondFile, -1, progress);
            halves[1] = readRows(lines, secondRows.data(), sampleCount, secondTimes, model);
        }
    });
    const RowsRead& first = halves[0];
    if (first.failed)
        return false;
    const int needed = sampleCount - first.count;
    if (halves[1].count < needed)
        return false;
    for (int j = 0; j < needed; ++j)
        recording.samples[first.count + j] = std::move(secondRows[j]);
    recording.rawTimeAxis.append(secondTimes.mid(0, needed));
    return true;
}

} // namespace

bool parseDataLine(QByteArray& line, SampleRow& row,
                   quint8 totalChannelCount, quint8 analogCount, quint8 digitalCount)
{
    normalizeBeforeTerminator(line);
    removeLineTerminator(line);
    const QByteArray padded = line + QByteArray(paddedBytes, '\0');
    const char* const begin = padded.constData();
    return parseDataFields(begin, begin + line.size(), row, totalChannelCount, analogCount, digitalCount);
}

QString readDataRows(QIODevice& device, Recording& recording, LoadFailure* failure, ReadingProgress* progress)
{
    const int sampleCount = qMax(0, recording.sampleCount());  // the configuration reader refuses 0 already
    resizeExactly(recording.samples, sampleCount);
    recording.rawTimeAxis.reserve(sampleCount);

    DataLineReader lines(device, -1, progress);
    QByteArray lineText;
    for (int k = 0; k < sampleCount; ++k) {
        SampleRow& row = recording.samples[k];
        resizeExactly(row.analog, recording.analogCount);
        resizeExactly(row.digital, recording.digitalCount);
        if (!parseBufferedLine(lines.next(), lineText, row, recording)) {
            if (failure)
                noteFailingLine(*failure, k, lineText, lines, recording);
            return dataLineMessage(k + 1, lineText);
        }
        recording.rawTimeAxis.append(double(roundedMilliseconds(row.timeStamp)));
    }
    return QString();
}

QString readDataFileRows(QFile& file, Recording& recording, LoadFailure* failure, qint64 parallelBytes,
                         ReadingProgress* progress)
{
    const qint64 start = file.pos();
    const qint64 split = lineStartFrom(file, start + (file.size() - start) / 2);
    if (file.size() - start >= parallelBytes && split > start && recording.sampleCount() >= 2
        && readInTwoHalves(file, split, recording, progress))
        return QString();
    if (progress && progress->isCancelled())
        return QString();
    recording.samples.clear();
    recording.rawTimeAxis.clear();
    file.seek(start);
    return readDataRows(file, recording, failure, progress);
}

void correctTimeAxis(Recording& recording)
{
    const QVector<double>& raw = recording.rawTimeAxis;
    QVector<double>& corrected = recording.timeAxis;
    corrected.clear();
    if (raw.isEmpty())
        return;
    if (stampsCarryNoTime(recording)) {
        // Sample j at j sampling periods after the first stamp.
        const RateSegment rate{double(recording.sampleRates.first().rate), 0, raw.size()};
        corrected = timeAxisFromRates({rate}, raw.size(), raw.first());
        return;
    }
    corrected.reserve(raw.size());
    spreadByAverageStep(raw, corrected);
}

bool buildValueSeries(Recording& recording, ReadingProgress* progress)
{
    const int sampleCount = recording.samples.size();
    const int analogCount = recording.analogCount;
    const int digitalCount = recording.digitalCount;

    QVector<QVector<double>> analogValues(analogCount);
    QVector<QVector<double>> digitalValues(digitalCount);
    const QVector<double*> analogColumns = allocateColumns(analogValues, sampleCount);
    const QVector<double*> digitalColumns = allocateColumns(digitalValues, sampleCount);

    // One pass over a block of rows fills every channel's vector for those rows:
    // the rows are separate allocations, so walking them once per channel would
    // miss the cache each time. Blocks and channels go to both cores.
    const SampleRow* const rows = recording.samples.constData();
    constexpr int rowBlocks = 8;
    forEachInParallel(rowBlocks, [&](int block) {
        const int end = int(qint64(sampleCount) * (block + 1) / rowBlocks);
        for (int k = int(qint64(sampleCount) * block / rowBlocks); k < end; ++k) {
            const qint32* analog = rows[k].analog.constData();
            for (int c = 0; c < analogCount; ++c)
                analogColumns[c][k] = analog[c];
            const quint8* digital = rows[k].digital.constData();
            for (int d = 0; d < digitalCount; ++d)
                digitalColumns[d][k] = digital[d];
        }
    });

    recording.analogValues = std::move(analogValues);
    recording.digitalValues = std::move(digitalValues);
    return buildFrequencyTracks(recording, {}, progress);
}

} // namespace VornaLumeto
