#pragma once

#include "comtrade/common/recording.h"

class QIODevice;

namespace VornaLumeto {

// Writes the recording as CSV (RFC 4180, UTF-8, commas, points for
// decimals): a header row, then one row per sample with its number, its time
// in ms on the time axis the view draws, every analog channel in engineering
// units (multiplier times value plus adder) and every digital channel as 0 or
// 1. Numbers take the shortest form that reads back to the same double; a
// missing value is an empty field. False when the device does not take it.
bool writeRecordingCsv(const Recording& recording, QIODevice& device);

} // namespace VornaLumeto
