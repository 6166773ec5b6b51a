#include "view/comtraderead.h"
#include "view/cutrules.h"

#include <QLabel>

#include <cmath>

namespace VornaLumeto {

PrefixedValue withUnitPrefix(double value, const QString& unit)
{
    // Russian recordings write their prefixes in Cyrillic ("кВ", "мА"); they
    // are the same prefixes, or a 0.04 кВ readout would read "40 mкВ".
    const double x = std::fabs(value);
    const QChar first = unit.isEmpty() ? QChar() : unit.at(0);
    if (first == QLatin1Char('%'))
        return {value, unit};
    if (first == QLatin1Char('k') || first == QChar(0x043A)) {
        if (x < 1)
            return {value * 1000, unit.mid(1)};
        return {value, unit};
    }
    if (first == QLatin1Char('m') || first == QChar(0x043C)) {
        if (x >= 1000 || x == 0)
            return {value / 1000, unit.mid(1)};
        return {value, unit};
    }
    if (x >= 1000)
        return {value / 1000, QLatin1Char('k') + unit};
    if (x != 0 && x < 1)
        return {value * 1000, QLatin1Char('m') + unit};
    return {value, unit};
}

namespace {

const QString frequencySuffix = QStringLiteral(" f");

QString readoutNumber(double value)
{
    return QString::number(value, 'g', 6);
}

// A missing value, or a result over a window that holds one, crosses a change
// of sampling rate or has too few samples, has no number: it reads "-" without a unit.
void showReadout(double value, const QString& unit, QLabel* valueLabel, QLabel* unitLabel)
{
    if (std::isnan(value)) {
        valueLabel->setText(COMTRADE_read::tr("-"));
        unitLabel->clear();
        return;
    }
    COMTRADE_read::showValueWithPrefix(value, unit, valueLabel, unitLabel);
}

QLabel* channelLabel(const COMTRADE_read& view, int channel, AnalogLabel label)
{
    return view.channelLabels[analogLabelIndex(channel, label)];
}

// A name that ends in " f" already gets no second one.
void addFrequencySuffix(COMTRADE_read& view, int channel)
{
    QLabel* nameLabel = channelLabel(view, channel, AnalogLabel::Name);
    if (nameLabel->text().endsWith(frequencySuffix))
        return;
    nameLabel->setText(nameLabel->text() + frequencySuffix);
    view.frequencySuffixAdded[channel] = 1;
}

// Only the suffix this view added goes: a channel may be named "Ia f" in its recording.
void removeFrequencySuffix(COMTRADE_read& view, int channel)
{
    if (!view.frequencySuffixAdded.at(channel))
        return;
    QLabel* nameLabel = channelLabel(view, channel, AnalogLabel::Name);
    QString name = nameLabel->text();
    name.chop(frequencySuffix.size());
    nameLabel->setText(name);
    view.frequencySuffixAdded[channel] = 0;
}

void showTrackedFrequency(COMTRADE_read& view, int channel, int cut)
{
    addFrequencySuffix(view, channel);
    channelLabel(view, channel, AnalogLabel::Value)->setText(readoutNumber(view.channelFrequency[channel][cut]));
    channelLabel(view, channel, AnalogLabel::Unit)->setText(COMTRADE_read::tr("Гц"));
    for (AnalogLabel label : {AnalogLabel::RmsValue, AnalogLabel::RmsUnit, AnalogLabel::FundamentalValue,
                              AnalogLabel::FundamentalUnit})
        channelLabel(view, channel, label)->clear();
}

void showRmsReadouts(COMTRADE_read& view, int channel, double rms, double fundamentalRms)
{
    const QString& unit = view.analogChannels[channel].unit;
    showReadout(rms, unit, channelLabel(view, channel, AnalogLabel::RmsValue),
                channelLabel(view, channel, AnalogLabel::RmsUnit));
    showReadout(fundamentalRms, unit, channelLabel(view, channel, AnalogLabel::FundamentalValue),
                channelLabel(view, channel, AnalogLabel::FundamentalUnit));
}

// Fundamental over the Q samples ending at the cut, also while the channel shows its
// frequency: the vector diagram draws every channel at the same cut. Before a whole
// period is recorded the phasor is zeroed; over a window that gives no numbers, or
// one with a missing value, it is NaN.
void updatePhasor(COMTRADE_read& view, int channel, const CutWindows& windows)
{
    Phasor& phasor = view.phasors[channel];
    if (!windows.nearest.recorded()) {
        phasor.rms = 0.0;
        phasor.angle = 0.0;
        return;
    }
    phasor = computePhasor(view.analogValues[channel], view.channelScaling(channel), windows.nearest, 1);
}

// Instantaneous value, true RMS over P samples and the fundamental's RMS.
void showWaveformReadouts(COMTRADE_read& view, int channel, int cut, const CutWindows& windows)
{
    const AnalogChannel& description = view.analogChannels[channel];
    const QVector<double>& raw = view.analogValues[channel];
    const ChannelScaling scaling = view.channelScaling(channel);
    const double value = raw[cut] * scaling.multiplier + scaling.offsetAdder;
    showReadout(value, description.unit, channelLabel(view, channel, AnalogLabel::Value),
                channelLabel(view, channel, AnalogLabel::Unit));

    if (!windows.nearest.recorded())
        showRmsReadouts(view, channel, 0.0, 0.0);
    else
        showRmsReadouts(view, channel, computeWindowRms(raw, scaling, windows.whole), view.phasors[channel].rms);
    removeFrequencySuffix(view, channel);
}

} // namespace

void COMTRADE_read::showValueWithPrefix(double value, const QString& unit, QLabel* valueLabel,
                                        QLabel* unitLabel)
{
    const PrefixedValue shown = withUnitPrefix(value, unit);
    unitLabel->setText(shown.unit);
    valueLabel->setText(readoutNumber(shown.value));
}

void COMTRADE_read::updateCutTimes()
{
    const double first = rawTimeAxis[cut1Index];
    const double second = rawTimeAxis[cut2Index];
    cut1TimeLabel->setText(readoutNumber(first));
    cut2TimeLabel->setText(readoutNumber(second));
    const double difference = first - second > 0 ? first - second : second - first;
    cutDifferenceLabel->setText(readoutNumber(difference));
}

CutWindows COMTRADE_read::analysisWindows() const
{
    return cutWindows(sampling.stretches, sampling.lineFrequency, cut1Index, sampling.fewestPeriodSamples);
}

bool COMTRADE_read::diagramWindowReady() const
{
    return analysisWindows().whole.recorded();
}

ChannelScaling COMTRADE_read::channelScaling(int channel) const
{
    const AnalogChannel& description = analogChannels.at(channel);
    return {description.multiplier, description.offsetAdder};
}

void COMTRADE_read::updateReadouts()
{
    const int cut = cut1Index;
    const CutWindows windows = analysisWindows();
    for (int channel = 0; channel < analogCount; ++channel) {
        updatePhasor(*this, channel, windows);
        if (frequencyShown[channel])
            showTrackedFrequency(*this, channel, cut);
        else
            showWaveformReadouts(*this, channel, cut, windows);
    }

    if (!diagramWindowReady()) {
        if (vectorDiagramShown)
            clearVectorDiagram();
        if (frequencyDiagramShown)
            emptyFrequencyDiagram();
    } else {
        if (vectorDiagramShown)
            refreshVectorDiagram();
        if (frequencyDiagramShown)
            refreshFrequencyDiagram();
    }
    emit cutReadoutsUpdated();
}

} // namespace VornaLumeto
