#include "app/directorypath.h"

#include <QDir>
#include <QStringList>

namespace KelvoLibQt {

bool makeDirectoryPath(const QString& path)
{
    QString prefix;
    for (const QString& component : path.split(QLatin1Char('/'))) {
        if (component.isEmpty())
            return false;
        if (!QDir(prefix + component).exists() && !QDir(prefix).mkdir(component))
            return false;
        prefix += component + QLatin1Char('/');
    }
    return true;
}

} // namespace KelvoLibQt
