#include "comtrade/standard/standardconfiguration.h"

#include "comtrade/common/linepadding.h"
#include "comtrade/common/timestamp.h"
#include "comtrade/standard/revisionrules.h"
#include "comtrade/standard/standardmessages.h"

#include <cmath>
#include <limits>

namespace VornaLumeto {
namespace {

// Whole numbers of the configuration (counts, sample numbers) are held exactly in a double up to here.
constexpr double largestWholeNumber = 9007199254740992.0;  // 2^53

// A real as the standard writes it: sign, decimals and exponent allowed, surrounding spaces ignored.
bool toReal(const QString& field, double& value)
{
    bool ok = false;
    value = field.trimmed().toDouble(&ok);
    return ok && std::isfinite(value);
}

// A real that the writer may leave empty, meaning the value given.
bool toRealOrDefault(const QString& field, double defaultValue, double& value)
{
    if (field.trimmed().isEmpty()) {
        value = defaultValue;
        return true;
    }
    return toReal(field, value);
}

// A whole number of 0 or more; recorders sometimes write it with decimals (8000.0).
bool toCount(const QString& field, qint64& value)
{
    double real = 0.0;
    if (!toReal(field, real) || real < 0.0 || real > largestWholeNumber || real != std::floor(real))
        return false;
    value = qint64(real);
    return true;
}

// A count of line 2: the number and the letter after it (A or D, in either case).
bool toCountWithLetter(const QString& field, QChar letter, qint64& value)
{
    QString number = field.trimmed();
    if (number.endsWith(letter, Qt::CaseInsensitive))
        number.chop(1);
    return toCount(number, value);
}

QStringList trimmedFields(const QString& line)
{
    QStringList fields = line.split(QLatin1Char(','));
    for (QString& field : fields)
        field = field.trimmed();
    return fields;
}

bool parseDataType(const QString& field, DataType& type)
{
    const QString name = field.trimmed().toUpper();
    for (DataType candidate : {DataType::Ascii, DataType::Binary, DataType::Binary32, DataType::Float32}) {
        if (name == dataTypeName(candidate)) {
            type = candidate;
            return true;
        }
    }
    return false;
}

// "dd/mm/yyyy,hh:mm:ss.ssssss" (month first in 1991), each field a number
// with spaces around it allowed. A writer may leave the whole line empty; a
// date that fits only the other order is read that way, as recorders of the
// early layout wrote either. A leap second (60.x) is a time of day like any
// other: the 2013 revision marks recordings that hold one.
bool parseStandardTimeStamp(const QString& line, bool monthFirst, TimeStamp& timeStamp)
{
    const QStringList dateAndTime = trimmedFields(line);
    if (dateAndTime.size() == 2 && dateAndTime[0].isEmpty() && dateAndTime[1].isEmpty()) {
        timeStamp = TimeStamp();
        return true;
    }
    TimeStampFields fields;
    qint64 first = 0;
    qint64 second = 0;
    qint64 year = 0;
    qint64 hour = 0;
    qint64 minute = 0;
    double seconds = 0.0;
    if (!splitTimeStamp(line, fields) || !toCount(fields.first, first) || !toCount(fields.second, second)
        || !toCount(fields.year, year) || year > std::numeric_limits<qint16>::max() || !toCount(fields.hour, hour)
        || !toCount(fields.minute, minute) || !toReal(fields.seconds, seconds))
        return false;
    qint64 day = monthFirst ? second : first;
    qint64 month = monthFirst ? first : second;
    if (!isValidTimeStamp(day, month, hour, minute, seconds, LeapSecond::Allowed))
        std::swap(day, month);
    if (!isValidTimeStamp(day, month, hour, minute, seconds, LeapSecond::Allowed))
        return false;
    timeStamp = narrowedTimeStamp(day, month, year, hour, minute, seconds);
    return true;
}

class StandardConfigurationParser {
public:
    StandardConfigurationParser(const QStringList& lines, int firstLineNumber, StandardConfiguration& configuration)
        : lines(lines), firstLineNumber(firstLineNumber), configuration(configuration)
    {
    }

