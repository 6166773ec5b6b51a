#pragma once

#include <QChar>
#include <QString>

#include <algorithm>

namespace VornaLumeto {

// What recorders pad lines and files with, and what a blank line holds:
// white space and the end-of-file character (0x1A) that some of them append.
constexpr char endOfFileCharacter = 0x1A;

inline bool isPadding(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == endOfFileCharacter;
}

inline bool isPadding(QChar c)
{
    return c.unicode() < 0x80 && isPadding(char(c.unicode()));
}

// Where [begin, end) ends without the padding at its end.
inline const char* endWithoutPadding(const char* begin, const char* end)
{
    while (end != begin && isPadding(end[-1]))
        --end;
    return end;
}

inline bool isBlank(const char* begin, const char* end)
{
    return std::all_of(begin, end, [](char c) { return isPadding(c); });
}

inline bool isBlank(const QString& line)
{
    return std::all_of(line.begin(), line.end(), [](QChar c) { return isPadding(c); });
}

inline void chopPadding(QString& line)
{
    int end = line.size();
    while (end > 0 && isPadding(line.at(end - 1)))
        --end;
    line.truncate(end);
}

} // namespace VornaLumeto
