#include "support/diagramrecordings.h"

#include "recordingwriter.h"

#include <cmath>

namespace LumetoTest {

QVector<qint32> sineSamples(double rms, double phaseDegrees, double frequency, int rate, int count,
                            double multiplier)
{
    const double pi = std::acos(-1.0);
    QVector<qint32> raw;
    raw.reserve(count);
    for (int k = 0; k < count; ++k) {
        const double t = double(k) / rate;
        const double value = rms * std::sqrt(2.0) * std::sin(2 * pi * frequency * t + phaseDegrees * pi / 180);
        raw.append(qint32(std::lround(value / multiplier)));
    }
    return raw;
}

QVector<qint32> constantSamples(qint32 raw, int count)
{
    return QVector<qint32>(count, raw);
}

namespace {

LumetoTools::GeneratedRecording generated(const TestRecording& recording, int sampleCount)
{
    LumetoTools::GeneratedRecording files;
    files.stationName = recording.stationName;
    files.recorderId = 1;
    files.lineFrequency = recording.lineFrequency;
    files.sampleRate = recording.rate;
    files.segments = {{recording.rate, sampleCount}};
    files.startTimeStamp = QStringLiteral("05/03/2021,09:07:03.250000");
    files.triggerTimeStamp = QStringLiteral("05/03/2021,09:07:03.300000");
    for (int k = 0; k < sampleCount; ++k)
        files.timeStamps.append(recording.zeroTimeStamps
                                    ? 0
                                    : qint32(recording.firstMicroseconds + qint64(k) * 1000000 / recording.rate));
    for (const TestChannel& channel : recording.analog)
        files.analog.append({channel.id, QStringLiteral("A"), QString(), channel.unit, channel.multiplier,
                             channel.raw.mid(0, sampleCount)});
    for (const TestDigitalChannel& channel : recording.digital) {
        QVector<quint8> states;
        for (int k = 0; k < sampleCount; ++k)
            states.append(quint8(channel.states.value(k)));
        files.digital.append({channel.id, 0, states});
    }
    return files;
}

} // namespace

QString writeAsciiRecording(const QTemporaryDir& dir, const QString& baseName,
                            const TestRecording& recording)
{
    const int sampleCount = !recording.analog.isEmpty() ? recording.analog.first().raw.size()
                            : !recording.digital.isEmpty() ? recording.digital.first().states.size()
                                                           : 0;
    const QString base = dir.filePath(baseName);
    LumetoTools::writeRecording(base, generated(recording, sampleCount));
    return base + QStringLiteral(".cfg");
}

} // namespace LumetoTest
