#include "support/diagramrecordings.h"

#include "support/testfiles.h"

#include <QTextCodec>

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

QString configurationText(const TestRecording& recording, int sampleCount)
{
    const int analogCount = recording.analog.size();
    const int digitalCount = recording.digital.size();
    QString text = recording.stationName + QStringLiteral(",1\n%1,%2A,%3D\n")
                       .arg(analogCount + digitalCount)
                       .arg(analogCount)
                       .arg(digitalCount);
    for (int i = 0; i < analogCount; ++i) {
        const TestChannel& channel = recording.analog.at(i);
        text += QStringLiteral("%1,%2,A,,%3,%4,0,0,-99999,99999\n")
                    .arg(i + 1)
                    .arg(channel.id, channel.unit)
                    .arg(QString::number(channel.multiplier, 'f', 6));
    }
    for (int i = 0; i < digitalCount; ++i)
        text += QStringLiteral("%1,%2,0\n").arg(i + 1).arg(recording.digital.at(i).id);
    text += QStringLiteral("%1\n1\n%2,%3\n").arg(recording.lineFrequency).arg(recording.rate).arg(sampleCount);
    text += QStringLiteral("05/03/2021,09:07:03.250000\n05/03/2021,09:07:03.300000\nASCII\n");
    return text;
}

QByteArray dataText(const TestRecording& recording, int sampleCount)
{
    QByteArray text;
    for (int k = 0; k < sampleCount; ++k) {
        const qint64 microseconds =
            recording.zeroTimeStamps ? 0 : recording.firstMicroseconds + qint64(k) * 1000000 / recording.rate;
        text += QByteArray::number(k + 1) + ',' + QByteArray::number(microseconds);
        for (const TestChannel& channel : recording.analog)
            text += ',' + QByteArray::number(channel.raw.value(k));
        for (const TestDigitalChannel& channel : recording.digital)
            text += ',' + QByteArray::number(channel.states.value(k));
        text += '\n';
    }
    return text;
}

} // namespace

QString writeAsciiRecording(const QTemporaryDir& dir, const QString& baseName,
                            const TestRecording& recording)
{
    const int sampleCount = !recording.analog.isEmpty() ? recording.analog.first().raw.size()
                            : !recording.digital.isEmpty() ? recording.digital.first().states.size()
                                                           : 0;
    QTextCodec* codec = QTextCodec::codecForName("Windows-1251");
    writeFile(dir, baseName + QStringLiteral(".dat"), dataText(recording, sampleCount));
    return writeFile(dir, baseName + QStringLiteral(".cfg"),
                     codec->fromUnicode(configurationText(recording, sampleCount)));
}

} // namespace LumetoTest
