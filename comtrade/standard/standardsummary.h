#pragma once

#include "comtrade/common/recording.h"

#include <QString>

namespace VornaLumeto {

// "Файл записан по редакции 1999 года, данные BINARY."
QString describeStandardFormat(int revisionYear, const QString& dataType);

// The format of a recording read by the standard reader, and what of it the
// model could not take: channels left out, fewer samples than announced.
QString describeStandardRecording(const Recording& recording);

// Only what of the recording the model could not take; empty when it took everything.
QString describeLeftOut(const Recording& recording);

} // namespace VornaLumeto
