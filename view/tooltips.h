#pragma once

#include "comtrade/common/recording.h"

#include <QString>

namespace VornaLumeto {

// Tooltips render whatever looks like markup, and channel names and paths come
// from files: these tooltips show their text exactly as written.
QString plainToolTip(const QString& text);

// A channel's name label is cut off in the label column; its tooltip gives the
// full name and then the phase, circuit and unit that are written.
QString analogChannelToolTip(const AnalogChannel& channel);

} // namespace VornaLumeto
