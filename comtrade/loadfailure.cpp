#include "comtrade/loadfailure.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>

namespace VornaLumeto {
namespace {

// The layout this viewer reads; later revisions add the revision year to line 1.
constexpr int readRevision = 1991;

QString explanation(const char* text)
{
    return QCoreApplication::translate("VornaLumeto::COMTRADE_read", text);
}

// The year of a station line with a third field such as 1999 or 2013, else 0.
int revisionYear(const QString& stationLine)
{
    const QStringList fields = stationLine.split(QLatin1Char(','));
    static const QRegularExpression fourDigits(QStringLiteral("^[0-9]{4}$"));
    if (fields.size() != 3 || !fourDigits.match(fields.at(2)).hasMatch())
        return 0;
    const int year = fields.at(2).toInt();
    return year > readRevision ? year : 0;
}

// BINARY, BINARY32 or FLOAT32 in the spelling of the format, else empty.
QString binaryFileType(const QString& fileTypeLine)
{
    const QString type = fileTypeLine.trimmed().toUpper();
    static const QStringList binaryTypes{QStringLiteral("BINARY"), QStringLiteral("BINARY32"),
                                         QStringLiteral("FLOAT32")};
    return binaryTypes.contains(type) ? type : QString();
}

} // namespace

QString explainLoadFailure(const LoadFailure& failure)
{
    if (const int year = revisionYear(failure.stationLine))
        return explanation("Файл записан по редакции формата COMTRADE %1 года: в первой строке указан год "
                           "редакции. Программа читает файлы в формате редакции 1991 года, в первой строке "
                           "которых только название подстанции и номер регистратора.")
            .arg(year);
    const QString binaryType = binaryFileType(failure.fileTypeLine);
    if (!binaryType.isEmpty())
        return explanation("Данные записаны в двоичном виде (%1). Программа читает только файлы *.dat "
                           "в текстовом виде (ASCII).")
            .arg(binaryType);
    if (failure.dataLineCount >= 0)
        return explanation("Файл *.dat кончается раньше, чем нужно: строк с отсчётами в нём %1, "
                           "а в файле *.cfg число отсчётов %2.")
            .arg(failure.dataLineCount)
            .arg(failure.sampleCount);
    if (!failure.dataPath.isEmpty())
        return explanation("Файл *.dat ищется рядом с файлом *.cfg под тем же именем. Проверенный путь:\n%1")
            .arg(failure.dataPath);
    return QString();
}

} // namespace VornaLumeto
