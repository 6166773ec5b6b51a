#include "comtrade/common/timestamp.h"

#include <QStringList>

namespace VornaLumeto {
namespace {

// Splits text into exactly three parts; the separators are counted first.
bool splitInThree(const QString& text, QChar separator, QStringList& parts)
{
    if (text.count(separator) != 2)
        return false;
    parts = text.split(separator);
    return true;
}

} // namespace

bool splitTimeStamp(const QString& line, TimeStampFields& fields)
{
    const int comma = line.indexOf(QLatin1Char(','));
    if (comma < 0 || line.indexOf(QLatin1Char(','), comma + 1) >= 0)
        return false;
    QStringList date;
    QStringList time;
    if (!splitInThree(line.left(comma), QLatin1Char('/'), date) || !splitInThree(line.mid(comma + 1), QLatin1Char(':'), time))
        return false;
    fields = {date[0], date[1], date[2], time[0], time[1], time[2]};
    return true;
}

bool isValidTimeStamp(qint64 day, qint64 month, qint64 hour, qint64 minute, double seconds, LeapSecond leapSecond)
{
    const double secondsEnd = leapSecond == LeapSecond::Allowed ? 61.0 : 60.0;
    return day >= 1 && day <= 31 && month >= 1 && month <= 12 && hour >= 0 && hour <= 23 && minute >= 0
           && minute <= 59 && seconds >= 0.0 && seconds < secondsEnd;
}

TimeStamp narrowedTimeStamp(qint64 day, qint64 month, qint64 year, qint64 hour, qint64 minute, double seconds)
{
    TimeStamp timeStamp;
    timeStamp.day = quint8(day);
    timeStamp.month = quint8(month);
    timeStamp.year = qint16(year);
    timeStamp.hour = quint8(hour);
    timeStamp.minute = quint8(minute);
    timeStamp.seconds = seconds;
    return timeStamp;
}

} // namespace VornaLumeto