    ConfigurationProblem parse()
    {
        if (readStationLine() && readChannelCounts() && readAnalogChannels() && readDigitalChannels()
            && readLineFrequency() && readRates()
            && readTimeStamp(standardText("дата и время первого отсчёта"), configuration.startTime)
            && readTimeStamp(standardText("дата и время пуска"), configuration.triggerTime) && readDataType())
            readLinesAfterDataType();
        return problem;
    }

private:
    int lineNumber() const { return firstLineNumber + index; }

    bool fail(const QString& reason)
    {
        problem = {lineNumber(), reason};
        return false;
    }

    // The next line, or false with the problem that the file ends before it.
    bool next(const QString& what, QString& line)
    {
        ++index;
        if (index >= lines.size())
            return fail(standardText("файл кончается, а нужна строка: %1").arg(what));
        line = lines.at(index);
        return true;
    }

    bool nextFields(const QString& what, QStringList& fields)
    {
        QString line;
        if (!next(what, line))
            return false;
        fields = trimmedFields(line);
        return true;
    }

    bool failFieldCount(const QString& what, int count, const QString& expected)
    {
        return fail(standardText("%1: полей %2, а должно быть %3").arg(what).arg(count).arg(expected));
    }

    bool failNumber(const QString& what, const QString& field)
    {
        return fail(standardText("%1: «%2» не число").arg(what, field));
    }

    bool failCount(const QString& what, const QString& field)
    {
        return fail(standardText("%1: «%2» не целое число от 0").arg(what, field));
    }

    bool readStationLine()
    {
        const QString what = standardText("название подстанции, номер регистратора, год редакции");
        QStringList fields;
        if (!nextFields(what, fields))
            return false;
        if (fields.size() < 2 || fields.size() > 3)
            return failFieldCount(what, fields.size(), standardText("2 или 3"));
        configuration.stationName = fields[0];
        configuration.recorderId = fields[1];
        if (fields.size() == 3 && !readRevisionYear(fields[2]))
            return false;
        rules = revisionRules(configuration.revisionYear);
        return true;
    }

    // An empty field is 1991, as the standard has it. A number that is no year
    // (simulators write 0) is read as 1991 too, and the user is told; letters fail.
    bool readRevisionYear(const QString& field)
    {
        if (field.isEmpty())
            return true;
        qint64 year = 0;
        if (!toCount(field, year))
            return fail(standardText("год редакции «%1» не год").arg(field));
        if (year >= 1000 && year <= 9999)
            configuration.revisionYear = int(year);
        else
            configuration.notes.append(
                standardText("Год редакции «%1» не год; файл прочитан по редакции 1991 года.").arg(field));
        return true;
    }

    bool readChannelCounts()
    {
        const QString what = standardText("число каналов");
        QStringList fields;
        if (!nextFields(what, fields))
            return false;
        if (fields.size() != 3)
            return failFieldCount(what, fields.size(), QStringLiteral("3"));
        qint64 total = 0;
        if (!toCount(fields[0], total))
            return failCount(what, fields[0]);
        if (!toCountWithLetter(fields[1], QLatin1Char('A'), analogCount))
            return failCount(standardText("число аналоговых каналов"), fields[1]);
        if (!toCountWithLetter(fields[2], QLatin1Char('D'), digitalCount))
            return failCount(standardText("число дискретных каналов"), fields[2]);
        if (total != analogCount + digitalCount)
            return fail(standardText("каналов всего %1, а аналоговых и дискретных вместе %2")
                            .arg(total)
                            .arg(analogCount + digitalCount));
        if (total == 0)
            return fail(standardText("в записи нет ни одного канала"));
        return true;
    }

    // Channels are added as their lines are read, so a count far beyond the
    // lines of the file costs nothing before the file runs out.
    template <typename Channel, typename ParseFields>
    bool readChannels(const char* whatSource, qint64 count, QVector<Channel>& channels, ParseFields parseFields)
    {
        for (qint64 i = 0; i < count; ++i) {
            const QString what = standardText(whatSource).arg(i + 1).arg(count);
            QStringList fields;
            Channel channel;
            if (!nextFields(what, fields) || !(this->*parseFields)(what, fields, channel))
                return false;
            channels.append(channel);
        }
        return true;
    }

    bool readAnalogChannels()
    {
        return readChannels(QT_TRANSLATE_NOOP("VornaLumeto::StandardRecording", "аналоговый канал %1 из %2"),
                            analogCount, configuration.analog, &StandardConfigurationParser::parseAnalogFields);
    }

