#pragma once

#include "comtrade/common/recording.h"
#include "comtrade/standard/standarddata.h"
#include "comtrade/standard/standardconfiguration.h"

#include <QString>

namespace VornaLumeto {

class ReadingProgress;

// The channels the model can hold (255 in all): every analog channel it can
// take, then the first digital ones.
DataLayout keptChannelLayout(const StandardConfiguration& configuration);

// Fills the recording's members from what the standard reader read: counts,
// channels, sampling, time axes, value series with their frequency tracks and
// the standard description. Returns an empty string, or the message naming
// the data file and the reason when the samples give no usable time axis. A
// reading cancelled through progress (when given) is left without tracks.
QString fillRecording(const StandardConfiguration& configuration, DecodedData& data, const QString& encoding,
                      const QString& dataFileName, Recording& recording, ReadingProgress* progress = nullptr);

} // namespace VornaLumeto
