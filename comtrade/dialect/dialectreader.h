#pragma once

#include "comtrade/common/readingresult.h"
#include "comtrade/common/recording.h"

#include <QString>

class QTextCodec;

namespace VornaLumeto {

class ReadingProgress;
class RecordingFiles;
struct LoadFailure;

// The text the view's load returns for a recording it read.
QString loadSuccessMessage();

// Reads the viewer's own layout: the configuration (Windows-1251) and its data
// file, with time axes, value series and frequency tracks. A refusal carries
// the message the view's load returns; what the failing step saw goes into
// failure, when given. Cancelled through progress, when given.
ReadingResult readDialectRecording(RecordingFiles& files, Recording& recording, LoadFailure* failure = nullptr,
                                   ReadingProgress* progress = nullptr);

// The message with which the reader refuses a configuration, the failing line
// decoded with codec; empty when it reads the configuration.
QString configurationRefusal(const QByteArray& configuration, QTextCodec* codec);

} // namespace VornaLumeto
