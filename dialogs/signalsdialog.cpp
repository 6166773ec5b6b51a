#include "app/comtradeview.h"

namespace VornaLumeto {

bool comtrade_view::showSignalsDialog(bool, int, bool, bool) { return false; }
void comtrade_view::slot_pushButt_all_yes() {}
void comtrade_view::slot_pushButt_all_no() {}
void comtrade_view::slot_pushButt_Ok() {}
void comtrade_view::slot_pushButt_Exit() {}

} // namespace VornaLumeto
