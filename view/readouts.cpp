#include "view/comtraderead.h"

namespace VornaLumeto {

void COMTRADE_read::updateCutTimes() {}
void COMTRADE_read::updateReadouts() {}
void COMTRADE_read::showValueWithPrefix(double, const QString&, QLabel*, QLabel*) {}
bool COMTRADE_read::diagramWindowReady() const { return false; }

} // namespace VornaLumeto
