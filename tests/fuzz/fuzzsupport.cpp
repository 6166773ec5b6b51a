#include "fuzzsupport.h"

#include "comtrade/dialect/configurationreader.h"
#include "comtrade/dialect/datareader.h"
#include "comtrade/common/frequencytracking.h"

#include <QBuffer>

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace LumetoFuzz {

QByteArray bytesOf(const uint8_t* data, size_t size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<int>(size));
}

QString readConfigurationBytes(const QByteArray& bytes, VornaLumeto::Recording& recording)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return VornaLumeto::readConfiguration(buffer, recording);
}

QString readDataBytes(const QByteArray& bytes, VornaLumeto::Recording& recording, VornaLumeto::LoadFailure* failure)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const QString message = VornaLumeto::readDataRows(buffer, recording, failure);
    if (!message.isEmpty())
        return message;
    VornaLumeto::correctTimeAxis(recording);
    VornaLumeto::buildValueSeries(recording);
    return {};
}

namespace {

// Random access with a known size, like a file, so the reader sizes its buffer to the bytes.
class PiecewiseDevice : public QIODevice {
public:
    PiecewiseDevice(const QByteArray& bytes, int pieceSize) : bytes(bytes), pieceSize(pieceSize)
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }

    qint64 size() const override { return bytes.size(); }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 count = qMin(qMin(maxSize, qint64(pieceSize)), qint64(bytes.size() - position));
        std::memcpy(data, bytes.constData() + position, size_t(count));
        position += int(count);
        return count;
    }

    qint64 writeData(const char*, qint64) override { return -1; }

private:
    const QByteArray& bytes;
    const int pieceSize;
    int position = 0;
};

} // namespace

QString readDataRowsInPieces(const QByteArray& bytes, VornaLumeto::Recording& recording, int pieceSize)
{
    PiecewiseDevice device(bytes, pieceSize);
    return VornaLumeto::readDataRows(device, recording);
}

void require(bool condition)
{
    if (!condition)
        std::abort();
}

namespace {

void checkSeries(const QVector<QVector<double>>& series, int channels, int samples)
{
    require(series.size() == channels);
    for (const QVector<double>& values : series)
        require(values.size() == samples);
}

} // namespace

void checkLoadedRecording(const VornaLumeto::Recording& recording)
{
    const int samples = recording.sampleCount();
    require(recording.analogChannels.size() == recording.analogCount);
    require(recording.digitalChannels.size() == recording.digitalCount);
    require(recording.samples.size() == samples);
    require(recording.rawTimeAxis.size() == samples);
    require(recording.timeAxis.size() == samples);
    require(samples == 0 || recording.timeAxis.first() == recording.rawTimeAxis.first());
    checkSeries(recording.analogValues, recording.analogCount, samples);
    checkSeries(recording.digitalValues, recording.digitalCount, samples);
    checkSeries(recording.channelFrequency, recording.analogCount, samples);
    checkSeries(recording.frequencyDeviation, recording.analogCount, samples);
    const VornaLumeto::FrequencyBand band = VornaLumeto::frequencyBand(recording.lineFrequency);
    for (const QVector<double>& track : recording.channelFrequency)
        for (double frequency : track)
            require(frequency >= band.lowest && frequency <= band.highest);
}

void checkStandardRecording(const VornaLumeto::Recording& recording)
{
    checkLoadedRecording(recording);
    require(recording.standard.fromStandardReader);
    require(recording.standard.readSamples == recording.sampleCount());
    require(recording.analogCount + recording.digitalCount <= 255);
    require(recording.standard.analogScaling.size() == recording.analogCount);
    for (const VornaLumeto::SampleRow& row : recording.samples)
        require(row.analog.size() == recording.analogCount && row.digital.size() == recording.digitalCount);
    for (double time : recording.timeAxis)
        require(std::isfinite(time));
    for (const QVector<double>& values : recording.analogValues)
        for (double value : values)
            require(!std::isinf(value));
}

} // namespace LumetoFuzz
