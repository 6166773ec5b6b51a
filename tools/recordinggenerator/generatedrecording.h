#pragma once

#include <QString>
#include <QVector>

namespace LumetoTools {

// Samples taken at one rate; several follow one another in a recording.
struct SamplingSegment {
    int rate = 1000;   // samples per second
    int samples = 0;
};

struct GeneratedAnalogChannel {
    QString id;
    QString phase;
    QString circuit;
    QString unit;
    double multiplier = 1.0;
    QVector<qint32> raw;       // one value per sample, as written
    // The instrument transformer's ratio and which side the values are (1999 on).
    double primary = 1.0;
    double secondary = 1.0;
    QString primaryOrSecondary = QStringLiteral("P");
};

struct GeneratedDigitalChannel {
    QString id;
    int normalState = 0;
    QVector<quint8> states;    // one 0/1 per sample, as written
};

// Everything a generated recording holds, so callers can compare what a reader
// makes of the files with what was written.
struct GeneratedRecording {
    QString stationName;
    int recorderId = 0;
    int lineFrequency = 50;
    int sampleRate = 1000;       // of the first segment
    QVector<SamplingSegment> segments;  // at least one
    int triggerSample = 0;
    // The first-sample and trigger lines as written (dd/mm/yyyy,hh:mm:ss.ffffff);
    // empty: the first sample at the generator's clock, the trigger at its sample.
    QString startTimeStamp;
    QString triggerTimeStamp;
    QVector<qint32> timeStamps;  // microseconds from 0, each segment at its own rate
    QVector<GeneratedAnalogChannel> analog;
    QVector<GeneratedDigitalChannel> digital;
};

} // namespace LumetoTools
