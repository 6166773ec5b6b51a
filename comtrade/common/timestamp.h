#pragma once

#include "comtrade/common/recording.h"

#include <QString>

namespace VornaLumeto {

// The six fields of a date and time as configurations write it,
// "dd/mm/yyyy,hh:mm:ss.ssssss" (the first two the other way round in the
// 1991 revision of the standard), as text.
struct TimeStampFields {
    QString first;
    QString second;
    QString year;
    QString hour;
    QString minute;
    QString seconds;
};

// Splits a date and time at its comma, slashes and colons; false unless the
// line has exactly one comma, the date exactly two slashes and the time
// exactly two colons.
bool splitTimeStamp(const QString& line, TimeStampFields& fields);

// Whether the time of day may hold a leap second (seconds from 60 up to 61).
enum class LeapSecond { Refused, Allowed };

// Checks a date and time before it is narrowed (so that a day of 257 cannot
// wrap round to 1), in this order: day 1 to 31, month 1 to 12, hour at most
// 23, minute at most 59, seconds from 0 and below 60 (61 with a leap second).
bool isValidTimeStamp(qint64 day, qint64 month, qint64 hour, qint64 minute, double seconds, LeapSecond leapSecond);

// The model's time stamp of values that passed isValidTimeStamp; the year is
// kept in 16 bits as written.
TimeStamp narrowedTimeStamp(qint64 day, qint64 month, qint64 year, qint64 hour, qint64 minute, double seconds);

} // namespace VornaLumeto
