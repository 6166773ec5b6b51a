#include "support/channelfixtures.h"

#include "support/testfiles.h"

#include <QTextCodec>

#include <cmath>

namespace LumetoTest {

namespace {

int sampleTotal(const QVector<AnalogChannelData>& analog, const QVector<DigitalChannelData>& digital)
{
    if (!analog.isEmpty())
        return analog.first().values.size();
    return digital.isEmpty() ? 0 : digital.first().states.size();
}

QString configurationText(const QVector<AnalogChannelData>& analog,
                          const QVector<DigitalChannelData>& digital, int samples)
{
    QString text = QStringLiteral("Test station,1\n");
    text += QStringLiteral("%1,%2A,%3D\n").arg(analog.size() + digital.size()).arg(analog.size()).arg(digital.size());
    for (int i = 0; i < analog.size(); ++i)
        text += QStringLiteral("%1,%2,A,,%3,1,0,0,-32767,32767\n").arg(i + 1).arg(analog.at(i).id, analog.at(i).unit);
    for (int k = 0; k < digital.size(); ++k)
        text += QStringLiteral("%1,%2,0\n").arg(k + 1).arg(digital.at(k).id);
    text += QStringLiteral("50\n1\n1000,%1\n").arg(samples);
    text += QStringLiteral("05/03/2021,09:07:03.250000\n05/03/2021,09:07:03.300000\nASCII\n");
    return text;
}

QByteArray dataText(const QVector<AnalogChannelData>& analog,
                    const QVector<DigitalChannelData>& digital, int samples)
{
    QByteArray text;
    for (int j = 0; j < samples; ++j) {
        text += QByteArray::number(j + 1) + ',' + QByteArray::number(j * 1000);
        for (const AnalogChannelData& channel : analog)
            text += ',' + QByteArray::number(channel.values.at(j));
        for (const DigitalChannelData& channel : digital)
            text += ',' + QByteArray::number(channel.states.at(j));
        text += '\n';
    }
    return text;
}

} // namespace

QString writeChannelRecording(const QTemporaryDir& dir, const QString& name,
                              const QVector<AnalogChannelData>& analog,
                              const QVector<DigitalChannelData>& digital)
{
    const int samples = sampleTotal(analog, digital);
    QTextCodec* codec = QTextCodec::codecForName("Windows-1251");
    writeFile(dir, name + QStringLiteral(".dat"), dataText(analog, digital, samples));
    return writeFile(dir, name + QStringLiteral(".cfg"),
                     codec->fromUnicode(configurationText(analog, digital, samples)));
}

QVector<int> sineSamples(int peak, int count)
{
    QVector<int> values(count);
    for (int j = 0; j < count; ++j)
        values[j] = int(std::lround(peak * std::sin(2.0 * M_PI * j / 20.0)));
    return values;
}

} // namespace LumetoTest
