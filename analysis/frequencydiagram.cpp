#include "view/comtraderead.h"

namespace VornaLumeto {

void COMTRADE_read::buildFrequencyDiagram() {}
void COMTRADE_read::showFrequencyDiagram() {}
void COMTRADE_read::hideFrequencyDiagram() {}
void COMTRADE_read::refreshFrequencyDiagram() {}
void COMTRADE_read::emptyFrequencyDiagram() {}
void COMTRADE_read::slot_key_shift_d_frequency_menu() {}
void COMTRADE_read::slot_menu_frequency_diag(QPoint) {}
void COMTRADE_read::slot_action_submenu_frequency_diag_channel() {}
void COMTRADE_read::slot_action_submenu_frequency_diag_value() {}
void COMTRADE_read::slot_action_frequency_diag_numer_garmonic() {}
void COMTRADE_read::slot_analog_ch_act_frequency_diag() {}

} // namespace VornaLumeto
