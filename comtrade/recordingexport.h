#pragma once

#include "comtrade/common/recording.h"

#include <QString>

namespace VornaLumeto {

// Writes a loaded recording to csvPath as CSV. Returns an empty string on
// success, otherwise the message for the user; a failure leaves no file.
QString writeRecordingCsvFile(const Recording& recording, const QString& csvPath);

// Reads the recording (a .cff through the standard reader; with
// standardWhenRefused, a file the viewer's own reader refuses too) and writes
// it to csvPath as CSV. Returns an empty string on success, otherwise the
// message of the reader that read last, or of the writing.
QString exportRecordingAsCsv(const QString& recordingPath, const QString& csvPath, bool standardWhenRefused);

} // namespace VornaLumeto
