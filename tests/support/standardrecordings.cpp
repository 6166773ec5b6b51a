#include "support/standardrecordings.h"

#include <cmath>

namespace LumetoTest {

LumetoTools::GeneratedRecording sineAtRates(const QVector<LumetoTools::SamplingSegment>& segments, double rms)
{
    const double pi = std::acos(-1.0);
    const double multiplier = 0.01;
    LumetoTools::GeneratedRecording recording;
    recording.stationName = QStringLiteral("ПС Речная");
    recording.recorderId = 3;
    recording.sampleRate = segments.first().rate;
    recording.segments = segments;
    LumetoTools::GeneratedAnalogChannel channel;
    channel.id = QStringLiteral("Ua");
    channel.phase = QStringLiteral("A");
    channel.unit = QStringLiteral("kV");
    channel.multiplier = multiplier;
    qint64 microseconds = 0;
    for (const LumetoTools::SamplingSegment& segment : segments) {
        for (int k = 0; k < segment.samples; ++k) {
            const double seconds = microseconds / 1e6;
            channel.raw.append(qint32(std::lround(rms * std::sqrt(2.0) * std::sin(2 * pi * 50 * seconds) / multiplier)));
            recording.timeStamps.append(qint32(microseconds));
            microseconds += 1000000 / segment.rate;
        }
    }
    recording.analog = {channel};
    return recording;
}

QString writeStandardRecording(const QTemporaryDir& dir, const QString& baseName,
                               const LumetoTools::GeneratedRecording& recording, const LumetoTools::RecordingForm& form)
{
    const QString base = dir.filePath(baseName);
    LumetoTools::writeRecording(base, recording, form);
    return LumetoTools::recordingPath(base, form);
}

} // namespace LumetoTest
