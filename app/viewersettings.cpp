#include "app/viewersettings.h"

#include "analysis/setupstore.h"

#include <QSettings>

namespace VornaLumeto {
namespace {

const char standardUnaskedKey[] = "opening/standardFilesUnasked";

} // namespace

bool opensStandardFilesUnasked()
{
    return openUserSettings()->value(QLatin1String(standardUnaskedKey), false).toBool();
}

void setOpensStandardFilesUnasked(bool unasked)
{
    openUserSettings()->setValue(QLatin1String(standardUnaskedKey), unasked);
}

} // namespace VornaLumeto
