#pragma once

#include <QString>

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

// Writes base.cfg and base.dat (base is a path without extension).
// Returns false when a file cannot be written.
bool writeRecording(const QString& basePath, const GeneratorOptions& options);

} // namespace LumetoTools
