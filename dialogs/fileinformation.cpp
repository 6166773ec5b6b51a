#include "view/comtraderead.h"

namespace VornaLumeto {

void COMTRADE_read::showFileInformationWindow() {}

} // namespace VornaLumeto
