#include "app/viewersettings.h"

#include <QSettings>

namespace VornaLumeto {
namespace {

const char standardUnaskedKey[] = "opening/standardFilesUnasked";

QSettings viewerSettings()
{
    return QSettings(QStringLiteral("lumeto"), QStringLiteral("lumeto"));
}

} // namespace

bool opensStandardFilesUnasked()
{
    return viewerSettings().value(QLatin1String(standardUnaskedKey), false).toBool();
}

void setOpensStandardFilesUnasked(bool unasked)
{
    viewerSettings().setValue(QLatin1String(standardUnaskedKey), unasked);
}

} // namespace VornaLumeto
