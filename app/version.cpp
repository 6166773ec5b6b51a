#include "app/version.h"

#include "lumetoversion.h"

namespace VornaLumeto {

QString applicationVersion()
{
    return QStringLiteral(LUMETO_VERSION_TEXT);
}

} // namespace VornaLumeto
