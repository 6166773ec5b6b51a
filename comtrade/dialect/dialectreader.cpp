#include "comtrade/dialect/dialectreader.h"

#include "comtrade/dialect/configurationreader.h"
#include "comtrade/dialect/datareader.h"
#include "comtrade/dialect/loadfailure.h"
#include "comtrade/dialect/dialectmessages.h"

#include <QFile>
#include <QFileInfo>

namespace VornaLumeto {
namespace {

QString readConfigurationFile(const QString& path, Recording& recording, LoadFailure* failure)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return dialectText("Файл не открывается");
    if (file.size() == 0)
        return dialectText("Файл *.cfg пуст");
    return readConfiguration(file, recording, failure);
}

QString readDataFile(const QString& path, Recording& recording, LoadFailure* failure)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (failure)
            failure->dataPath = QFileInfo(path).absoluteFilePath();
        return dialectText("Не удалось открыть файл *.dat");
    }
    if (file.size() == 0)
        return dialectText("Файл *.dat пуст");
    const QString message = readDataFileRows(file, recording, failure);
    if (!message.isEmpty())
        return message;
    correctTimeAxis(recording);
    buildValueSeries(recording);
    return QString();
}

} // namespace

QString loadSuccessMessage()
{
    return dialectText("Без ошибок");
}

QString loadRecording(const QString& configurationPath, Recording& recording, LoadFailure* failure)
{
    if (configurationPath.isEmpty())
        return dialectText("Файл не выбран");
    QString message = readConfigurationFile(configurationPath, recording, failure);
    if (message.isEmpty())
        message = readDataFile(dataFilePath(configurationPath), recording, failure);
    return message.isEmpty() ? loadSuccessMessage() : message;
}

} // namespace VornaLumeto
