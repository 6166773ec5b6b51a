#include "support/outputfixtures.h"

#include "recordingwriter.h"

#include <QtMath>

namespace LumetoTest {

QString writeHeaderRecording(const QTemporaryDir& dir, const QString& name,
                             const HeaderRecording& header)
{
    LumetoTools::GeneratedRecording files;
    files.stationName = header.stationName;
    files.recorderId = header.recorderId;
    files.segments = {{1000, header.sampleCount}};
    files.startTimeStamp = header.startStamp;
    files.triggerTimeStamp = header.triggerStamp;
    LumetoTools::GeneratedAnalogChannel voltage{QStringLiteral("Ua"), QStringLiteral("A"), QString(),
                                                QStringLiteral("kV"), 0.1, {}};
    LumetoTools::GeneratedAnalogChannel current{QStringLiteral("Ia"), QStringLiteral("A"), QString(),
                                                QStringLiteral("A"), 1.0, {}};
    LumetoTools::GeneratedDigitalChannel trip{QStringLiteral("Trip"), 0, {}};
    for (int i = 0; i < header.sampleCount; ++i) {
        const double phase = 2.0 * M_PI * i / 20.0;
        files.timeStamps.append(i * 1000);
        voltage.raw.append(qRound(1000 * qSin(phase)));
        current.raw.append(qRound(300 * qSin(phase - M_PI / 6)));
        trip.states.append(i >= header.sampleCount / 2 ? 1 : 0);
    }
    files.analog = {voltage, current};
    files.digital = {trip};
    const QString base = dir.filePath(name);
    LumetoTools::writeRecording(base, files);
    return base + QStringLiteral(".cfg");
}

} // namespace LumetoTest
