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

// Label indices of analog channel k: 10k name, 10k+1/2 value, 10k+4/5 RMS, 10k+7/8 fundamental.
QLabel* channelLabel(const COMTRADE_read& view, int channel, int offset)
{
    return view.channelLabels[10 * channel + offset];
}

// A name that ends in " f" already gets no second one.
void addFrequencySuffix(COMTRADE_read& view, int channel)
{
    QLabel* nameLabel = channelLabel(view, channel, 0);
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
    QLabel* nameLabel = channelLabel(view, channel, 0);
    QString name = nameLabel->text();
    name.chop(frequencySuffix.size());
    nameLabel->setText(name);
    view.frequencySuffixAdded[channel] = 0;
}

void showTrackedFrequency(COMTRADE_read& view, int channel, int cut)
{
    addFrequencySuffix(view, channel);
    channelLabel(view, channel, 1)->setText(readoutNumber(view.channelFrequency[channel][cut]));
    channelLabel(view, channel, 2)->setText(COMTRADE_read::tr("Гц"));
    for (int offset : {4, 5, 7, 8})
        channelLabel(view, channel, offset)->clear();
}

void showRmsReadouts(COMTRADE_read& view, int channel, double rms, double fundamentalRms)
{
    const QString& unit = view.analogChannels[channel].unit;
    COMTRADE_read::showValueWithPrefix(rms, unit, channelLabel(view, channel, 4),
                                       channelLabel(view, channel, 5));
    COMTRADE_read::showValueWithPrefix(fundamentalRms, unit, channelLabel(view, channel, 7),
                                       channelLabel(view, channel, 8));
}

// Fundamental over the Q samples ending at the cut, also while the channel shows its
// frequency: the vector diagram draws every channel at the same cut.
void updatePhasor(COMTRADE_read& view, int channel, int cut, bool periodRecorded)
{
    Phasor& phasor = view.phasors[channel];
    if (!periodRecorded) {
        phasor.rms = 0.0;
        phasor.angle = 0.0;
        return;
    }
    const AnalogChannel& description = view.analogChannels[channel];
    const int nearest = view.periods.nearest;
    phasor = computePhasor(view.analogValues[channel], 1, cut - nearest + 1, nearest,
                           description.multiplier, description.offsetAdder);
}

// Instantaneous value, true RMS over P samples and the fundamental's RMS.
void showWaveformReadouts(COMTRADE_read& view, int channel, int cut, bool periodRecorded)
{
    const AnalogChannel& description = view.analogChannels[channel];
    const QVector<double>& raw = view.analogValues[channel];
    const double value = raw[cut] * description.multiplier + description.offsetAdder;
    COMTRADE_read::showValueWithPrefix(value, description.unit, channelLabel(view, channel, 1),
                                       channelLabel(view, channel, 2));

    if (!periodRecorded) {
        showRmsReadouts(view, channel, 0.0, 0.0);
    } else {
        const int whole = view.periods.whole;
        const double rms = computeWindowRms(raw, description.multiplier, description.offsetAdder,
                                            cut - whole + 1, whole);
        showRmsReadouts(view, channel, rms, view.phasors[channel].rms);
    }
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

bool COMTRADE_read::diagramWindowReady() const
{
    return periods.usable() && cut1Index >= periods.whole - 1;
}

void COMTRADE_read::updateReadouts()
{
    const int cut = cut1Index;
    // A recording whose period is shorter than one sample has too little data at every cut.
    const bool periodRecorded = periods.usable() && cut >= periods.nearest - 1;
    for (int channel = 0; channel < analogCount; ++channel) {
        updatePhasor(*this, channel, cut, periodRecorded);
        if (frequencyShown[channel])
            showTrackedFrequency(*this, channel, cut);
        else
            showWaveformReadouts(*this, channel, cut, periodRecorded);
    }

    if (!diagramWindowReady()) {
        if (vectorDiagramShown)
            clearVectorDiagram();
        if (frequencyDiagramShown)
            emptyFrequencyDiagram();
        return;
    }
    if (vectorDiagramShown)
        refreshVectorDiagram();
    if (frequencyDiagramShown)
        refreshFrequencyDiagram();
}

} // namespace VornaLumeto
