#pragma once

#include "recordingwriter.h"

#include <QString>
#include <QTemporaryDir>
#include <QVector>

namespace LumetoTest {

// One channel "Ua" in kV holding a 50 Hz sine of the given RMS, sampled in
// stretches at the segments' rates, each stretch going on in time where the one
// before ended (the sine does not jump at a change of rate).
LumetoTools::GeneratedRecording sineAtRates(const QVector<LumetoTools::SamplingSegment>& segments, double rms);

// Writes the recording in the form (1999 BINARY unless told) as dir/baseName
// and returns the path a reader opens.
QString writeStandardRecording(const QTemporaryDir& dir, const QString& baseName,
                               const LumetoTools::GeneratedRecording& recording,
                               const LumetoTools::RecordingForm& form = {1999, LumetoTools::DataFormat::Binary});

// The raw value of a 16-bit BINARY sample that marks it missing.
constexpr qint32 missingBinaryValue = -32768;

} // namespace LumetoTest
