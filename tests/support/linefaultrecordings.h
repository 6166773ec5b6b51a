#pragma once

#include "analysis/signalanalysis.h"
#include "comtrade/recording.h"
#include "linefaultrecording.h"
#include "recordingwriter.h"

#include <QString>
#include <QTemporaryDir>

namespace LumetoTest {

// Generates the line-fault recording, writes it in the form as dir/baseName
// and reads it back through the standard reader; the reader's message.
QString loadLineFault(const QTemporaryDir& dir, const QString& baseName, const LumetoTools::LineFaultOptions& options,
                      const LumetoTools::RecordingForm& form, VornaLumeto::Recording& recording);

// Raw values of the channel to primary volts and amperes: its multiplier and
// offset, the ratio where it holds secondary values, and a kilo prefix.
VornaLumeto::ChannelScaling primaryScaling(const VornaLumeto::Recording& recording, int channel);

} // namespace LumetoTest