    bool readDigitalChannels()
    {
        const bool read =
            readChannels(QT_TRANSLATE_NOOP("VornaLumeto::StandardRecording", "дискретный канал %1 из %2"),
                         digitalCount, configuration.digital, &StandardConfigurationParser::parseDigitalFields);
        noteStatesTakenAsZero();
        return read;
    }

    // An,ch_id,ph,ccbm,uu,a,b,skew,min,max (1991) and primary,secondary,PS after them (1999 on).
    bool parseAnalogFields(const QString& what, const QStringList& fields, StandardAnalogChannel& channel)
    {
        if (fields.size() != 10 && fields.size() != 13)
            return failFieldCount(what, fields.size(), standardText("10 или 13"));
        if (!toCount(fields[0], channel.number))
            return failCount(what, fields[0]);
        channel.id = fields[1];
        channel.phase = fields[2];
        channel.circuit = fields[3];
        channel.unit = fields[4];
        const struct {
            int field;
            double defaultValue;
            double* value;
        } reals[] = {{5, 1.0, &channel.multiplier}, {6, 0.0, &channel.offsetAdder}, {7, 0.0, &channel.skew},
                     {8, 0.0, &channel.minValue},   {9, 0.0, &channel.maxValue}};
        for (const auto& real : reals) {
            if (!toRealOrDefault(fields[real.field], real.defaultValue, *real.value))
                return failNumber(what, fields[real.field]);
        }
        if (fields.size() == 13) {
            if (!toRealOrDefault(fields[10], 1.0, channel.scaling.primary))
                return failNumber(what, fields[10]);
            if (!toRealOrDefault(fields[11], 1.0, channel.scaling.secondary))
                return failNumber(what, fields[11]);
            channel.scaling.primaryOrSecondary = fields[12];
        }
        return true;
    }

    // Dn,ch_id,y (1991); Dn,ch_id,ph,ccbm,y (1999 on); Dn,ch_id,ph,y as some recorders write it.
    bool parseDigitalFields(const QString& what, const QStringList& fields, StandardDigitalChannel& channel)
    {
        if (fields.size() < 3 || fields.size() > 5)
            return failFieldCount(what, fields.size(), standardText("3, 4 или 5"));
        if (!toCount(fields[0], channel.number))
            return failCount(what, fields[0]);
        channel.id = fields[1];
        if (fields.size() >= 4)
            channel.phase = fields[2];
        if (fields.size() == 5)
            channel.circuit = fields[3];
        const QString& state = fields.last();
        if (state.isEmpty() || state == QLatin1String("0"))
            channel.normalState = 0;
        else if (state == QLatin1String("1"))
            channel.normalState = 1;
        else if (fields.size() == 4)
            statesTakenAsZero.append(QStringLiteral("%1 «%2»").arg(fields[0], channel.id));  // a recorder's own fourth field
        else
            return fail(standardText("%1: нормальное состояние «%2» не 0 и не 1").arg(what, state));
        return true;
    }

    // Shown channels of the note, the rest counted.
    static constexpr int namedChannels = 5;

    void noteStatesTakenAsZero()
    {
        if (statesTakenAsZero.isEmpty())
            return;
        QStringList named = statesTakenAsZero.mid(0, namedChannels);
        if (statesTakenAsZero.size() > namedChannels)
            named.append(standardText("ещё %1").arg(statesTakenAsZero.size() - namedChannels));
        configuration.notes.append(
            standardText("Нормальное состояние дискретных каналов не 0 и не 1, принято 0: %1.").arg(named.join(QStringLiteral(", "))));
    }

    bool readLineFrequency()
    {
        const QString what = standardText("частота сети");
        QString line;
        if (!next(what, line))
            return false;
        if (!toRealOrDefault(line, 0.0, configuration.lineFrequency) || configuration.lineFrequency < 0.0)
            return failNumber(what, line.trimmed());
        return true;
    }

