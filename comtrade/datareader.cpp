#include "comtrade/datareader.h"

namespace VornaLumeto {

QString dataFilePath(const QString& configurationPath) { return configurationPath.chopped(3) + "dat"; }
bool parseDataLine(QByteArray&, SampleRow&, quint8, quint8, quint8) { return false; }
QString readDataRows(QIODevice&, Recording&) { return QStringLiteral("not built yet"); }
void correctTimeAxis(Recording&) {}
void buildValueSeries(Recording&) {}

} // namespace VornaLumeto
