#include "comtrade/recordingreader.h"

#include "comtrade/common/recordingfiles.h"
#include "comtrade/common/recordingpath.h"
#include "comtrade/common/textencoding.h"
#include "comtrade/dialect/dialectmessages.h"
#include "comtrade/dialect/dialectreader.h"
#include "comtrade/standard/standardreader.h"

namespace VornaLumeto {
namespace {

void readByDialect(RecordingFiles& files, RecordingReading& reading, ReadingProgress* progress)
{
    reading.grammar = RecordingGrammar::Dialect;
    reading.result = readDialectRecording(files, reading.recording, &reading.dialectFailure, progress);
    if (reading.result.failure != ReadingFailure::Cancelled)
        reading.dialectRefusal = reading.result;
}

// The viewer's own reader quotes a failing configuration line as it decoded
// it (Windows-1251 mostly); beside the standard reader, which detected the
// file's encoding, the refusal quotes it as the file is written.
void quoteInFileEncoding(RecordingFiles& files, RecordingReading& reading)
{
    const EncodingGuess& guess = files.encodingGuess();
    QTextCodec* const fileCodec = standardCodec(guess);
    if (reading.dialectRefusal.failure != ReadingFailure::Configuration || guess.marked
        || fileCodec == dialectCodec(guess))
        return;
    reading.dialectRefusal.message = configurationRefusal(files.bytes(), fileCodec);
}

void readByStandard(RecordingFiles& files, RecordingReading& reading, ReadingProgress* progress)
{
    reading.grammar = RecordingGrammar::Standard;
    // What the dialect reader left of the members must not mix with the standard reader's.
    reading.recording = Recording();
    reading.result = readStandardFiles(files, reading.recording, progress);
}

} // namespace

RecordingReading readRecording(const QString& path, StandardReading standard, ReadingProgress* progress)
{
    RecordingReading reading;
    if (path.isEmpty()) {
        reading.result = {ReadingFailure::NoName, dialectText("Файл не выбран")};
        reading.dialectRefusal = reading.result;
        return reading;
    }
    RecordingFiles files(path);
    if (standard != StandardReading::Never && recordingPathKind(path, LetterCase::Any) == RecordingPathKind::Combined) {
        reading.grammar = RecordingGrammar::Standard;
        reading.result = readCombinedFile(files, reading.recording, progress);
        return reading;
    }
    readByDialect(files, reading, progress);
    if (!reading.dialectRefusal.ok() && standard == StandardReading::WhenRefused) {
        quoteInFileEncoding(files, reading);
        readByStandard(files, reading, progress);
    }
    return reading;
}

} // namespace VornaLumeto
