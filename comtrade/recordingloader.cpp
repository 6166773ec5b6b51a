#include "comtrade/recordingloader.h"

#include "comtrade/configurationreader.h"
#include "comtrade/datareader.h"
#include "comtrade/loadfailure.h"
#include "comtrade/viewtext.h"

#include <QFile>
#include <QFileInfo>

namespace VornaLumeto {
namespace {

QString readConfigurationFile(const QString& path, Recording& recording, LoadFailure* failure)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return viewText("Файл не открывается");
    if (file.size() == 0)
        return viewText("Файл *.cfg пуст");
    return readConfiguration(file, recording, failure);
}

QString readDataFile(const QString& path, Recording& recording, LoadFailure* failure)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (failure)
            failure->dataPath = QFileInfo(path).absoluteFilePath();
        return viewText("Не удалось открыть файл *.dat");
    }
    if (file.size() == 0)
        return viewText("Файл *.dat пуст");
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
    return viewText("Без ошибок");
}

QString loadRecording(const QString& configurationPath, Recording& recording, LoadFailure* failure)
{
    if (configurationPath.isEmpty())
        return viewText("Файл не выбран");
    QString message = readConfigurationFile(configurationPath, recording, failure);
    if (message.isEmpty())
        message = readDataFile(dataFilePath(configurationPath), recording, failure);
    return message.isEmpty() ? loadSuccessMessage() : message;
}

} // namespace VornaLumeto
