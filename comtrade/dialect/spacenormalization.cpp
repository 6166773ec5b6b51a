#include "comtrade/dialect/spacenormalization.h"

namespace VornaLumeto {
namespace {

// One pass for both string kinds: copy every character except a space that
// touches the line start, the line end or a comma.
template <typename Text, typename Char>
void normalize(Text& line, Char space, Char comma)
{
    const int length = line.size();
    int begin = 0;
    while (begin < length && line.at(begin) == space)
        ++begin;
    int end = length;
    while (end > begin && line.at(end - 1) == space)
        --end;

    int out = 0;
    bool afterComma = false;
    for (int i = begin; i < end; ++i) {
        const Char c = line.at(i);
        if (c == space) {
            if (afterComma)
                continue;
            int next = i;
            while (next < end && line.at(next) == space)
                ++next;
            if (next < end && line.at(next) == comma) {
                i = next - 1;  // drop the run; the comma comes next
                continue;
            }
        }
        afterComma = (c == comma);
        line[out++] = c;
    }
    line.truncate(out);
}

} // namespace

void normalizeSpaces(QString& line)
{
    normalize(line, QChar(' '), QChar(','));
}

void normalizeSpaces(QByteArray& line)
{
    normalize(line, ' ', ',');
}

} // namespace VornaLumeto
