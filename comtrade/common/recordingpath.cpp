#include "comtrade/common/recordingpath.h"

#include <QFileInfo>

namespace VornaLumeto {

RecordingPathKind recordingPathKind(const QString& path, LetterCase configurationCase)
{
    if (path.endsWith(QLatin1String(".cff"), Qt::CaseInsensitive))
        return RecordingPathKind::Combined;
    const Qt::CaseSensitivity sensitivity = configurationCase == LetterCase::Exact ? Qt::CaseSensitive : Qt::CaseInsensitive;
    return path.endsWith(QLatin1String("cfg"), sensitivity) ? RecordingPathKind::Configuration : RecordingPathKind::Other;
}

QString dataFilePath(const QString& configurationPath)
{
    const QString stem = configurationPath.left(qMax(0, configurationPath.size() - 3));
    const QString path = stem + QStringLiteral("dat");
    if (configurationPath.endsWith(QStringLiteral("CFG")) && !QFileInfo::exists(path))
        return stem + QStringLiteral("DAT");
    return path;
}

} // namespace VornaLumeto
