#include "view/comtraderead.h"

namespace VornaLumeto {

int COMTRADE_read::printOrExport(int) { return 0; }

} // namespace VornaLumeto
