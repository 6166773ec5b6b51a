#pragma once

#include "comtrade/common/recording.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace VornaLumeto {
struct LoadFailure;
}

namespace LumetoFuzz {

// The fuzzer's bytes as a byte array that does not copy them.
QByteArray bytesOf(const uint8_t* data, size_t size);

// Reads a configuration text through the configuration reader; empty on success.
QString readConfigurationBytes(const QByteArray& bytes, VornaLumeto::Recording& recording);

// Reads a data file text and, on success, builds the time axis and the value
// series with their frequency tracks, as loading does. Empty on success; what
// a failing step saw goes into failure, when given.
QString readDataBytes(const QByteArray& bytes, VornaLumeto::Recording& recording,
                      VornaLumeto::LoadFailure* failure = nullptr);

// Reads a data file text with readDataRows from a device that hands it out at
// most pieceSize bytes a read, as a file may, so that lines straddle the
// reader's refills. Empty on success.
QString readDataRowsInPieces(const QByteArray& bytes, VornaLumeto::Recording& recording, int pieceSize);

// Stops the run with a finding when a promise about a loaded recording is broken.
void require(bool condition);

// The promises every successfully read recording keeps: counts match the
// vectors, every series has N elements, frequencies stay within 40 ... 60 Hz.
void checkLoadedRecording(const VornaLumeto::Recording& recording);

// Those promises, and the standard reader's own: every row holds the kept
// channels, values are finite or NaN (missing), the time axis is finite and
// the description counts what it read.
void checkStandardRecording(const VornaLumeto::Recording& recording);

} // namespace LumetoFuzz
