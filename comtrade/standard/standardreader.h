#pragma once

#include "comtrade/common/readingresult.h"
#include "comtrade/common/recording.h"

#include <QByteArray>
#include <QString>

namespace VornaLumeto {

class ReadingProgress;
class RecordingFiles;

// Reads a recording of any revision of the format (1991, 1999, 2013): a
// configuration with its data file beside it, or a single .cff file. Fills
// the recording's members as the dialect reader does, and the standard
// description beside them. A refusal's message names the file, the line or
// byte offset and the reason. Cancelled through progress, when given.
ReadingResult readStandardFiles(RecordingFiles& files, Recording& recording, ReadingProgress* progress = nullptr);
ReadingResult readCombinedFile(RecordingFiles& file, Recording& recording, ReadingProgress* progress = nullptr);

// The same from files already in memory; the names are for the messages.
ReadingResult readStandardRecording(const QString& configurationName, const QByteArray& configuration,
                                    const QString& dataName, const QByteArray& data, Recording& recording);
ReadingResult readCombinedRecording(const QString& fileName, const QByteArray& bytes, Recording& recording,
                                    ReadingProgress* progress = nullptr);

} // namespace VornaLumeto
