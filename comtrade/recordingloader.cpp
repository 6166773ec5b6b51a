#include "comtrade/recordingloader.h"

#include "comtrade/configurationreader.h"
#include "comtrade/datareader.h"

#include <QCoreApplication>
#include <QFile>

namespace VornaLumeto {
namespace {

QString loadMessage(const char* text)
{
    return QCoreApplication::translate("VornaLumeto::COMTRADE_read", text);
}

QString readConfigurationFile(const QString& path, Recording& recording)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return loadMessage("Файл не открывается");
    if (file.size() == 0)
        return loadMessage("Файл *.cfg пуст");
    return readConfiguration(file, recording);
}

QString readDataFile(const QString& path, Recording& recording)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return loadMessage("Не удалось открыть файл *.dat");
    if (file.size() == 0)
        return loadMessage("Файл *.dat пуст");
    const QString failure = readDataRows(file, recording);
    if (!failure.isEmpty())
        return failure;
    correctTimeAxis(recording);
    buildValueSeries(recording);
    return QString();
}

} // namespace

QString loadSuccessMessage()
{
    return loadMessage("Без ошибок");
}

QString loadRecording(const QString& configurationPath, Recording& recording)
{
    if (configurationPath.isEmpty())
        return loadMessage("Файл не выбран");
    QString failure = readConfigurationFile(configurationPath, recording);
    if (failure.isEmpty())
        failure = readDataFile(dataFilePath(configurationPath), recording);
    return failure.isEmpty() ? loadSuccessMessage() : failure;
}

} // namespace VornaLumeto
