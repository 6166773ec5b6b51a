#pragma once

#include "comtrade/common/recording.h"
#include "comtrade/common/standarddescription.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace VornaLumeto {

enum class DataType { Ascii, Binary, Binary32, Float32 };

struct StandardAnalogChannel {
    qint64 number = 0;  // An as written
    QString id;
    QString phase;
    QString circuit;
    QString unit;
    double multiplier = 1.0;
    double offsetAdder = 0.0;
    double skew = 0.0;
    double minValue = 0.0;
    double maxValue = 0.0;
    AnalogScaling scaling;
};

struct StandardDigitalChannel {
    qint64 number = 0;  // Dn as written
    QString id;
    QString phase;
    QString circuit;
    int normalState = 0;
};

// Everything a configuration of any revision states, every channel included.
struct StandardConfiguration {
    QString stationName;
    QString recorderId;
    int revisionYear = 1991;
    QVector<StandardAnalogChannel> analog;
    QVector<StandardDigitalChannel> digital;
    double lineFrequency = 0.0;
    QVector<RateSegment> rates;  // the sampling-rate lines; empty when nrates is 0
    qint64 lastSample = 0;       // end sample of the last rate line: the samples announced
    TimeStamp startTime;
    TimeStamp triggerTime;
    DataType dataType = DataType::Ascii;
    double timeMultiplier = 1.0;
    QString timeCode;
    QString localCode;
    QString timeQuality;
    QString leapSecond;
    QStringList notes;  // what was read otherwise than written, a sentence each for the user
};

QString dataTypeName(DataType type);

// Where the configuration is wrong: the line number in the file and why, in Russian.
struct ConfigurationProblem {
    int line = 0;
    QString reason;

    bool isEmpty() const { return reason.isEmpty(); }
};

// Parses the lines of a configuration of revision 1991, 1999 or 2013 (or a
// later year, by its field counts). firstLineNumber is the number of lines[0]
// in its file, for the message. Returns an empty problem on success.
ConfigurationProblem parseStandardConfiguration(const QStringList& lines, int firstLineNumber,
                                                StandardConfiguration& configuration);

} // namespace VornaLumeto
