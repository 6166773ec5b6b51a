#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace VornaLumeto {

// The bytes the view holds beside the recording once it shows it: per analog
// channel every sample mapped into its band (8 bytes) and the points of its
// waveform and frequency graphs (16 bytes each), per digital channel the two
// edges of its trace (8 bytes each) and their points (16 bytes each).
qint64 displayMemoryBytes(qint64 sampleCount, int analogCount, int digitalCount);

// The MemAvailable line of a /proc/meminfo text, in bytes; -1 without one.
qint64 memAvailableBytes(const QByteArray& meminfo);

// The memory this system can give new work without swapping, in bytes; -1
// where it cannot be told.
qint64 availableMemoryBytes();

} // namespace VornaLumeto
