#pragma once

#include <QString>
#include <QTemporaryDir>

namespace LumetoTest {

// Header fields of a small recording whose texts the output windows show.
struct HeaderRecording {
    QString stationName = QStringLiteral("ПС-1");
    int recorderId = 12;
    QString startStamp = QStringLiteral("05/03/2021,09:07:03.200000");
    QString triggerStamp = QStringLiteral("05/03/2021,09:07:03.250000");
    int sampleCount = 200;   // 1000 samples per second, one per millisecond from t = 0
};

// Writes dir/name.cfg (Windows-1251) and name.dat with two analog channels
// (kV and A sines) and one digital channel; returns the .cfg path.
QString writeHeaderRecording(const QTemporaryDir& dir, const QString& name,
                             const HeaderRecording& header);

} // namespace LumetoTest
