#include "view/comtraderead.h"

namespace VornaLumeto {

void COMTRADE_read::buildChannelMenu() {}
void COMTRADE_read::slot_analog_ch_menu(QPoint) {}
void COMTRADE_read::toggleFrequencyCurve() {}
double COMTRADE_read::displayShift(int) const { return 0.0; }
void COMTRADE_read::slot_analog_ch_scale_relative_to_group() {}
void COMTRADE_read::applyDisplayedSignals(const QVector<bool>*) {}
void COMTRADE_read::scaleSignals(const QVector<int>&) {}

} // namespace VornaLumeto
