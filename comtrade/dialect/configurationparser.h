#pragma once

#include "comtrade/common/recording.h"

#include <QString>

namespace VornaLumeto {

// Line parsers of the configuration file. Each normalises the line in place
// (except isAsciiFileType), fills its destination and returns false on any
// deviation from the grammar; the destination may then be partly written.
bool parseStationLine(QString& line, QString& stationName, qint32& recorderId);
bool parseChannelCounts(QString& line, quint8& totalChannelCount, quint8& analogCount, quint8& digitalCount);
bool parseAnalogChannel(QString& line, AnalogChannel& channel);
bool parseDigitalChannel(QString& line, DigitalChannel& channel);
bool parseLineFrequency(QString& line, qint32& lineFrequency);
bool parseRateCount(QString& line, quint8& rateCount);
bool parseSampleRate(QString& line, SampleRate& sampleRate);
bool parseTimeStamp(QString& line, TimeStamp& timeStamp);
bool isAsciiFileType(const QString& line);

} // namespace VornaLumeto
