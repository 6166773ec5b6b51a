#include "support/readings.h"

#include "comtrade/common/recordingfiles.h"
#include "comtrade/common/recordingpath.h"
#include "comtrade/dialect/dialectreader.h"
#include "comtrade/recordingreader.h"
#include "comtrade/standard/standardreader.h"

namespace LumetoTest {
namespace {

QString textOf(const VornaLumeto::ReadingResult& result)
{
    return result.ok() ? VornaLumeto::loadSuccessMessage() : result.message;
}

} // namespace

QString loadDialect(const QString& path, VornaLumeto::Recording& recording, VornaLumeto::LoadFailure* failure)
{
    VornaLumeto::RecordingReading reading = VornaLumeto::readRecording(path, VornaLumeto::StandardReading::Never);
    recording = std::move(reading.recording);
    if (failure)
        *failure = reading.dialectFailure;
    return textOf(reading.result);
}

QString loadStandard(const QString& path, VornaLumeto::Recording& recording)
{
    VornaLumeto::RecordingFiles files(path);
    const bool combined =
        VornaLumeto::recordingPathKind(path, VornaLumeto::LetterCase::Any) == VornaLumeto::RecordingPathKind::Combined;
    return textOf(combined ? VornaLumeto::readCombinedFile(files, recording)
                           : VornaLumeto::readStandardFiles(files, recording));
}

} // namespace LumetoTest
