#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace VornaLumeto {

// Primary and secondary factors of one analog channel and which of the two
// its values are (P or S), as the configuration states them.
struct AnalogScaling {
    double primary = 1.0;
    double secondary = 1.0;
    QString primaryOrSecondary;  // "P", "S" or empty, as written
};

// One sampling-rate line: samples per second, exactly as written, and the
// samples it covers.
struct RateSegment {
    double rate = 0.0;
    qint64 firstSample = 0;  // 0-based index of the first sample at this rate
    qint64 endSample = 0;    // number of the last sample at this rate, as written
};

// What a recording read by the standard reader holds beyond the members every
// consumer reads: the facts that those members cannot carry, kept as written.
// A recording loaded by the dialect reader leaves it as constructed.
struct StandardDescription {
    bool fromStandardReader = false;
    int revisionYear = 1991;      // the year on line 1; 1991 when the line has none
    QString dataType;             // ASCII, BINARY, BINARY32 or FLOAT32
    QString stationName;          // line 1, as written
    QString recorderId;           // line 1, as written (often not a number)
    QVector<AnalogScaling> analogScaling;  // one per analog channel kept
    double lineFrequency = 0.0;   // Hz, exactly as written
    double timeMultiplier = 1.0;  // timemult: time stamps times this are microseconds
    QString timeCode;             // 2013 time-code line: offset of the time stamps from UTC
    QString localCode;            //   and of local time from UTC, as written
    QString timeQuality;          // 2013 time-quality line: tmq code
    QString leapSecond;           //   and leap-second indicator, as written
    QVector<RateSegment> rateSegments;  // empty when the file gives no rate (nrates 0)
    int fileAnalogCount = 0;      // channels in the file ...
    int fileDigitalCount = 0;
    int analogLeftOut = 0;        // ... and those the model could not hold
    int digitalLeftOut = 0;
    qint64 promisedSamples = 0;   // samples the configuration announces
    qint64 readSamples = 0;       // samples the data held
    QString encoding;             // the configuration's text encoding as detected
    QStringList notes;            // what was read otherwise than written, a sentence each
};

} // namespace VornaLumeto
