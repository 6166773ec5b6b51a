#include "analysis/unitprefix.h"

namespace VornaLumeto {

namespace {

bool isVoltOrAmpere(QChar c)
{
    switch (c.unicode()) {
    case u'V':
    case u'v':
    case u'В':
    case u'в':
    case u'A':
    case u'a':
    case u'А':
    case u'а':
        return true;
    default:
        return false;
    }
}

double prefixFactor(QChar c)
{
    switch (c.unicode()) {
    case u'k':
    case u'K':
    case u'к':
    case u'К':
        return 1e3;
    case u'm':
    case u'м':
        return 1e-3;
    case u'M':
    case u'М':
        return 1e6;
    default:
        return 0.0;
    }
}

} // namespace

double unitPrefixFactor(const QString& unit)
{
    const QString text = unit.trimmed();
    if (text.size() != 2 || !isVoltOrAmpere(text.at(1)))
        return 1.0;
    const double factor = prefixFactor(text.at(0));
    return factor == 0.0 ? 1.0 : factor;
}

} // namespace VornaLumeto
