#include "comtrade/dialect/configurationparser.h"

#include "comtrade/common/timestamp.h"
#include "comtrade/dialect/spacenormalization.h"

#include <QStringList>

#include <algorithm>

namespace VornaLumeto {
namespace {

constexpr int shortLineLimit = 255;
constexpr int analogLineLimit = 65534;
constexpr int largestNarrowCount = 255;

bool hasLength(const QString& line, int limit)
{
    return !line.isEmpty() && line.size() <= limit;
}

// Splits text into exactly `count` fields; the separators are counted over the
// whole text first, so a field too many or too few fails before any is read.
bool splitFields(const QString& text, QChar separator, int count, QStringList& fields)
{
    if (text.count(separator) != count - 1)
        return false;
    fields = text.split(separator);
    return true;
}

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isDigits(const QString& field)
{
    return std::all_of(field.begin(), field.end(), isAsciiDigit);
}

QString withoutLeadingMinus(const QString& field)
{
    return field.startsWith(QLatin1Char('-')) ? field.mid(1) : field;
}

bool isSignedDigits(const QString& field)
{
    return isDigits(withoutLeadingMinus(field));
}

// Digits and points only: no sign, no exponent.
bool isUnsignedDecimal(QString field)
{
    return isDigits(field.remove(QLatin1Char('.')));
}

bool isSignedDecimal(const QString& field)
{
    return isUnsignedDecimal(withoutLeadingMinus(field));
}

bool isBinaryDigits(const QString& field)
{
    return std::all_of(field.begin(), field.end(), [](QChar c) {
        return c == QLatin1Char('0') || c == QLatin1Char('1');
    });
}

// A count of line 2: digits followed by exactly one character that is not a
// digit (the unit letter). The digits are greedy, so "6" alone has no letter.
bool splitCountWithLetter(const QString& field, int& count)
{
    if (field.isEmpty() || isAsciiDigit(field.back()))
        return false;
    const QString digits = field.chopped(1);
    if (!isDigits(digits))
        return false;
    count = digits.toInt();
    return true;
}

bool fitsNarrowCount(int count)
{
    return count <= largestNarrowCount;
}

// A whole line of digits, normalised first; the value is converted without
// consulting the conversion's success flag.
bool parseDigitLine(QString& line, int& value)
{
    normalizeSpaces(line);
    if (!hasLength(line, shortLineLimit) || !isDigits(line))
        return false;
    value = line.toInt();
    return true;
}

// Normalises a comma-separated line and splits it into exactly `count` fields.
bool splitLine(QString& line, int limit, int count, QStringList& fields)
{
    normalizeSpaces(line);
    return hasLength(line, limit) && splitFields(line, QLatin1Char(','), count, fields);
}

bool parseChannelIndex(const QString& field, quint8& index)
{
    if (!isDigits(field))
        return false;
    index = static_cast<quint8>(field.toInt());
    return true;
}

bool parseDecimalField(const QString& field, double& value)
{
    if (!isSignedDecimal(field))
        return false;
    value = field.toDouble();
    return true;
}

bool parseSignedIntegerField(const QString& field, qint32& value)
{
    if (!isSignedDigits(field))
        return false;
    value = field.toInt();
    return true;
}

} // namespace

bool parseStationLine(QString& line, QString& stationName, qint32& recorderId)
{
    QStringList fields;
    if (!splitLine(line, shortLineLimit, 2, fields))
        return false;
    stationName = fields[0];
    if (!isDigits(fields[1]))
        return false;
    recorderId = fields[1].toInt();
    return recorderId != 0;
}

bool parseChannelCounts(QString& line, quint8& totalChannelCount, quint8& analogCount, quint8& digitalCount)
{
    QStringList fields;
    if (!splitLine(line, shortLineLimit, 3, fields))
        return false;
    if (!isDigits(fields[0]))
        return false;
    const int total = fields[0].toInt();
    int analog = 0;
    int digital = 0;
    if (!splitCountWithLetter(fields[1], analog) || !splitCountWithLetter(fields[2], digital))
        return false;
    if (!fitsNarrowCount(total) || !fitsNarrowCount(analog) || !fitsNarrowCount(digital))
        return false;
    totalChannelCount = static_cast<quint8>(total);
    analogCount = static_cast<quint8>(analog);
    digitalCount = static_cast<quint8>(digital);
    return analog + digital == total;
}

bool parseAnalogChannel(QString& line, AnalogChannel& channel)
{
    QStringList fields;
    if (!splitLine(line, analogLineLimit, 10, fields))
        return false;
    if (!parseChannelIndex(fields[0], channel.index))
        return false;
    channel.id = fields[1];
    channel.phase = fields[2];
    channel.circuit = fields[3];
    channel.unit = fields[4];
    if (!parseDecimalField(fields[5], channel.multiplier)
        || !parseDecimalField(fields[6], channel.offsetAdder)
        || !parseDecimalField(fields[7], channel.skew)
        || !parseSignedIntegerField(fields[8], channel.minValue)
        || !parseSignedIntegerField(fields[9], channel.maxValue))
        return false;
    channel.shown = true;
    return true;
}

bool parseDigitalChannel(QString& line, DigitalChannel& channel)
{
    QStringList fields;
    if (!splitLine(line, shortLineLimit, 3, fields))
        return false;
    if (!parseChannelIndex(fields[0], channel.index))
        return false;
    channel.id = fields[1];
    if (!isBinaryDigits(fields[2]))
        return false;
    const uint state = fields[2].toUInt();
    if (state > 1)
        return false;
    channel.normalState = static_cast<quint8>(state);
    channel.shown = true;
    return true;
}

bool parseLineFrequency(QString& line, qint32& lineFrequency)
{
    return parseDigitLine(line, lineFrequency);
}

// Zero rates are refused as well: the data file needs the first rate's end sample.
bool parseRateCount(QString& line, quint8& rateCount)
{
    int count = 0;
    if (!parseDigitLine(line, count) || count == 0 || !fitsNarrowCount(count))
        return false;
    rateCount = static_cast<quint8>(count);
    return true;
}

bool parseSampleRate(QString& line, SampleRate& sampleRate)
{
    QStringList fields;
    if (!splitLine(line, shortLineLimit, 2, fields))
        return false;
    if (!isDigits(fields[0]) || !isDigits(fields[1]))
        return false;
    sampleRate.rate = fields[0].toInt();
    sampleRate.endSample = fields[1].toInt();
    return true;
}

bool parseTimeStamp(QString& line, TimeStamp& timeStamp)
{
    normalizeSpaces(line);
    TimeStampFields fields;
    if (!hasLength(line, shortLineLimit) || !splitTimeStamp(line, fields))
        return false;
    if (!isDigits(fields.first) || !isDigits(fields.second) || !isDigits(fields.year) || !isDigits(fields.hour)
        || !isDigits(fields.minute) || !isUnsignedDecimal(fields.seconds))
        return false;

    // Day first: 17/05/2015 is the 17th of May.
    const int day = fields.first.toInt();
    const int month = fields.second.toInt();
    const int hour = fields.hour.toInt();
    const int minute = fields.minute.toInt();
    const double seconds = fields.seconds.toDouble();
    if (!isValidTimeStamp(day, month, hour, minute, seconds, LeapSecond::Refused))
        return false;
    timeStamp = narrowedTimeStamp(day, month, fields.year.toInt(), hour, minute, seconds);
    return true;
}

bool isAsciiFileType(const QString& line)
{
    return line == QLatin1String("ASCII");
}

} // namespace VornaLumeto
