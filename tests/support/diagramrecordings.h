#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QVector>

namespace LumetoTest {

struct TestChannel {
    QString id;
    QString unit;
    double multiplier = 1.0;
    QVector<qint32> raw;  // one value per sample
};

struct TestDigitalChannel {
    QString id;
    QVector<int> states;  // one 0/1 per sample
};

struct TestRecording {
    QString stationName = QStringLiteral("Test station");
    QVector<TestChannel> analog;
    QVector<TestDigitalChannel> digital;
    int rate = 1000;
    int lineFrequency = 50;
    qint64 firstMicroseconds = 0;  // time stamp of sample 0; samples follow at 1 / rate
    bool zeroTimeStamps = false;   // every stamp written as 0, as some recorders do
};

// Raw samples of multiplier * raw = rms * sqrt(2) * sin(2 pi f t + phase), rounded to integers;
// sample 0 is at t = 0.
QVector<qint32> sineSamples(double rms, double phaseDegrees, double frequency, int rate, int count,
                            double multiplier);
QVector<qint32> constantSamples(qint32 raw, int count);

// Writes dir/baseName.cfg and .dat in the ASCII layout and returns the
// path of the configuration file.
QString writeAsciiRecording(const QTemporaryDir& dir, const QString& baseName,
                            const TestRecording& recording);

} // namespace LumetoTest
