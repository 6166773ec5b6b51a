#pragma once

#include "comtrade/recording.h"

#include <QString>

namespace VornaLumeto {

// The text returned by a successful load.
QString loadSuccessMessage();

// Reads a configuration file and its data file into the recording, with time
// axes, value series and frequency tracks. Returns loadSuccessMessage() or
// the message that tells the user what is wrong with the files.
QString loadRecording(const QString& configurationPath, Recording& recording);

} // namespace VornaLumeto
