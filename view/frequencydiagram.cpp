#include "view/comtraderead.h"

#include "view/diagramactions.h"
#include "view/plaintext.h"
#include "analysis/diagrammath.h"

#include <qcustomplot.h>

#include <QAction>
#include <QActionGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QMenu>

#include <algorithm>

namespace VornaLumeto {

namespace {

constexpr int frequencyStripHeight = 150;
constexpr int defaultHarmonicCount = 10;
constexpr double labelLift = 1.2;
constexpr double barAxisTop = 10.0;
const QPoint frequencyMenuKeyPoint(50, 25);

void buildHarmonicTicks(COMTRADE_read& view)
{
    const int hertzPerTick = harmonicTickStep(view.lineFrequency);
    for (int k = 0; k <= view.maxHarmonics; ++k) {
        view.harmonicTicks.append(k);
        view.harmonicTickLabels.append(QString::number(k * hertzPerTick));
    }
    QSharedPointer<QCPAxisTickerText> ticker(new QCPAxisTickerText);
    ticker->setTicks(view.harmonicTicks, view.harmonicTickLabels);
    view.frequencyPlot->xAxis->setTicker(ticker);
}

void buildFrequencyMenu(COMTRADE_read& view)
{
    view.frequencyMenu = new QMenu(view.frequencyPlot);
    view.frequencyChannelMenu = view.frequencyMenu->addMenu(COMTRADE_read::tr("Каналы"));
    view.valueModeMenu = view.frequencyMenu->addMenu(COMTRADE_read::tr("Значения величин"));
    view.percentMenu = view.valueModeMenu->addMenu(COMTRADE_read::tr("В процентах"));
    view.frequencyPlot->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(view.frequencyPlot, &QWidget::customContextMenuRequested, &view,
                     &COMTRADE_read::slot_menu_frequency_diag);

    view.frequencyChannelGroup = new QActionGroup(view.frequencyChannelMenu);
    for (int i = 0; i < view.analogChannels.size(); ++i) {
        view.frequencyChannelActions.append(addChoice(view.frequencyChannelMenu, view.frequencyChannelGroup,
                                                      literalMenuText(view.analogChannels.at(i).id), i));
    }
    if (!view.frequencyChannelActions.isEmpty())
        view.frequencyChannelActions.first()->setChecked(true);
    QObject::connect(view.frequencyChannelGroup, &QActionGroup::triggered, &view,
                     &COMTRADE_read::slot_action_submenu_frequency_diag_channel);

    view.valueModeGroup = new QActionGroup(view.valueModeMenu);
    view.fundamentalPercentAction = addChoice(view.percentMenu, view.valueModeGroup,
                                              COMTRADE_read::tr("Относительно основной гармоники"),
                                              int(HarmonicValueMode::FundamentalPercent));
    view.rmsPercentAction = addChoice(view.percentMenu, view.valueModeGroup, COMTRADE_read::tr("Относительно СКЗ"),
                                      int(HarmonicValueMode::RmsPercent));
    view.absoluteValuesAction = addChoice(view.valueModeMenu, view.valueModeGroup,
                                          COMTRADE_read::tr("Абсолютные величины"), int(HarmonicValueMode::Absolute));
    view.absoluteValuesAction->setChecked(true);
    QObject::connect(view.valueModeGroup, &QActionGroup::triggered, &view,
                     &COMTRADE_read::slot_action_submenu_frequency_diag_value);

    view.harmonicCountAction = new QAction(COMTRADE_read::tr("Количество гармоник"),
                                           view.frequencyMenu);
    QObject::connect(view.harmonicCountAction, &QAction::triggered, &view,
                     &COMTRADE_read::slot_action_frequency_diag_numer_garmonic);
    view.frequencyMenu->addAction(view.harmonicCountAction);
}

void placeHarmonicLabels(COMTRADE_read& view, const QVector<QString>& texts,
                         const QVector<double>& heights)
{
    for (int k = 0; k < texts.size() && k < view.harmonicLabels.size(); ++k) {
        // Without bars the labels stand on the axis so the values stay readable.
        const double top = heights.isEmpty() ? 0.0 : heights.at(k);
        view.harmonicLabels.at(k)->setText(texts.at(k));
        view.harmonicLabels.at(k)->position->setCoords(k, top + labelLift);
    }
}

QString harmonicAxisLabel(const AnalogChannel& channel, HarmonicValueMode mode)
{
    const QString unit = mode == HarmonicValueMode::Absolute ? channel.unit : QStringLiteral("%");
    return channel.id + QStringLiteral(" (") + unit + QStringLiteral(")");
}

void colourBars(COMTRADE_read& view, int channel)
{
    const int colour = channel % view.channelColors.size();
    view.harmonicBars->setPen(QPen(view.channelColors.at(colour)));
    view.harmonicBars->setBrush(QBrush(view.channelColorsFaded.at(colour), Qt::SolidPattern));
}

} // namespace

void COMTRADE_read::buildFrequencyDiagram()
{
    frequencyPanel = new QWidget(this);
    frequencyPanel->setFixedHeight(frequencyStripHeight);
    frequencyPanel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::MinimumExpanding);
    auto* panelLayout = new QHBoxLayout(frequencyPanel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->setSpacing(0);

    frequencyPlot = new QCustomPlot(frequencyPanel);
    maxHarmonics = highestHarmonicLimit(sampling.stretches, sampling.lineFrequency);
    buildHarmonicTicks(*this);
    frequencyPlot->xAxis->grid()->setVisible(false);
    frequencyPlot->yAxis->setTicks(false);
    frequencyPlot->yAxis->grid()->setVisible(false);
    frequencyPlot->yAxis->setRange(0.0, barAxisTop);
    frequencyPlot->setFixedHeight(frequencyStripHeight);
    if (!analogChannels.isEmpty())
        frequencyPlot->xAxis->setLabel(analogChannels.first().id);
    frequencyPlot->xAxis->setRange(-0.5, defaultHarmonicCount + 0.5);

    harmonicCount = std::min(maxHarmonics, defaultHarmonicCount);
    panelLayout->addWidget(frequencyPlot);
    frequencyDiagramShown = false;
    frequencyPanel->hide();
    if (auto* grid = qobject_cast<QGridLayout*>(layout()))
        grid->addWidget(frequencyPanel, 1, 0, 1, 1);

    harmonicBars = new QCPBars(frequencyPlot->xAxis, frequencyPlot->yAxis);
    for (int k = 0; k <= maxHarmonics; ++k) {
        auto* label = new QCPItemText(frequencyPlot);
        label->setText(QString());
        label->position->setCoords(-1.0, -1.0);
        harmonicLabels.append(label);
    }
    buildFrequencyMenu(*this);
}

void COMTRADE_read::showFrequencyDiagram()
{
    frequencyDiagramShown = true;
    frequencyPanel->show();
    if (diagramWindowReady())
        refreshFrequencyDiagram();
    else
        emptyFrequencyDiagram();
}

void COMTRADE_read::hideFrequencyDiagram()
{
    frequencyDiagramShown = false;
    frequencyPanel->hide();
}

void COMTRADE_read::refreshFrequencyDiagram()
{
    const int channel = checkedChoice(frequencyChannelGroup, -1);
    // The window would start before the first sample (or there is no period at all).
    if (!diagramWindowReady() || channel < 0 || channel >= analogChannels.size()) {
        emptyFrequencyDiagram();
        return;
    }
    const auto mode = static_cast<HarmonicValueMode>(checkedChoice(valueModeGroup, int(HarmonicValueMode::Absolute)));
    const AnalogChannel& source = analogChannels.at(channel);
    const CutWindows windows = analysisWindows();
    const SampleWindow window = windows.whole;
    const ChannelScaling scaling = channelScaling(channel);
    // A stretch sampled more slowly than the fastest resolves fewer harmonics.
    const int shownCount = std::min(harmonicCount, harmonicLimit(windows.periods));

    const HarmonicMagnitudes harmonics =
        computeHarmonicMagnitudes(analogValues.at(channel), scaling, window, shownCount);
    const double windowRms = mode == HarmonicValueMode::RmsPercent
        ? computeWindowRms(analogValues.at(channel), scaling, window)
        : 0.0;
    const QVector<double> heights = harmonicBarHeights(harmonics.magnitudes, harmonics.maximum);
    placeHarmonicLabels(*this, harmonicLabelTexts(harmonics.magnitudes, mode, windowRms), heights);
    harmonicBars->setData(harmonicTicks.mid(0, heights.size()), heights);

    frequencyPlot->xAxis->setLabel(harmonicAxisLabel(source, mode));
    frequencyPlot->xAxis->setRange(-0.5, shownCount + 0.5);
    frequencyPlot->yAxis->setRange(0.0, barAxisTop);
    colourBars(*this, channel);
    frequencyPlot->replot();
}

void COMTRADE_read::emptyFrequencyDiagram()
{
    frequencyPlot->yAxis->setRange(-5.0, -3.0);
    frequencyPlot->replot();
}

void COMTRADE_read::slot_key_shift_d_frequency_menu()
{
    if (frequencyDiagramShown)
        frequencyMenu->popup(frequencyPlot->mapToGlobal(frequencyMenuKeyPoint));
}

void COMTRADE_read::slot_menu_frequency_diag(QPoint pos)
{
    frequencyMenu->popup(frequencyPlot->mapToGlobal(pos));
}

void COMTRADE_read::slot_action_submenu_frequency_diag_channel()
{
    if (diagramWindowReady())
        refreshFrequencyDiagram();
}

void COMTRADE_read::slot_action_submenu_frequency_diag_value()
{
    if (diagramWindowReady())
        refreshFrequencyDiagram();
}

void COMTRADE_read::slot_action_frequency_diag_numer_garmonic()
{
    const int largest = harmonicLimit(analysisWindows().periods);
    // Without a usable period there is no valid count to offer.
    if (largest < 1)
        return;
    bool accepted = false;
    const int count = QInputDialog::getInt(
        nullptr, tr("Количество гармоник"),
        tr("Введите количество гармоник (1-") + QString::number(largest) + QStringLiteral(")"),
        harmonicCount, 1, largest, 1, &accepted);
    if (!accepted)
        return;
    harmonicCount = count;
    if (diagramWindowReady())
        refreshFrequencyDiagram();
}

void COMTRADE_read::slot_analog_ch_act_frequency_diag()
{
    const int channel = channelMenu->objectName().toInt();
    if (channel < 0 || channel >= frequencyChannelActions.size())
        return;
    frequencyChannelActions.at(channel)->setChecked(true);
    if (diagramWindowReady())
        refreshFrequencyDiagram();
}

} // namespace VornaLumeto
