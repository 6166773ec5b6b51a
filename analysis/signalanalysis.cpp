#include "analysis/signalanalysis.h"

namespace VornaLumeto {

AnalysisPeriods analysisPeriods(int, int) { return {}; }
double computeWindowRms(const QVector<double>&, double, double, int, int) { return 0.0; }
Phasor computePhasor(const QVector<double>&, int, int, int, double, double) { return {}; }
HarmonicMagnitudes computeHarmonicMagnitudes(const QVector<double>&, double, double, int, int, int) { return {}; }

} // namespace VornaLumeto
