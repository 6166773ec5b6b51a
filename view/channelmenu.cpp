#include "view/bandgeometry.h"
#include "view/comtraderead.h"
#include "view/graphpoints.h"
#include "view/plaintext.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenu>
#include <QPen>
#include <QScrollBar>
#include <QSlider>

#include <qcustomplot.h>

#include <cmath>

namespace VornaLumeto {

namespace {

// Hidden curves are parked above y = 0, where the y range never reaches.
const QVector<double> parkedWaveKeys = {5.0, 6.0};
const QVector<double> parkedWaveValues = {5.0, 6.0};
const QVector<double> parkedSeparatorKeys = {8.0, 9.0};
const QVector<double> parkedSeparatorValues = {8.0, 8.0};
const QVector<double> parkedDigitalValues = {8.0, 9.0};

int channelIndexFromName(const QObject* object)
{
    bool ok = false;
    const int index = object ? object->objectName().toInt(&ok) : -1;
    return ok ? index : -1;
}

// Peaks are compared in the channels' units, not in raw counts, whose size depends on the recorder.
double engineeringPeak(const COMTRADE_read& view, int channel)
{
    return COMTRADE_read::peakAbs(view.analogValues.at(channel))
           * std::fabs(view.analogChannels.at(channel).multiplier);
}

// The reference's raw peak expressed in the raw counts of the scaled channel, so that equal
// amplitudes in amperes or volts get equal heights. Equal multipliers take the raw peak as it
// is (peak * a / a need not give it back exactly); a zero multiplier has no ratio.
double referencePeakInOwnCounts(const COMTRADE_read& view, int channel, int reference,
                                double referenceRawPeak)
{
    const double own = std::fabs(view.analogChannels.at(channel).multiplier);
    const double theirs = std::fabs(view.analogChannels.at(reference).multiplier);
    if (own == 0.0 || theirs == 0.0 || own == theirs)
        return referenceRawPeak;
    return referenceRawPeak * theirs / own;
}

} // namespace

void COMTRADE_read::buildChannelMenu()
{
    channelMenu = new QMenu(this);

    vectorDiagramAction = new QAction(tr("Отображать на векторной диаграмме"), channelMenu);
    vectorDiagramAction->setCheckable(true);
    connect(vectorDiagramAction, &QAction::triggered, this,
            &COMTRADE_read::slot_analog_ch_act_vector_diag);

    frequencyDiagramAction = new QAction(tr("Отображать на частотной диаграмме"), channelMenu);
    frequencyDiagramAction->setCheckable(true);
    connect(frequencyDiagramAction, &QAction::triggered, this,
            &COMTRADE_read::slot_analog_ch_act_frequency_diag);

    scaleMenu = new QMenu(tr("Масштабировать относительно ..."), channelMenu);
    scaleGroup = new QActionGroup(scaleMenu);

    showFrequencyAction = new QAction(tr("Показать частоту"), channelMenu);
    showFrequencyAction->setObjectName(QStringLiteral("-1"));
    showFrequencyAction->setCheckable(true);
    connect(showFrequencyAction, &QAction::triggered, this, &COMTRADE_read::toggleFrequencyCurve);

    scaleActions.clear();
    scaleReference.clear();
    for (int entry = 0; entry <= analogCount; ++entry) {
        const QString text = entry == 0 ? tr("-") : literalMenuText(analogChannels.at(entry - 1).id);
        auto* action = new QAction(text, scaleMenu);
        if (entry > 0)
            scaleReference.append(0);
        action->setObjectName(QString::number(entry));
        action->setActionGroup(scaleGroup);
        action->setCheckable(true);
        scaleMenu->addAction(action);
        scaleActions.append(action);
    }
    scaleActions.first()->setChecked(true);
    connect(scaleGroup, &QActionGroup::triggered, this,
            &COMTRADE_read::slot_analog_ch_scale_relative_to_group);

    channelMenu->addAction(vectorDiagramAction);
    channelMenu->addAction(frequencyDiagramAction);
    channelMenu->addMenu(scaleMenu);
    channelMenu->addAction(showFrequencyAction);
}

void COMTRADE_read::slot_analog_ch_menu(QPoint pos)
{
    const int channel = channelIndexFromName(sender());
    if (channel < 0 || channel >= analogChannels.size() || channel >= scaleReference.size())
        return;

    if (analogChannels.at(channel).unit == QLatin1String("%")) {
        vectorDiagramAction->setEnabled(false);
    } else {
        vectorDiagramAction->setEnabled(true);
        vectorDiagramAction->setChecked(channel < vectorChannelActions.size()
                                        && vectorChannelActions.at(channel)->isChecked());
    }
    frequencyDiagramAction->setChecked(channel < frequencyChannelActions.size()
                                       && frequencyChannelActions.at(channel)->isChecked());

    showFrequencyAction->setObjectName(QString::number(channel));
    if (channel < frequencyShown.size())
        showFrequencyAction->setChecked(frequencyShown.at(channel) != 0);
    channelMenu->setObjectName(QString::number(channel));
    scaleActions.at(scaleReference.at(channel))->setChecked(true);

    QWidget* nameLabel = channelLabels.value(analogLabelIndex(channel, AnalogLabel::Name));
    channelMenu->popup(nameLabel ? nameLabel->mapToGlobal(pos) : pos);
}

double COMTRADE_read::displayShift(int analogChannel) const
{
    double shift = 0.0;
    for (int i = 0; i < analogChannel && i < shownFlags.size(); ++i) {
        if (!shownFlags.at(i))
            shift += analogBand;
    }
    return shift;
}

void COMTRADE_read::toggleFrequencyCurve()
{
    const int channel = channelIndexFromName(showFrequencyAction);
    if (channel < 0 || channel >= frequencyShown.size())
        return;

    // The curve shown lies in the band, the other one negated above y = 0, out of sight.
    const bool frequency = !frequencyShown.at(channel);
    frequencyShown[channel] = frequency ? 1 : 0;
    const double shift = displayShift(channel);
    const double waveSign = frequency ? -1.0 : 1.0;
    setGraphPoints(frequencyGraphs.at(channel), timeAxis, frequencyDeviation.at(channel), shift, -waveSign);
    setGraphPoints(waveGraphs.at(channel), timeAxis, normalizedValues.at(channel), shift, waveSign);
    updateReadouts();
    requestReplot();
}

void COMTRADE_read::slot_analog_ch_scale_relative_to_group()
{
    const int channel = channelIndexFromName(channelMenu);
    const int entry = channelIndexFromName(scaleGroup->checkedAction());
    if (channel < 0 || channel >= scaleReference.size() || entry < 0 || entry > analogCount)
        return;
    if (scaleReference.at(channel) == entry)
        return;

    scaleReference[channel] = entry;
    const int reference = entry == 0 ? channel : entry - 1;
    mapToBand(normalizedValues[channel], analogValues.at(channel), channel,
              referencePeakInOwnCounts(*this, channel, reference, peakAbs(analogValues.at(reference))),
              bandFill);
    setScaleNote(channel, entry - 1);
    applyDisplayedSignals();
}

void COMTRADE_read::scaleSignals(const QVector<int>& indices)
{
    int reference = -1;
    double largestPeak = -1.0;
    for (int channel : indices) {
        if (channel < 0 || channel >= analogCount)
            continue;
        const double peak = engineeringPeak(*this, channel);
        if (peak > largestPeak) {
            largestPeak = peak;
            reference = channel;
        }
    }
    if (reference < 0)
        return;

    const double referenceRawPeak = peakAbs(analogValues.at(reference));
    for (int channel : indices) {
        if (channel < 0 || channel >= analogCount)
            continue;
        mapToBand(normalizedValues[channel], analogValues.at(channel), channel,
                  referencePeakInOwnCounts(*this, channel, reference, referenceRawPeak), bandFill);
        const bool isReference = channel == reference;
        setScaleNote(channel, isReference ? -1 : reference);
        scaleReference[channel] = isReference ? 0 : reference + 1;
    }
    applyDisplayedSignals();
}

void COMTRADE_read::setScaleNote(int channel, int referenceChannel)
{
    QLabel* note = channelLabels.value(analogLabelIndex(channel, AnalogLabel::ScaleNote));
    if (!note)
        return;
    note->setText(referenceChannel < 0
                      ? QString()
                      : tr("Отмасштабирован к ") + QLatin1Char('"')
                            + analogChannels.at(referenceChannel).id + QLatin1Char('"'));
}

void COMTRADE_read::applyDisplayedSignals(const QVector<bool>* flags)
{
    hideFrequencyCurves();
    if (flags) {
        // A short array leaves the remaining channels as they are.
        const int count = qMin(flags->size(), shownFlags.size());
        for (int i = 0; i < count; ++i)
            shownFlags[i] = flags->at(i) ? 1 : 0;
    }

    rowMap.clear();
    const int hiddenAnalog = layOutAnalogChannels();
    const int hiddenDigital = layOutDigitalChannels(hiddenAnalog);
    const int shownAnalog = analogCount - hiddenAnalog;
    const int shownDigital = digitalCount - hiddenDigital;

    plotBottom = VornaLumeto::plotBottom(shownAnalog, shownDigital);
    plotTop = 0.0;
    resetCutsToFirstSample();
    showWholeRecording(displayedRows(shownAnalog, shownDigital));

    updateReadouts();
    updateCutTimes();
    requestReplot();
    refillRowSlots(0, RowOrder::TopDown);
}

void COMTRADE_read::hideFrequencyCurves()
{
    for (int channel = 0; channel < frequencyShown.size(); ++channel) {
        if (!frequencyShown.at(channel))
            continue;
        setGraphPoints(frequencyGraphs.at(channel), timeAxis, frequencyDeviation.at(channel), 0.0, -1.0);
        frequencyShown[channel] = 0;
    }
}

int COMTRADE_read::layOutAnalogChannels()
{
    const double lastTime = timeAxis.isEmpty() ? 0.0 : timeAxis.last();
    int hidden = 0;
    for (int i = 0; i < analogCount; ++i) {
        const bool shown = shownFlags.at(i) != 0;
        analogChannels[i].shown = shown;
        if (!shown) {
            ++hidden;
            waveGraphs.at(i)->setData(parkedWaveKeys, parkedWaveValues, true);
            separatorCurves.at(i)->setData(parkedSeparatorKeys, parkedSeparatorValues);
            continue;
        }
        const double shift = analogBand * hidden;
        const double separator = analogBandTop(i + 1) + shift;
        setGraphPoints(waveGraphs.at(i), timeAxis, normalizedValues.at(i), shift);
        separatorCurves.at(i)->setData({0.0, lastTime}, {separator, separator});
        for (int row = firstRowOfAnalog(i); row < firstRowOfAnalog(i + 1); ++row)
            rowMap.append(quint16(row));
    }
    return hidden;
}

int COMTRADE_read::layOutDigitalChannels(int hiddenAnalog)
{
    const double base = analogBand * hiddenAnalog;
    double packed = 0.0;
    int hidden = 0;
    for (int k = 0; k < digitalCount; ++k) {
        const bool shown = shownFlags.at(analogCount + k) != 0;
        digitalChannels[k].shown = shown;
        if (!shown) {
            packed += digitalBand;
            ++hidden;
            digitalLowerGraphs.at(k)->setData(parkedSeparatorKeys, parkedDigitalValues, true);
            digitalUpperGraphs.at(k)->setData(parkedSeparatorKeys, parkedDigitalValues, true);
            continue;
        }
        setGraphPoints(digitalLowerGraphs.at(k), timeAxis, digitalLowerValues.at(k), base + packed);
        setGraphPoints(digitalUpperGraphs.at(k), timeAxis, digitalUpperValues.at(k), base + packed);
        rowMap.append(quint16(rowOfDigital(analogCount, k)));
    }
    return hidden;
}

} // namespace VornaLumeto
