#include "view/comtraderead.h"

namespace VornaLumeto {

void COMTRADE_read::setInitialWindow() {}
void COMTRADE_read::refillRowSlots(int, RowOrder) {}
void COMTRADE_read::installShortcuts() {}
void COMTRADE_read::slot_horzScrollBarChanged() {}
void COMTRADE_read::slot_vertScrollBarChanged() {}
void COMTRADE_read::slot_slider_valueChange() {}
void COMTRADE_read::slot_mouse_wheel(QWheelEvent*) {}
void COMTRADE_read::slot_key_Top() {}
void COMTRADE_read::slot_key_Bottom() {}

} // namespace VornaLumeto
