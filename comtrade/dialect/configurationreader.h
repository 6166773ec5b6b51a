#pragma once

#include "comtrade/common/recording.h"

#include <QString>

class QIODevice;
class QTextCodec;

namespace VornaLumeto {

struct LoadFailure;

// Reads the configuration lines in their fixed order from an open device
// (decoded as Windows-1251 unless a codec is given, or as a byte-order mark
// says) into the recording. Returns an empty string on success, otherwise the
// message naming the first failing line; a failing station or file-type line
// is also noted in failure, when given.
QString readConfiguration(QIODevice& device, Recording& recording, LoadFailure* failure = nullptr,
                          QTextCodec* codec = nullptr);

} // namespace VornaLumeto
