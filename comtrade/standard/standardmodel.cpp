#include "comtrade/standard/standardmodel.h"

#include "comtrade/common/frequencytracks.h"
#include "comtrade/common/rounding.h"
#include "comtrade/common/timeaxis.h"
#include "comtrade/standard/revisionrules.h"
#include "comtrade/standard/standardmessages.h"

#include <cmath>

namespace VornaLumeto {
namespace {

constexpr int largestChannelCount = 255;

quint8 narrowIndex(qint64 number)
{
    return quint8(qMin<qint64>(number, largestChannelCount));
}

// Time stamps times timemult are microseconds; the axis is in milliseconds.
QString timeAxisFromStamps(const QVector<double>& stamps, double timeMultiplier, const QString& dataFileName,
                           QVector<double>& axis)
{
    axis.resize(stamps.size());
    for (int k = 0; k < stamps.size(); ++k) {
        axis[k] = stamps.at(k) * timeMultiplier / 1000.0;
        if (!std::isfinite(axis[k]))
            return standardFileProblem(
                dataFileName, standardText("у отсчёта №%1 нет отметки времени, а частота дискретизации в "
                                           "файле конфигурации не указана")
                                  .arg(k + 1));
    }
    return QString();
}

// The whole rate of the model: the first segment's, or where the file gives
// none, the one the time axis implies; at least 1.
qint32 modelRate(const QVector<RateSegment>& rates, const QVector<double>& axis)
{
    double rate = 0.0;
    if (ratesGiveTimeAxis(rates))
        rate = rates.first().rate;
    else if (axis.size() >= 2 && axis.last() > axis.first())
        rate = (axis.size() - 1) * 1000.0 / (axis.last() - axis.first());
    return qMax(1, roundedToInt32(rate));
}

AnalogChannel modelChannel(const StandardAnalogChannel& channel)
{
    AnalogChannel model;
    model.index = narrowIndex(channel.number);
    model.id = channel.id;
    model.phase = channel.phase;
    model.circuit = channel.circuit;
    model.unit = channel.unit;
    model.multiplier = channel.multiplier;
    model.offsetAdder = channel.offsetAdder;
    model.skew = channel.skew;
    model.minValue = roundedToInt32(channel.minValue);
    model.maxValue = roundedToInt32(channel.maxValue);
    model.shown = true;
    return model;
}

DigitalChannel modelChannel(const StandardDigitalChannel& channel)
{
    DigitalChannel model;
    model.index = narrowIndex(channel.number);
    model.id = channel.id;
    model.normalState = quint8(channel.normalState);
    model.shown = true;
    return model;
}

qint32 wholeRecorderId(const QString& recorderId)
{
    bool ok = false;
    const qint32 id = recorderId.toInt(&ok);
    return ok ? id : 0;
}

void fillIdentification(const StandardConfiguration& configuration, const DecodedData& data, Recording& recording)
{
    recording.stationName = configuration.stationName;
    recording.recorderId = wholeRecorderId(configuration.recorderId);
    recording.analogCount = quint8(data.analog.size());
    recording.digitalCount = quint8(data.digital.size());
    recording.totalChannelCount = quint8(data.analog.size() + data.digital.size());
    recording.analogChannels.clear();
    for (int c = 0; c < data.analog.size(); ++c)
        recording.analogChannels.append(modelChannel(configuration.analog.at(c)));
    recording.digitalChannels.clear();
    for (int d = 0; d < data.digital.size(); ++d)
        recording.digitalChannels.append(modelChannel(configuration.digital.at(d)));
    recording.lineFrequency = roundedToInt32(configuration.lineFrequency);
    recording.startTime = configuration.startTime;
    recording.triggerTime = configuration.triggerTime;
}

void fillDescription(const StandardConfiguration& configuration, const DecodedData& data, const QString& encoding,
                     StandardDescription& description)
{
    description = StandardDescription();
    description.fromStandardReader = true;
    description.revisionYear = configuration.revisionYear;
    description.dataType = dataTypeName(configuration.dataType);
    description.stationName = configuration.stationName;
    description.recorderId = configuration.recorderId;
    for (int c = 0; c < data.analog.size(); ++c)
        description.analogScaling.append(configuration.analog.at(c).scaling);
    description.lineFrequency = configuration.lineFrequency;
    description.timeMultiplier = configuration.timeMultiplier;
    description.timeCode = configuration.timeCode;
    description.localCode = configuration.localCode;
    description.timeQuality = configuration.timeQuality;
    description.leapSecond = configuration.leapSecond;
    description.rateSegments = configuration.rates;
    description.fileAnalogCount = configuration.analog.size();
    description.fileDigitalCount = configuration.digital.size();
    description.analogLeftOut = configuration.analog.size() - data.analog.size();
    description.digitalLeftOut = configuration.digital.size() - data.digital.size();
    description.promisedSamples = configuration.lastSample;
    description.readSamples = data.samples.size();
    description.encoding = encoding;
    description.notes = configuration.notes;
}

} // namespace

DataLayout keptChannelLayout(const StandardConfiguration& configuration)
{
    DataLayout layout;
    layout.type = configuration.dataType;
    layout.rules = revisionRules(configuration.revisionYear);
    layout.fileAnalog = configuration.analog.size();
    layout.fileDigital = configuration.digital.size();
    layout.keptAnalog = qMin(layout.fileAnalog, largestChannelCount);
    layout.keptDigital = qMin(layout.fileDigital, largestChannelCount - layout.keptAnalog);
    layout.sampleLimit = configuration.lastSample;
    return layout;
}

QString fillRecording(const StandardConfiguration& configuration, DecodedData& data, const QString& encoding,
                      const QString& dataFileName, Recording& recording, ReadingProgress* progress)
{
    const int sampleCount = data.samples.size();
    if (sampleCount == 0)
        return standardFileProblem(dataFileName, standardText("в файле данных нет ни одного отсчёта"));
    // The stamps of many recorders are meaningless or absent where the rates
    // give the time, so the "as written" axis is the computed one too.
    if (ratesGiveTimeAxis(configuration.rates)) {
        recording.timeAxis = timeAxisFromRates(configuration.rates, sampleCount);
    } else {
        const QString message =
            timeAxisFromStamps(data.stamps, configuration.timeMultiplier, dataFileName, recording.timeAxis);
        if (!message.isEmpty())
            return message;
    }
    recording.rawTimeAxis = recording.timeAxis;

    fillIdentification(configuration, data, recording);
    recording.rateCount = 1;
    recording.sampleRates = {SampleRate{modelRate(configuration.rates, recording.timeAxis), sampleCount}};
    fillDescription(configuration, data, encoding, recording.standard);
    recording.samples = std::move(data.samples);
    recording.analogValues = std::move(data.analog);
    recording.digitalValues = std::move(data.digital);
    buildFrequencyTracks(recording, data.analogHasMissing, progress);
    return QString();
}

} // namespace VornaLumeto
