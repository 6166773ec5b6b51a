#include "view/comtraderead.h"

namespace VornaLumeto {

void COMTRADE_read::buildVectorDiagram() {}
void COMTRADE_read::showVectorDiagram() {}
void COMTRADE_read::hideVectorDiagram() {}
void COMTRADE_read::refreshVectorDiagram() {}
void COMTRADE_read::clearVectorDiagram() {}
void COMTRADE_read::createVectorCurve(int) {}
void COMTRADE_read::slot_key_shift_d_vector_menu() {}
void COMTRADE_read::slot_menu_vector_diag(QPoint) {}
void COMTRADE_read::slot_action_submenu_vector_diag_channel() {}
void COMTRADE_read::slot_action_submenu_vector_diag_angle_ot() {}
void COMTRADE_read::slot_action_submenu_vector_diag_raz() {}
void COMTRADE_read::slot_analog_ch_act_vector_diag() {}

} // namespace VornaLumeto
