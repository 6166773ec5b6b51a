#pragma once

#include "comtrade/common/recording.h"

#include <QString>

namespace VornaLumeto {

// "Файл записан по редакции 1999 года, данные BINARY."
QString describeStandardFormat(int revisionYear, const QString& dataType);

// The format of a recording read by the standard reader, and the warnings below.
QString describeStandardRecording(const Recording& recording);

// What the tab does not show as written: channels left out, fewer samples
// than announced, values read otherwise than written; empty when none.
QString describeWarnings(const Recording& recording);

} // namespace VornaLumeto
