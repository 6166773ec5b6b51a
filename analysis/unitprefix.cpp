#include "analysis/unitprefix.h"

#include "analysis/channeldesignation.h"

namespace VornaLumeto {

double unitPrefixFactor(const QString& unit)
{
    const QString text = unit.trimmed();
    const UnitKind kind = unitKind(text);
    if (text.size() != 2 || (kind != UnitKind::Voltage && kind != UnitKind::Current))
        return 1.0;
    switch (text.at(0).unicode()) {
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
        return 1.0;
    }
}

} // namespace VornaLumeto
