#include "comtrade/common/recordingfiles.h"

#include "comtrade/common/recordingpath.h"

namespace VornaLumeto {

RecordingFiles::RecordingFiles(const QString& path) : filePath(path)
{
    QFile file(path);
    opened = file.open(QIODevice::ReadOnly);
    if (opened)
        fileBytes = file.readAll();
}

const EncodingGuess& RecordingFiles::encodingGuess()
{
    if (!guess)
        guess = guessEncoding(fileBytes);
    return *guess;
}

QFile& RecordingFiles::data()
{
    if (!dataFile) {
        dataFile = std::make_unique<QFile>(dataFilePath(filePath));
        dataFile->open(QIODevice::ReadOnly);
    }
    if (dataFile->isOpen())
        dataFile->seek(0);
    return *dataFile;
}

} // namespace VornaLumeto
