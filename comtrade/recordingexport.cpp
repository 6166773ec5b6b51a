#include "comtrade/recordingexport.h"

#include "comtrade/csvwriter.h"
#include "comtrade/recordingreader.h"
#include "comtrade/standard/standardmessages.h"

#include <QFileInfo>
#include <QSaveFile>

namespace VornaLumeto {

QString exportRecordingAsCsv(const QString& recordingPath, const QString& csvPath, bool standardWhenRefused)
{
    const RecordingReading reading = readRecording(
        recordingPath, standardWhenRefused ? StandardReading::WhenRefused : StandardReading::CombinedOnly);
    if (!reading.ok())
        return reading.result.message;
    return writeRecordingCsvFile(reading.recording, csvPath);
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
