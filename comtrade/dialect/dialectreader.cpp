#include "comtrade/dialect/dialectreader.h"

#include "comtrade/common/readingprogress.h"
#include "comtrade/common/recordingfiles.h"
#include "comtrade/common/textencoding.h"
#include "comtrade/dialect/configurationreader.h"
#include "comtrade/dialect/datareader.h"
#include "comtrade/dialect/dialectmessages.h"
#include "comtrade/dialect/loadfailure.h"

#include <QBuffer>
#include <QFileInfo>

namespace VornaLumeto {
namespace {

ReadingResult refused(ReadingFailure failure, const char* message)
{
    return {failure, dialectText(message)};
}

ReadingResult readConfigurationBytes(RecordingFiles& files, Recording& recording, LoadFailure* failure)
{
    if (!files.isOpen())
        return refused(ReadingFailure::FileNotOpened, "Файл не открывается");
    if (files.bytes().isEmpty())
        return refused(ReadingFailure::FileEmpty, "Файл *.cfg пуст");
    QBuffer device;
    device.setData(files.bytes());
    device.open(QIODevice::ReadOnly);
    const QString message = readConfiguration(device, recording, failure, dialectCodec(files.encodingGuess()));
    return {message.isEmpty() ? ReadingFailure::None : ReadingFailure::Configuration, message};
}

ReadingResult readDataFile(QFile& file, Recording& recording, LoadFailure* failure, ReadingProgress* progress)
{
    if (!file.isOpen()) {
        if (failure)
            failure->dataPath = QFileInfo(file.fileName()).absoluteFilePath();
        return refused(ReadingFailure::DataFileNotOpened, "Не удалось открыть файл *.dat");
    }
    if (file.size() == 0)
        return refused(ReadingFailure::DataFileEmpty, "Файл *.dat пуст");
    if (progress)
        progress->beginStage(ReadingProgress::Stage::DialectData, file.size());
    const QString message = readDataFileRows(file, recording, failure, parallelReadingBytes, progress);
    if (progress && progress->isCancelled())
        return {ReadingFailure::Cancelled, QString()};
    if (!message.isEmpty())
        return {ReadingFailure::Data, message};
    correctTimeAxis(recording);
    if (!buildValueSeries(recording, progress))
        return {ReadingFailure::Cancelled, QString()};
    return {};
}

} // namespace

QString loadSuccessMessage()
{
    return dialectText("Без ошибок");
}

QString configurationRefusal(const QByteArray& configuration, QTextCodec* codec)
{
    QBuffer device;
    device.setData(configuration);
    device.open(QIODevice::ReadOnly);
    Recording scratch;
    return readConfiguration(device, scratch, nullptr, codec);
}

ReadingResult readDialectRecording(RecordingFiles& files, Recording& recording, LoadFailure* failure,
                                   ReadingProgress* progress)
{
    const ReadingResult configuration = readConfigurationBytes(files, recording, failure);
    if (!configuration.ok())
        return configuration;
    return readDataFile(files.data(), recording, failure, progress);
}

} // namespace VornaLumeto
