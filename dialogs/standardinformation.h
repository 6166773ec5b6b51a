#pragma once

#include "comtrade/common/recording.h"

#include <QPair>
#include <QString>
#include <QVector>

namespace VornaLumeto {

// A caption and its value, as the information window shows them.
using InformationRow = QPair<QString, QString>;

// What the information window adds for a recording read by the standard
// reader: revision, data type, recorder id as written, rates, time multiplier,
// time code and quality, text encoding, the channels' primary and secondary
// factors, and what of the file the view does not show. A value of several
// items has one a line.
QVector<InformationRow> standardInformationRows(const Recording& recording);

// "1000 / 5, P": primary and secondary factor, and which of the two the values are.
QString scalingText(const AnalogScaling& scaling);

} // namespace VornaLumeto