    // nrates, then nrates lines "samp,endsamp"; with nrates 0 a line "0,endsamp" gives the sample count.
    bool readRates()
    {
        const QString countWhat = standardText("число частот дискретизации");
        QString line;
        qint64 rateCount = 0;
        if (!next(countWhat, line))
            return false;
        if (!toCount(line, rateCount))
            return failCount(countWhat, line.trimmed());
        // Without rates the standard still has a line "0,endsamp"; a writer that
        // leaves it out goes on with the date.
        if (rateCount == 0 && lines.value(index + 1).contains(QLatin1Char('/')))
            return true;
        qint64 firstSample = 0;
        for (qint64 i = 0; i < qMax<qint64>(rateCount, 1); ++i) {
            const QString what = standardText("частота дискретизации %1 из %2").arg(i + 1).arg(qMax<qint64>(rateCount, 1));
            RateSegment segment;
            if (!readRate(what, segment))
                return false;
            if (segment.endSample < configuration.lastSample)
                return fail(standardText("%1: последний отсчёт %2 раньше последнего отсчёта предыдущей частоты %3")
                                .arg(what)
                                .arg(segment.endSample)
                                .arg(configuration.lastSample));
            segment.firstSample = firstSample;
            firstSample = segment.endSample;
            configuration.lastSample = segment.endSample;
            if (rateCount > 0)
                configuration.rates.append(segment);
        }
        return true;
    }

    bool readRate(const QString& what, RateSegment& segment)
    {
        QStringList fields;
        if (!nextFields(what, fields))
            return false;
        if (fields.size() != 2)
            return failFieldCount(what, fields.size(), QStringLiteral("2"));
        if (!toReal(fields[0], segment.rate) || segment.rate < 0.0)
            return failNumber(what, fields[0]);
        if (!toCount(fields[1], segment.endSample))
            return failCount(what, fields[1]);
        return true;
    }

    bool readTimeStamp(const QString& what, TimeStamp& timeStamp)
    {
        QString line;
        if (!next(what, line))
            return false;
        if (!parseStandardTimeStamp(line, rules.monthFirst, timeStamp))
            return fail(standardText("%1: «%2» не дата и время").arg(what, line.trimmed()));
        return true;
    }

    bool readDataType()
    {
        const QString what = standardText("тип файла данных");
        QString line;
        if (!next(what, line))
            return false;
        if (!parseDataType(line, configuration.dataType))
            return fail(standardText("тип файла данных «%1» не ASCII, BINARY, BINARY32 и не FLOAT32").arg(line.trimmed()));
        return true;
    }

    // From 1999 on: timemult; from 2013 on: the time-code and time-quality
    // lines. Each may be missing; blank lines and end-of-file padding end them.
    void readLinesAfterDataType()
    {
        if (configuration.revisionYear < 1999)
            return;
        QString line;
        if (!nextMeaningful(line))
            return;
        if (!toReal(line, configuration.timeMultiplier) || configuration.timeMultiplier <= 0.0) {
            fail(standardText("множитель времени «%1» не положительное число").arg(line.trimmed()));
            return;
        }
        if (configuration.revisionYear < 2013)
            return;
        if (nextMeaningful(line))
            splitPair(line, configuration.timeCode, configuration.localCode);
        if (nextMeaningful(line))
            splitPair(line, configuration.timeQuality, configuration.leapSecond);
    }

    bool nextMeaningful(QString& line)
    {
        ++index;
        if (index >= lines.size() || isBlank(lines.at(index)))
            return false;
        line = lines.at(index);
        return true;
    }

    static void splitPair(const QString& line, QString& first, QString& second)
    {
        const QStringList fields = trimmedFields(line);
        first = fields.value(0);
        second = fields.value(1);
    }

    const QStringList& lines;
    const int firstLineNumber;
    StandardConfiguration& configuration;
    int index = -1;
    RevisionRules rules;
    qint64 analogCount = 0;
    qint64 digitalCount = 0;
    QStringList statesTakenAsZero;  // channels of four fields whose last field is text: "Dn «ch_id»"
    ConfigurationProblem problem;
};

} // namespace

QString dataTypeName(DataType type)
{
    switch (type) {
    case DataType::Binary: return QStringLiteral("BINARY");
    case DataType::Binary32: return QStringLiteral("BINARY32");
    case DataType::Float32: return QStringLiteral("FLOAT32");
    case DataType::Ascii: break;
    }
    return QStringLiteral("ASCII");
}

ConfigurationProblem parseStandardConfiguration(const QStringList& lines, int firstLineNumber,
                                                StandardConfiguration& configuration)
{
    return StandardConfigurationParser(lines, firstLineNumber, configuration).parse();
}

} // namespace VornaLumeto
