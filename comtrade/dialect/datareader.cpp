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
#include <optional>

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
    int count = 0;                // rows that parsed
    bool linesEnded = false;      // the lines ran out after them
    QByteArray failingText;       // the line after them as the parser left it; empty where the lines ran out
    bool onlyBlankAfter = false;  // the lines ran out, or only blank ones follow an empty failing line (when looked at)
};

// Whether the lines after a failing one are looked at, for the error box.
enum class TailCheck { Skipped, Made };

RowsRead readRows(DataLineReader& lines, SampleRow* rows, int limit, QVector<double>& times,
                  const Recording& recording, TailCheck tail)
{
    RowsRead read;
    for (; read.count < limit; ++read.count) {
        const DataLine line = lines.next();
        if (line.isEmpty()) {
            read.linesEnded = read.onlyBlankAfter = true;
            read.failingText.clear();
            return read;
        }
        SampleRow& row = rows[read.count];
        resizeExactly(row.analog, recording.analogCount);
        resizeExactly(row.digital, recording.digitalCount);
        if (!parseBufferedLine(line, read.failingText, row, recording)) {
            read.onlyBlankAfter = tail == TailCheck::Made && read.failingText.isEmpty() && onlyBlankLinesFollow(lines);
            return read;
        }
        times.append(double(roundedMilliseconds(row.timeStamp)));
    }
    return read;
}

// The message for line k + 1, which failed as read shows, and what the error
// box can tell of it: that the data ended before line N, or what is wrong with the line.
QString failingLineMessage(int k, const RowsRead& read, LoadFailure* failure, const Recording& recording)
{
    if (failure && read.onlyBlankAfter) {
        failure->dataLineCount = k;
        failure->sampleCount = recording.sampleCount();
    } else if (failure) {
        failure->dataLine = diagnoseDataLine(read.failingText, recording.analogCount, recording.digitalCount);
    }
    return dataLineMessage(k + 1, read.failingText);
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

// What the two halves of a data file read at once gave.
struct HalvesRead {
    RowsRead first;
    RowsRead second;
};

// Reads the lines before split and those from split on at the same time, and
// puts the rows in order: the first half's rows where they are, then as many
// of the second half's as the recording needs. Nothing when the file cannot
// be opened a second time.
std::optional<HalvesRead> readInTwoHalves(QFile& file, qint64 split, Recording& recording, ReadingProgress* progress)
{
    const int sampleCount = recording.sampleCount();
    QFile secondFile(file.fileName());
    if (!secondFile.open(QIODevice::ReadOnly) || !secondFile.seek(split))
        return std::nullopt;
    QVector<SampleRow> secondRows(sampleCount);
    QVector<double> secondTimes;
    secondTimes.reserve(sampleCount);
    resizeExactly(recording.samples, sampleCount);
    recording.rawTimeAxis.reserve(sampleCount);

    // Each half writes rows and times of its own; both only read the counts of the model.
    SampleRow* const firstRows = recording.samples.data();
    QVector<double>& firstTimes = recording.rawTimeAxis;
    const Recording& model = recording;
    HalvesRead halves;
    forEachInParallel(2, [&](int half) {
        if (half == 0) {
            DataLineReader lines(file, split, progress);
            halves.first = readRows(lines, firstRows, sampleCount, firstTimes, model, TailCheck::Skipped);
        } else {
            DataLineReader lines(secondFile, -1, progress);
            halves.second = readRows(lines, secondRows.data(), sampleCount, secondTimes, model, TailCheck::Made);
        }
    });
    const int taken = qMin(sampleCount - halves.first.count, halves.second.count);
    for (int j = 0; j < taken; ++j)
        recording.samples[halves.first.count + j] = std::move(secondRows[j]);
    recording.rawTimeAxis.append(secondTimes.mid(0, taken));
    return halves;
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
    const RowsRead read =
        readRows(lines, recording.samples.data(), sampleCount, recording.rawTimeAxis, recording, TailCheck::Made);
    return read.count == sampleCount ? QString() : failingLineMessage(read.count, read, failure, recording);
}

QString readDataFileRows(QFile& file, Recording& recording, LoadFailure* failure, qint64 parallelBytes,
                         ReadingProgress* progress)
{
    const qint64 start = file.pos();
    const qint64 split = lineStartFrom(file, start + (file.size() - start) / 2);
    const int sampleCount = recording.sampleCount();
    if (file.size() - start >= parallelBytes && split > start && sampleCount >= 2) {
        const std::optional<HalvesRead> halves = readInTwoHalves(file, split, recording, progress);
        if (progress && progress->isCancelled())
            return QString();
        // A first half that read to split, or to line N, leaves the verdict to the second.
        if (halves && (halves->first.linesEnded || halves->first.count == sampleCount)) {
            const int k = halves->first.count + halves->second.count;
            return k >= sampleCount ? QString() : failingLineMessage(k, halves->second, failure, recording);
        }
    }
    // A line of the first half failed (that pass stops there), or the file is small.
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
