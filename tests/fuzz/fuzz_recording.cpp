// Both files of a recording in one input: the configuration, a NUL byte, then
// the data file (without a NUL byte the data file is missing). They are loaded
// through the public loader, so wide configurations (up to 255 channels) and
// long data files (thousands of samples) reach the data reader's two cursors
// and the frequency tracking. The data are then read once more in small pieces,
// so that lines straddle the reader's refills; both readings must agree.
#include "fuzzsupport.h"

#include "comtrade/dialect/dialectreader.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

struct RecordingFiles {
    QTemporaryDir directory;
    QString configuration = directory.filePath(QStringLiteral("fuzz.cfg"));
    QString data = directory.filePath(QStringLiteral("fuzz.dat"));
};

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    LumetoFuzz::require(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    LumetoFuzz::require(file.write(bytes) == bytes.size());
}

// The rows read in pieces hold what the loaded recording's time axis and series hold.
bool sameReading(const VornaLumeto::Recording& loaded, const VornaLumeto::Recording& pieces)
{
    if (loaded.rawTimeAxis != pieces.rawTimeAxis)
        return false;
    for (int k = 0; k < pieces.rawTimeAxis.size(); ++k) {
        const VornaLumeto::SampleRow& row = pieces.samples.at(k);
        for (int c = 0; c < loaded.analogCount; ++c) {
            if (loaded.analogValues.at(c).at(k) != row.analog.at(c))
                return false;
        }
        for (int d = 0; d < loaded.digitalCount; ++d) {
            if (loaded.digitalValues.at(d).at(k) != row.digital.at(d))
                return false;
        }
    }
    return true;
}

// The same data read in pieces of 512 to 4607 bytes, as the input's length decides.
void requireSameReadingInPieces(const QByteArray& configuration, const QByteArray& data,
                                const QString& loadMessage, const VornaLumeto::Recording& loaded)
{
    VornaLumeto::Recording pieces;
    if (!LumetoFuzz::readConfigurationBytes(configuration, pieces).isEmpty())
        return;
    const QString message = LumetoFuzz::readDataRowsInPieces(data, pieces, 512 + data.size() % 4096);
    if (loadMessage == VornaLumeto::loadSuccessMessage())
        LumetoFuzz::require(message.isEmpty() && sameReading(loaded, pieces));
    else
        LumetoFuzz::require(message == loadMessage);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static RecordingFiles files;
    const QByteArray input = LumetoFuzz::bytesOf(data, size);
    const int separator = input.indexOf('\0');
    const QByteArray configuration = separator < 0 ? input : input.left(separator);
    writeFile(files.configuration, configuration);
    QFile::remove(files.data);
    if (separator >= 0)
        writeFile(files.data, input.mid(separator + 1));

    VornaLumeto::Recording recording;
    const QString message = VornaLumeto::loadRecording(files.configuration, recording);
    if (message == VornaLumeto::loadSuccessMessage())
        LumetoFuzz::checkLoadedRecording(recording);
    if (separator >= 0 && separator + 1 < input.size())
        requireSameReadingInPieces(configuration, input.mid(separator + 1), message, recording);
    return 0;
}
