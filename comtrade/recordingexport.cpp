#include "comtrade/recordingexport.h"

#include "comtrade/csvwriter.h"
#include "comtrade/dialect/dialectreader.h"
#include "comtrade/standard/standardreader.h"
#include "comtrade/standard/standardmessages.h"

#include <QFileInfo>
#include <QSaveFile>

namespace VornaLumeto {

QString loadRecordingForExport(const QString& path, bool standardWhenRefused, Recording& recording)
{
    if (isCombinedRecordingPath(path))
        return loadStandardRecording(path, recording);
    const QString message = loadRecording(path, recording);
    if (message == loadSuccessMessage() || !standardWhenRefused)
        return message;
    recording = Recording();
    return loadStandardRecording(path, recording);
}

QString exportRecordingAsCsv(const QString& recordingPath, const QString& csvPath, bool standardWhenRefused)
{
    Recording recording;
    const QString message = loadRecordingForExport(recordingPath, standardWhenRefused, recording);
    if (message != loadSuccessMessage())
        return message;
    return writeRecordingCsvFile(recording, csvPath);
}

QString writeRecordingCsvFile(const Recording& recording, const QString& csvPath)
{
    // Written aside and put in place at the end, so a failed export leaves no half file.
    QSaveFile file(csvPath);
    if (!file.open(QIODevice::WriteOnly) || !writeRecordingCsv(recording, file) || !file.commit())
        return standardText("Не удалось записать файл «%1»").arg(QFileInfo(csvPath).fileName());
    return QString();
}

} // namespace VornaLumeto
