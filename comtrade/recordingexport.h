#pragma once

#include "comtrade/common/recording.h"

#include <QString>

namespace VornaLumeto {

// Loads a recording through the dialect reader, a .cff through the standard
// reader; with standardWhenRefused, a file the dialect reader refuses too.
// Returns loadSuccessMessage() or the message of the reader that read last.
QString loadRecordingForExport(const QString& path, bool standardWhenRefused, Recording& recording);

// Writes a loaded recording to csvPath as CSV. Returns an empty string on
// success, otherwise the message for the user; a failure leaves no file.
QString writeRecordingCsvFile(const Recording& recording, const QString& csvPath);

// Loads the recording as above and writes it to csvPath as CSV. Returns an
// empty string on success, otherwise the message for the user.
QString exportRecordingAsCsv(const QString& recordingPath, const QString& csvPath, bool standardWhenRefused);

} // namespace VornaLumeto
