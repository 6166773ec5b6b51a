#include "comtrade/standard/standarddata.h"

#include "comtrade/common/datafields.h"
#include "comtrade/common/datalinereader.h"
#include "comtrade/common/exactsize.h"
#include "comtrade/common/linepadding.h"
#include "comtrade/common/readingprogress.h"
#include "comtrade/common/rounding.h"
#include "comtrade/standard/standardmessages.h"

#include <QIODevice>
#include <QtEndian>

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace VornaLumeto {
namespace {

using namespace DataFields;

static_assert(DataLineReader::paddingBytes >= paddedBytes, "lines in the reader's buffer must be padded for the field reader");

constexpr double missing = std::numeric_limits<double>::quiet_NaN();
constexpr int headerBytes = 8;  // sample number and time stamp, 4 bytes each
constexpr int digitalChannelsPerWord = 16;
constexpr quint32 missingStamp = 0xFFFFFFFFu;
// Room for samples when their count is not known, doubled as they come.
constexpr qint64 firstCapacity = 65536;

// The value series being filled: one column per kept channel, grown as samples come.
class Columns {
public:
    Columns(QVector<QVector<double>>& series, int count)
        : series(series)
    {
        series = QVector<QVector<double>>(count);
        pointers.resize(count);
    }

    void reserve(qint64 capacity)
    {
        for (int c = 0; c < series.size(); ++c) {
            resizeExactly(series[c], int(capacity));
            pointers[c] = series[c].data();
        }
    }

    void finish(qint64 count)
    {
        for (QVector<double>& column : series) {
            column.resize(int(count));
            column.squeeze();
        }
    }

    double* const* data() const { return pointers.constData(); }

private:
    QVector<QVector<double>>& series;
    QVector<double*> pointers;
};

// Where one sample goes: its row's values and position k of every column.
struct SampleTarget {
    qint32* rowAnalog;
    quint8* rowDigital;
    double* const* analog;
    double* const* digital;
    qint64 k;
};

class SampleStore {
public:
    SampleStore(DecodedData& data, const DataLayout& layout)
        : data(data), layout(layout), analog(data.analog, layout.keptAnalog), digital(data.digital, layout.keptDigital)
    {
        data.analogHasMissing = QVector<bool>(layout.keptAnalog, false);
        data.samples.clear();
        data.stamps.clear();
    }

    void reserve(qint64 samples)
    {
        capacity = samples;
        data.samples.reserve(int(samples));
        data.stamps.reserve(int(samples));
        analog.reserve(samples);
        digital.reserve(samples);
    }

    // The next sample's row and column positions, after the number and stamp are known.
    SampleTarget next(double number, double stamp)
    {
        if (count == capacity)
            reserve(qMin(qMax<qint64>(2 * capacity, firstCapacity), largestSampleCount()));
        data.samples.append(SampleRow());
        SampleRow& row = data.samples.last();
        row.number = roundedToInt32(number);
        row.timeStamp = roundedToInt32(stamp);
        resizeExactly(row.analog, layout.keptAnalog);
        resizeExactly(row.digital, layout.keptDigital);
        data.stamps.append(stamp);
        return {row.analog.data(), row.digital.data(), analog.data(), digital.data(), count++};
    }

    void setAnalog(const SampleTarget& target, int c, double value)
    {
        target.analog[c][target.k] = value;
        target.rowAnalog[c] = roundedToInt32(value);  // a missing value is 0 in the row
        if (std::isnan(value))
            data.analogHasMissing[c] = true;
    }

    // A whole value needs no rounding for the row.
    static void setAnalogWhole(const SampleTarget& target, int c, qint32 value)
    {
        target.analog[c][target.k] = value;
        target.rowAnalog[c] = value;
    }

    static void setDigital(const SampleTarget& target, int d, bool state)
    {
        target.digital[d][target.k] = state ? 1.0 : 0.0;
        target.rowDigital[d] = state ? 1 : 0;
    }

    qint64 size() const { return count; }

    void finish()
    {
        analog.finish(count);
        digital.finish(count);
    }

private:
    DecodedData& data;
    const DataLayout& layout;
    Columns analog;
    Columns digital;
    qint64 count = 0;
    qint64 capacity = 0;
};

// ---- ASCII ----

bool isSpace(char c)
{
    return c == ' ' || c == '\t';
}

// Any field the short reader leaves: spaces around it, an empty field, a real
// with decimals or an exponent, a leading '+'.
bool readRealField(const char*& cursor, const char* lineEnd, FieldEnd fieldEnd, double& value, bool& empty)
{
    const char* const comma = static_cast<const char*>(std::memchr(cursor, ',', size_t(lineEnd - cursor)));
    if ((comma != nullptr) != (fieldEnd == FieldEnd::Comma))
        return false;
    const char* begin = cursor;
    const char* end = comma ? comma : lineEnd;
    while (begin != end && isSpace(*begin))
        ++begin;
    while (end != begin && isSpace(end[-1]))
        --end;
    empty = begin == end;
    if (!empty) {
        if (*begin == '+')
            ++begin;
        const std::from_chars_result result = std::from_chars(begin, end, value);
        if (result.ec != std::errc() || result.ptr != end || !std::isfinite(value))
            return false;
    }
    cursor = comma ? comma + 1 : lineEnd;
    return true;
}

// One field of a padded line: the common short integer at once, anything else carefully.
Q_ALWAYS_INLINE bool readAsciiField(const char*& cursor, const char* lineEnd, FieldEnd fieldEnd, double& value,
                                    bool& empty)
{
    qint32 integer = 0;
    if (readShortField<FieldKind::DigitsAndMinus>(cursor, lineEnd, fieldEnd, integer)) {
        value = integer;
        empty = false;
        return true;
    }
    return readRealField(cursor, lineEnd, fieldEnd, value, empty);
}

class AsciiLineParser {
public:
    explicit AsciiLineParser(const DataLayout& layout)
        : layout(layout), fieldCount(2 + layout.fileAnalog + layout.fileDigital),
          missingWhole(layout.rules.missingAsciiIsEmpty ? noWholeValue : qint64(layout.rules.missingAsciiValue))
    {
    }

    // Parses the fields of [begin, end) into the store; false when the line is malformed.
    bool parse(const char* begin, const char* end, SampleStore& store) const
    {
        const char* cursor = begin;
        double number = 0.0;
        double stamp = 0.0;
        bool empty = false;
        if (!readAsciiField(cursor, end, FieldEnd::Comma, number, empty)
            || !readAsciiField(cursor, end, endOf(1), stamp, empty))
            return false;
        if (empty)
            stamp = missing;
        const SampleTarget target = store.next(number, stamp);
        for (int c = 0; c < layout.fileAnalog; ++c) {
            // Most values are short whole numbers: read at once and kept as they are.
            qint32 whole = 0;
            if (readShortField<FieldKind::DigitsAndMinus>(cursor, end, endOf(2 + c), whole)) {
                if (c < layout.keptAnalog && whole != missingWhole)
                    SampleStore::setAnalogWhole(target, c, whole);
                else if (c < layout.keptAnalog)
                    store.setAnalog(target, c, missing);
                continue;
            }
            double value = 0.0;
            if (!readRealField(cursor, end, endOf(2 + c), value, empty))
                return false;
            if (c < layout.keptAnalog)
                store.setAnalog(target, c, isMissing(value, empty) ? missing : value);
        }
        for (int d = 0; d < layout.fileDigital; ++d) {
            double state = 0.0;
            if (!readAsciiField(cursor, end, endOf(2 + layout.fileAnalog + d), state, empty))
                return false;
            if (d < layout.keptDigital)
                SampleStore::setDigital(target, d, !empty && state != 0.0);
        }
        return true;
    }

    // Why a line that failed is wrong, found again slowly.
    QString reason(const char* begin, const char* end) const
    {
        const int fields = int(std::count(begin, end, ',')) + 1;
        if (fields != fieldCount)
            return standardText("полей %1, а должно быть %2").arg(fields).arg(fieldCount);
        const QList<QByteArray> texts = QByteArray(begin, int(end - begin)).split(',');
        for (int f = 0; f < texts.size(); ++f) {
            const char* cursor = texts[f].constData();
            double value = 0.0;
            bool empty = false;
            if (!readRealField(cursor, cursor + texts[f].size(), FieldEnd::LineEnd, value, empty))
                return standardText("поле %1 «%2» не число").arg(f + 1).arg(QString::fromLatin1(texts[f]));
        }
        return standardText("строка не разобрана");
    }

private:
    FieldEnd endOf(int field) const { return field + 1 == fieldCount ? FieldEnd::LineEnd : FieldEnd::Comma; }

    bool isMissing(double value, bool empty) const
    {
        return empty || (!layout.rules.missingAsciiIsEmpty && value == layout.rules.missingAsciiValue);
    }

    // No short field reads as this: the revision marks missing values otherwise.
    static constexpr qint64 noWholeValue = std::numeric_limits<qint64>::min();

    const DataLayout& layout;
    const int fieldCount;
    const qint64 missingWhole;  // the revision's marker of a missing value, as a whole number
};

// Samples to make room for at once: those announced, but no more than the
// bytes can hold (a line has at least a comma per field), so that a wrong
// count in a small file does not claim much memory. Without a count the
// room grows as the samples come.
qint64 expectedAsciiSamples(const QIODevice& device, const DataLayout& layout)
{
    const qint64 shortestLine = 2 + layout.fileAnalog + layout.fileDigital;
    const qint64 fitting = device.isSequential() ? firstCapacity : device.size() / shortestLine + 1;
    const qint64 expected = layout.sampleLimit > 0 ? qMin(layout.sampleLimit, fitting) : qMin(fitting, firstCapacity);
    return qMin(expected, largestSampleCount());
}

// ---- binary ----

template <DataType type>
struct BinaryValue;

// A two's-complement value; its most negative value marks a missing one.
template <typename Integer>
struct IntegerValue {
    static constexpr int bytes = sizeof(Integer);
    static double read(const char* p)
    {
        const Integer value = qFromLittleEndian<Integer>(p);
        return value == std::numeric_limits<Integer>::min() ? missing : value;
    }
};

template <>
struct BinaryValue<DataType::Binary> : IntegerValue<qint16> {};

template <>
struct BinaryValue<DataType::Binary32> : IntegerValue<qint32> {};

template <>
struct BinaryValue<DataType::Float32> {
    static constexpr int bytes = 4;
    static double read(const char* p)
    {
        const quint32 bits = qFromLittleEndian<quint32>(p);
        float value = 0.0f;
        std::memcpy(&value, &bits, sizeof value);
        return std::isfinite(value) ? double(value) : missing;
    }
};

int valueBytes(DataType type)
{
    return type == DataType::Binary ? BinaryValue<DataType::Binary>::bytes : BinaryValue<DataType::Float32>::bytes;
}

qint64 recordBytes(const DataLayout& layout)
{
    const qint64 digitalWords = (layout.fileDigital + digitalChannelsPerWord - 1) / digitalChannelsPerWord;
    return headerBytes + qint64(layout.fileAnalog) * valueBytes(layout.type) + 2 * digitalWords;
}

template <DataType type>
void decodeRecords(const char* bytes, qint64 count, qint64 recordSize, const DataLayout& layout, SampleStore& store)
{
    using Value = BinaryValue<type>;
    const qint64 digitalOffset = headerBytes + qint64(layout.fileAnalog) * Value::bytes;
    for (qint64 k = 0; k < count; ++k) {
        const char* const record = bytes + k * recordSize;
        const quint32 stamp = qFromLittleEndian<quint32>(record + 4);
        const SampleTarget target =
            store.next(qFromLittleEndian<quint32>(record), stamp == missingStamp ? missing : double(stamp));
        const char* value = record + headerBytes;
        for (int c = 0; c < layout.keptAnalog; ++c, value += Value::bytes)
            store.setAnalog(target, c, Value::read(value));
        const char* const words = record + digitalOffset;
        for (int d = 0; d < layout.keptDigital; ++d) {
            const quint16 word = qFromLittleEndian<quint16>(words + 2 * (d / digitalChannelsPerWord));
            SampleStore::setDigital(target, d, (word >> (d % digitalChannelsPerWord)) & 1u);
        }
    }
}

} // namespace

qint64 largestSampleCount()
{
    // QVector counts in int and allocates at most that many bytes, header included.
    constexpr qint64 usableBytes = std::numeric_limits<int>::max() - 64;
    return usableBytes / qint64(qMax(sizeof(SampleRow), sizeof(double)));
}

QString decodeAsciiData(QIODevice& device, const DataLayout& layout, const DataPlace& place, DecodedData& data,
                        ReadingProgress* progress)
{
    SampleStore store(data, layout);
    store.reserve(expectedAsciiSamples(device, layout));
    const AsciiLineParser parser(layout);
    DataLineReader lines(device, -1, progress);
    qint64 lineNumber = place.firstLineNumber - 1;
    while (layout.sampleLimit == 0 || store.size() < layout.sampleLimit) {
        const DataLine line = lines.next();
        if (line.isEmpty())
            break;
        ++lineNumber;
        const char* const end = endWithoutPadding(line.begin, line.end);
        if (end == line.begin)
            continue;  // a blank line
        if (store.size() == largestSampleCount())
            return standardLineProblem(place.fileName, lineNumber,
                                       standardText("отсчётов больше, чем программа может хранить (%1)")
                                           .arg(largestSampleCount()));
        if (!parser.parse(line.begin, end, store))
            return standardLineProblem(place.fileName, lineNumber, parser.reason(line.begin, end));
    }
    store.finish();
    return QString();
}

QString decodeBinaryData(const char* bytes, qint64 size, const DataLayout& layout, const DataPlace& place,
                         DecodedData& data, ReadingProgress* progress)
{
    const qint64 recordSize = recordBytes(layout);
    qint64 count = size / recordSize;
    if (layout.sampleLimit > 0 && count >= layout.sampleLimit) {
        count = layout.sampleLimit;
    } else if (!isBlank(bytes + count * recordSize, bytes + size)) {
        return standardByteProblem(place.fileName, place.firstByteOffset + count * recordSize,
                                   standardText("отсчёт №%1 обрывается: в нём %2 байт из %3")
                                       .arg(count + 1)
                                       .arg(size - count * recordSize)
                                       .arg(recordSize));
    }
    if (count > largestSampleCount())
        return standardFileProblem(place.fileName, standardText("отсчётов %1, а программа может хранить не больше %2")
                                                       .arg(count)
                                                       .arg(largestSampleCount()));
    SampleStore store(data, layout);
    store.reserve(count);
    // In blocks, so that the progress moves and a cancel is seen while the records are decoded.
    constexpr qint64 blockRecords = 4096;
    for (qint64 first = 0; first < count && !(progress && progress->isCancelled()); first += blockRecords) {
        const char* const block = bytes + first * recordSize;
        const qint64 records = qMin(blockRecords, count - first);
        switch (layout.type) {
        case DataType::Binary: decodeRecords<DataType::Binary>(block, records, recordSize, layout, store); break;
        case DataType::Binary32: decodeRecords<DataType::Binary32>(block, records, recordSize, layout, store); break;
        case DataType::Float32: decodeRecords<DataType::Float32>(block, records, recordSize, layout, store); break;
        case DataType::Ascii: break;
        }
        if (progress)
            progress->advance(records * recordSize);
    }
    store.finish();
    return QString();
}

} // namespace VornaLumeto
