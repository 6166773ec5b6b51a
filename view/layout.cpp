#include "view/comtraderead.h"

namespace VornaLumeto {

void COMTRADE_read::buildLayout() {}
void COMTRADE_read::setupPlotAxes() {}
void COMTRADE_read::buildChannelPlots() {}
void COMTRADE_read::mapToBand(QVector<double>&, const QVector<double>&, int, double, double) {}
double COMTRADE_read::peakAbs(const QVector<double>&) { return 0.0; }
void COMTRADE_read::requestReplot() {}

} // namespace VornaLumeto
