#include "comtrade/configurationparser.h"
#include "comtrade/spacenormalization.h"

namespace VornaLumeto {

bool parseStationLine(QString&, QString&, qint32&) { return false; }
bool parseChannelCounts(QString&, quint8&, quint8&, quint8&) { return false; }
bool parseAnalogChannel(QString&, AnalogChannel&) { return false; }
bool parseDigitalChannel(QString&, DigitalChannel&) { return false; }
bool parseLineFrequency(QString&, qint32&) { return false; }
bool parseRateCount(QString&, quint8&) { return false; }
bool parseSampleRate(QString&, SampleRate&) { return false; }
bool parseTimeStamp(QString&, TimeStamp&) { return false; }
bool isAsciiFileType(const QString& line) { return line == QLatin1String("ASCII"); }

} // namespace VornaLumeto
