#pragma once

#include "comtrade/recording.h"

#include <QString>

class QIODevice;

namespace VornaLumeto {

// Reads the configuration lines in their fixed order from an open device
// (decoded as Windows-1251) into the recording. Returns an empty string on
// success, otherwise the message naming the first failing line.
QString readConfiguration(QIODevice& device, Recording& recording);

} // namespace VornaLumeto
