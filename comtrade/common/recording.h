#pragma once

#include "comtrade/common/standarddescription.h"

#include <QString>
#include <QVector>

namespace VornaLumeto {

struct AnalogChannel {
    quint8 index = 0;       // channel number as written in the file
    QString id;
    QString phase;
    QString circuit;
    QString unit;
    double multiplier = 0.0;
    double offsetAdder = 0.0;
    double skew = 0.0;      // microseconds, stored as read
    qint32 minValue = 0;
    qint32 maxValue = 0;
    bool shown = false;
};

struct DigitalChannel {
    quint8 index = 0;
    QString id;
    quint8 normalState = 0;
    bool shown = false;
};

struct SampleRate {
    qint32 rate = 0;        // samples per second
    qint32 endSample = 0;   // number of the last sample taken at this rate
};

struct TimeStamp {
    quint8 month = 0;
    quint8 day = 0;
    qint16 year = 0;        // as written: a two-digit year stays two-digit
    quint8 hour = 0;
    quint8 minute = 0;
    double seconds = 0.0;
};

struct SampleRow {
    qint32 number = 0;
    qint32 timeStamp = 0;   // microseconds as written
    QVector<qint32> analog;
    QVector<quint8> digital;
};

// One loaded recording: configuration, samples, time axes and frequency tracks.
// The view derives from it, so every consumer reads these members by name.
struct Recording {
    QString stationName;
    qint32 recorderId = 0;
    quint8 totalChannelCount = 0;
    quint8 analogCount = 0;
    quint8 digitalCount = 0;

    QVector<AnalogChannel> analogChannels;
    QVector<DigitalChannel> digitalChannels;

    qint32 lineFrequency = 0;
    quint8 rateCount = 0;
    QVector<SampleRate> sampleRates;
    TimeStamp startTime;
    TimeStamp triggerTime;

    QVector<SampleRow> samples;
    QVector<QVector<double>> analogValues;   // raw values, not scaled
    QVector<QVector<double>> digitalValues;  // 0.0 or 1.0
    QVector<double> rawTimeAxis;             // ms, data-file stamps rounded
    QVector<double> timeAxis;                // ms, corrected
    QVector<QVector<double>> channelFrequency;
    QVector<QVector<double>> frequencyDeviation;

    // What only a recording read by the standard reader has beyond the members above.
    StandardDescription standard;

    // N: the end sample of the first sampling rate (0 before the configuration is read).
    int sampleCount() const { return sampleRates.isEmpty() ? 0 : sampleRates.first().endSample; }
};

} // namespace VornaLumeto
