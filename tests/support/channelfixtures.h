#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QVector>

namespace LumetoTest {

struct AnalogChannelData {
    QString id;
    QString unit;
    QVector<int> values;  // raw samples; multiplier 1, offset 0
};

struct DigitalChannelData {
    QString id;
    QVector<int> states;
};

// Writes name.cfg and name.dat: an ASCII recording at 1000 samples per second
// (t = 0, 1, 2 ... ms) and 50 Hz. Every channel must hold the same number of
// samples. Returns the path of the .cfg file.
QString writeChannelRecording(const QTemporaryDir& dir, const QString& name,
                              const QVector<AnalogChannelData>& analog,
                              const QVector<DigitalChannelData>& digital);

// A sine of the given peak, 20 samples per period.
QVector<int> sineSamples(int peak, int count);

} // namespace LumetoTest
