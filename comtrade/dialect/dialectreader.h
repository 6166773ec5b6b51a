#pragma once

#include "comtrade/common/recording.h"

#include <QString>

namespace VornaLumeto {

struct LoadFailure;

// The text returned by a successful load.
QString loadSuccessMessage();

// Reads a configuration file and its data file into the recording, with time
// axes, value series and frequency tracks. Returns loadSuccessMessage() or
// the message that tells the user what is wrong with the files; what the
// failing step saw goes into failure, when given.
QString loadRecording(const QString& configurationPath, Recording& recording, LoadFailure* failure = nullptr);

} // namespace VornaLumeto
