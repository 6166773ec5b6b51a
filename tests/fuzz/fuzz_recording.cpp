// Both files of a recording in one input: the configuration, a NUL byte, then
// the data file (without a NUL byte the data file is missing). They are read
// through the one way in (readRecording), so wide configurations (up to 255
// channels) and long data files (thousands of samples) reach the data reader's
// two cursors and the frequency tracking. The data are then read once more in small pieces,
// so that lines straddle the reader's refills; both readings must agree.
#include "fuzzsupport.h"

#include "comtrade/recordingreader.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

struct FuzzFiles {
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
                                const VornaLumeto::ReadingResult& load, const VornaLumeto::Recording& loaded)
{
    VornaLumeto::Recording pieces;
    if (!LumetoFuzz::readConfigurationBytes(configuration, pieces).isEmpty())
        return;
    const QString message = LumetoFuzz::readDataRowsInPieces(data, pieces, 512 + data.size() % 4096);
    if (load.ok())
        LumetoFuzz::require(message.isEmpty() && sameReading(loaded, pieces));
    else
        LumetoFuzz::require(message == load.message);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FuzzFiles files;
    const QByteArray input = LumetoFuzz::bytesOf(data, size);
    const int separator = input.indexOf('\0');
    const QByteArray configuration = separator < 0 ? input : input.left(separator);
    writeFile(files.configuration, configuration);
    QFile::remove(files.data);
    if (separator >= 0)
        writeFile(files.data, input.mid(separator + 1));

    const VornaLumeto::RecordingReading reading =
        VornaLumeto::readRecording(files.configuration, VornaLumeto::StandardReading::Never);
    if (reading.ok())
        LumetoFuzz::checkLoadedRecording(reading.recording);
    if (separator >= 0 && separator + 1 < input.size())
        requireSameReadingInPieces(configuration, input.mid(separator + 1), reading.result, reading.recording);
    return 0;
}
