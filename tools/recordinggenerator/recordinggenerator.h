#pragma once

#include <QString>
#include <QVector>

namespace LumetoTools {

struct GeneratorOptions {
    int analogCount = 6;
    int digitalCount = 4;
    int samples = 2000;
    int sampleRate = 1000;     // samples per second
    int lineFrequency = 50;    // Hz
    unsigned seed = 1;
    QString stationName = QStringLiteral("ПС Северная");
};

struct GeneratedAnalogChannel {
    QString id;
    QString phase;
    QString circuit;
    QString unit;
    double multiplier = 1.0;
    QVector<qint32> raw;       // one value per sample, as written
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
    int sampleRate = 1000;
    int triggerSample = 0;
    QVector<qint32> timeStamps;  // microseconds from 0
    QVector<GeneratedAnalogChannel> analog;
    QVector<GeneratedDigitalChannel> digital;
};

// Empty when the options can be generated, otherwise what is wrong with them.
QString optionsProblem(const GeneratorOptions& options);

// A three-phase fault recording: load flow, then at the trigger a fault on
// phase A of the first feeder (current rise with decaying DC offset, voltage
// sag, harmonics, noise) cleared by its breaker. Same options, same recording.
GeneratedRecording generateRecording(const GeneratorOptions& options);

// Writes base.cfg (Windows-1251) and base.dat, base being a path without
// extension. Returns false when a file cannot be written.
bool writeRecording(const QString& basePath, const GeneratedRecording& recording);
bool writeRecording(const QString& basePath, const GeneratorOptions& options);

} // namespace LumetoTools
