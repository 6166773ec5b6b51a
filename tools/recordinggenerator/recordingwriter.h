#pragma once

#include "generatedrecording.h"

#include <QByteArray>
#include <QString>

namespace LumetoTools {

enum class DataFormat { Ascii, Binary, Binary32, Float32 };

// How a recording is written. The default is the early ASCII layout the
// viewer reads: no revision year, dates day first, Windows-1251.
struct RecordingForm {
    int revision = 1991;           // 1991, 1999 or 2013
    DataFormat format = DataFormat::Ascii;
    bool combined = false;         // one .cff file (2013) instead of .cfg and .dat
    QByteArray encoding = "Windows-1251";  // of the configuration's text
};

// Empty when the recording can be written in the form, otherwise why not.
QString formProblem(const GeneratedRecording& recording, const RecordingForm& form);

// The configuration and the data file of the recording in the form.
QByteArray configurationBytes(const GeneratedRecording& recording, const RecordingForm& form);
QByteArray dataBytes(const GeneratedRecording& recording, const RecordingForm& form);

// The path of the file a reader opens: base.cfg, or base.cff for the combined form.
QString recordingPath(const QString& basePath, const RecordingForm& form);

// Writes base.cfg and base.dat, or base.cff, base being a path without
// extension. Returns false when the form does not fit or a file cannot be written.
bool writeRecording(const QString& basePath, const GeneratedRecording& recording,
                    const RecordingForm& form = RecordingForm());

} // namespace LumetoTools
