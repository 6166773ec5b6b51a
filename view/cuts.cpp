#include "view/comtraderead.h"

namespace VornaLumeto {

void COMTRADE_read::createCuts() {}
void COMTRADE_read::placeCut(int, double) {}
void COMTRADE_read::setCutLinePoints(QCPCurve*, double) {}
void COMTRADE_read::repaintCuts() {}
double COMTRADE_read::mouseTime(const QMouseEvent*) const { return 0.0; }
void COMTRADE_read::slot_press_mouse(QMouseEvent*) {}
void COMTRADE_read::slot_release_mouse(QMouseEvent*) {}
void COMTRADE_read::slot_move_mouse(QMouseEvent*) {}
void COMTRADE_read::slot_key_Right() {}
void COMTRADE_read::slot_key_Left() {}

} // namespace VornaLumeto
