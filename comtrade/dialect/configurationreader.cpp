#include "comtrade/dialect/configurationreader.h"
#include "comtrade/dialect/configurationparser.h"
#include "comtrade/dialect/loadfailure.h"
#include "comtrade/dialect/dialectmessages.h"

#include <QIODevice>
#include <QTextStream>

namespace VornaLumeto {
namespace {

// Sample indices are counted in 16 bits, and an empty recording has no time axis.
constexpr qint32 largestSampleCount = 65535;

bool holdsSampleCount(const SampleRate& firstRate)
{
    return firstRate.endSample >= 1 && firstRate.endSample <= largestSampleCount;
}

// Hands out the configuration lines one by one and remembers the last one,
// as its parser left it, for the error message.
class ConfigurationLines {
public:
    ConfigurationLines(QIODevice& device, QTextCodec* codec)
        : stream(&device)
    {
        if (codec)
            stream.setCodec(codec);
        else
            stream.setCodec("Windows-1251");
    }

    QString& next()
    {
        ++lineNumber;
        line = stream.readLine();  // empty at the end of the file
        return line;
    }

    int number() const { return lineNumber; }
    const QString& last() const { return line; }

    QString failure() const
    {
        return dialectText("Ошибка в *.cfg файле, в строке №")
            + QString::number(lineNumber) + QStringLiteral(": ") + line;
    }

private:
    QTextStream stream;
    quint16 lineNumber = 0;
    QString line;
};

bool readCounts(ConfigurationLines& lines, Recording& recording)
{
    return parseStationLine(lines.next(), recording.stationName, recording.recorderId)
        && parseChannelCounts(lines.next(), recording.totalChannelCount,
                              recording.analogCount, recording.digitalCount);
}

bool readChannels(ConfigurationLines& lines, Recording& recording)
{
    recording.analogChannels = QVector<AnalogChannel>(recording.analogCount);
    for (AnalogChannel& channel : recording.analogChannels) {
        if (!parseAnalogChannel(lines.next(), channel))
            return false;
    }
    recording.digitalChannels = QVector<DigitalChannel>(recording.digitalCount);
    for (DigitalChannel& channel : recording.digitalChannels) {
        if (!parseDigitalChannel(lines.next(), channel))
            return false;
    }
    return true;
}

bool readSampling(ConfigurationLines& lines, Recording& recording)
{
    if (!parseLineFrequency(lines.next(), recording.lineFrequency)
        || !parseRateCount(lines.next(), recording.rateCount))
        return false;
    recording.sampleRates = QVector<SampleRate>(recording.rateCount);
    for (int i = 0; i < recording.sampleRates.size(); ++i) {
        SampleRate& rate = recording.sampleRates[i];
        // Only the first rate line sets N, so only it must fit the sample counter.
        if (!parseSampleRate(lines.next(), rate) || (i == 0 && !holdsSampleCount(rate)))
            return false;
    }
    return true;
}

bool readTimes(ConfigurationLines& lines, Recording& recording)
{
    return parseTimeStamp(lines.next(), recording.startTime)
        && parseTimeStamp(lines.next(), recording.triggerTime);
}

} // namespace

QString readConfiguration(QIODevice& device, Recording& recording, LoadFailure* failure, QTextCodec* codec)
{
    ConfigurationLines lines(device, codec);
    const bool described = readCounts(lines, recording)
        && readChannels(lines, recording)
        && readSampling(lines, recording)
        && readTimes(lines, recording);
    if (described && isAsciiFileType(lines.next()))
        return QString();
    if (failure && lines.number() == 1)
        failure->stationLine = lines.last();
    else if (failure && described)
        failure->fileTypeLine = lines.last();
    return lines.failure();
}

} // namespace VornaLumeto
