#pragma once

#include "generatedrecording.h"
#include "recordingwriter.h"

#include <QString>
#include <QVector>

namespace LumetoTools {

struct GeneratorOptions {
    int analogCount = 6;
    int digitalCount = 4;
    int samples = 2000;
    int sampleRate = 1000;     // samples per second
    QVector<SamplingSegment> segments;  // several rates; when given, samples and sampleRate are not used
    int lineFrequency = 50;    // Hz
    unsigned seed = 1;
    QString stationName = QStringLiteral("ПС Северная");
};

// Empty when the options can be generated, otherwise what is wrong with them.
QString optionsProblem(const GeneratorOptions& options);

// A three-phase fault recording: load flow, then at the trigger a fault on
// phase A of the first feeder (current rise with decaying DC offset, voltage
// sag, harmonics, noise) cleared by its breaker. Same options, same recording.
GeneratedRecording generateRecording(const GeneratorOptions& options);

// Generates a recording and writes it in the form given (see recordingwriter.h).
bool writeRecording(const QString& basePath, const GeneratorOptions& options,
                    const RecordingForm& form = RecordingForm());

} // namespace LumetoTools
