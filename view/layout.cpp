#include "view/comtraderead.h"

#include "comtrade/common/exactsize.h"
#include "view/bandgeometry.h"
#include "view/channelplotdata.h"
#include "view/directbuttonsignals.h"
#include "view/plaintext.h"
#include "view/tooltips.h"

#include <qcustomplot.h>

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollBar>
#include <QSlider>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace VornaLumeto {

namespace {

QWidget* fixedHeightSpacer(int height, QWidget* parent)
{
    auto* spacer = new QWidget(parent);
    spacer->setFixedHeight(height);
    return spacer;
}

QLabel* addLabel(QHBoxLayout* row, const QString& text)
{
    QLabel* label = plainTextLabel(text);
    row->addWidget(label);
    return label;
}

void paintBold(QLabel* label, const QColor& color)
{
    QFont font;
    font.setWeight(QFont::Bold);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setBrush(QPalette::All, label->foregroundRole(), QBrush(color, Qt::SolidPattern));
    label->setPalette(palette);
}

QPen solidPen(const QColor& color, double width)
{
    return QPen(QBrush(color, Qt::SolidPattern), width, Qt::SolidLine);
}

} // namespace

void COMTRADE_read::buildLayout()
{
    plotArea = new QWidget(this);
    plotArea->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::MinimumExpanding);
    labelColumn = new QWidget(plotArea);
    labelColumn->setMaximumWidth(250);
    cutBar = new QWidget(this);
    cutBar->setFixedHeight(20);
    cutBar->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::MinimumExpanding);

    auto* grid = new QGridLayout(this);
    grid->setSpacing(3);
    grid->setContentsMargins(3, 3, 3, 3);

    auto* plotAreaLayout = new QHBoxLayout(plotArea);
    plotAreaLayout->setSpacing(0);
    plotAreaLayout->setContentsMargins(0, 0, 0, 0);
    plotAreaLayout->addWidget(labelColumn);

    // The spacers line the 24 slots up with the data area of the plot: one slot per 10 y units.
    // Their first heights are a guess; alignLabelColumn() sets them from the plot's margins.
    auto* labelLayout = new QVBoxLayout(labelColumn);
    labelLayout->setContentsMargins(0, 0, 0, 0);
    labelLayout->setSpacing(0);
    labelTopSpacer = fixedHeightSpacer(12, labelColumn);
    labelLayout->addWidget(labelTopSpacer);
    for (int slot = 0; slot < rowSlotCount; ++slot) {
        auto* rowSlot = new QStackedWidget(labelColumn);
        // Equal shares of the data area's height, even below the height of a label's text.
        rowSlot->setSizePolicy(rowSlot->sizePolicy().horizontalPolicy(), QSizePolicy::Ignored);
        rowSlots.append(rowSlot);
        labelLayout->addWidget(rowSlot);
    }
    labelBottomSpacer = fixedHeightSpacer(22, labelColumn);
    labelLayout->addWidget(labelBottomSpacer);

    plot = new QCustomPlot(plotArea);
    plotAreaLayout->addWidget(plot);

    connect(&replotTimer, &QTimer::timeout, this, [this] {
        plot->replot(QCustomPlot::rpRefreshHint);
        replotTimer.stop();
    });
    connect(plot, &QCustomPlot::beforeReplot, this, &COMTRADE_read::fitGraphsToView);
    // Button events reach these signals past QCustomPlot's hit-testing of every point.
    plot->installEventFilter(new DirectButtonSignals(plot));
    connect(plot, &QCustomPlot::mousePress, this, &COMTRADE_read::slot_press_mouse);
    connect(plot, &QCustomPlot::mouseRelease, this, &COMTRADE_read::slot_release_mouse);
    connect(plot, &QCustomPlot::mouseMove, this, &COMTRADE_read::slot_move_mouse);
    connect(plot, &QCustomPlot::mouseWheel, this, &COMTRADE_read::slot_mouse_wheel);
    // Qt turns the second press of a quick pair into a double click; it must grab
    // a line like any press, or its release would count as a click for cut 1.
    connect(plot, &QCustomPlot::mouseDoubleClick, this, &COMTRADE_read::slot_press_mouse);

    horizontalScrollBar = new QScrollBar(Qt::Horizontal, this);
    connect(horizontalScrollBar, &QScrollBar::valueChanged, this, &COMTRADE_read::slot_horzScrollBarChanged);
    verticalScrollBar = new QScrollBar(Qt::Vertical, this);
    connect(verticalScrollBar, &QScrollBar::valueChanged, this, &COMTRADE_read::slot_vertScrollBarChanged);

    auto* cutBarLayout = new QHBoxLayout(cutBar);
    cutBarLayout->setSpacing(0);
    cutBarLayout->setContentsMargins(0, 0, 0, 0);
    addLabel(cutBarLayout, tr("Первый срез по времени: "));
    cut1TimeLabel = addLabel(cutBarLayout, tr("-"));
    addLabel(cutBarLayout, tr(" мс"));
    cutBarLayout->addStretch();
    addLabel(cutBarLayout, tr("Второй срез по времени: "));
    cut2TimeLabel = addLabel(cutBarLayout, tr("-"));
    addLabel(cutBarLayout, tr(" мс"));
    cutBarLayout->addStretch();
    addLabel(cutBarLayout, tr("Разность: "));
    cutDifferenceLabel = addLabel(cutBarLayout, tr("-"));
    addLabel(cutBarLayout, tr(" мс"));
    cutBarLayout->addStretch();
    zoomSlider = new QSlider(Qt::Horizontal, cutBar);
    zoomSlider->setFixedWidth(100);
    cutBarLayout->addWidget(zoomSlider, 0, Qt::AlignRight);
    connect(zoomSlider, &QSlider::valueChanged, this, &COMTRADE_read::slot_slider_valueChange);

    grid->addWidget(plotArea, 0, 0, 1, 1);
    grid->addWidget(horizontalScrollBar, 3, 0, 1, 2);
    grid->addWidget(verticalScrollBar, 0, 2, 2, 1);
    grid->addWidget(cutBar, 2, 0, 1, 2);
}

void COMTRADE_read::setupPlotAxes()
{
    plot->plotLayout()->clear();
    axisRect = new QCPAxisRect(plot, true);
    axisRect->axis(QCPAxis::atLeft)->setTickLabels(false);
    axisRect->setupFullAxesBox(true);
    QCPAxis* left = axisRect->axis(QCPAxis::atLeft);
    QCPAxis* right = axisRect->axis(QCPAxis::atRight);
    left->setSubTicks(false);
    left->setTicks(false);
    right->setSubTicks(false);
    right->setTicks(false);
    left->grid()->setVisible(false);
    plot->plotLayout()->addElement(0, 0, axisRect);

    // Navigation and cuts address the plot through these two axes.
    plot->xAxis = axisRect->axis(QCPAxis::atBottom);
    plot->yAxis = left;
    plot->xAxis2 = axisRect->axis(QCPAxis::atTop);
    plot->yAxis2 = right;
    connect(plot, &QCustomPlot::afterLayout, this, &COMTRADE_read::alignLabelColumn);

    // Dense waveforms: plain lines are far cheaper to draw, and adaptive sampling stays on.
    plot->setNotAntialiasedElements(QCP::aePlottables);
}

namespace {

QCPGraph* addChannelGraph(QCustomPlot* plot, const QPen& pen)
{
    QCPGraph* graph = plot->addGraph(plot->xAxis, plot->yAxis);
    graph->setPen(pen);
    return graph;
}

} // namespace

QWidget* COMTRADE_read::newRowWidget()
{
    auto* row = new QWidget(this);
    row->hide();
    row->setAttribute(Qt::WA_DeleteOnClose);
    auto* rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    rowWidgets.append(row);
    rowLayouts.append(rowLayout);
    return row;
}

QLabel* COMTRADE_read::addChannelLabel(QHBoxLayout* row, const QString& text)
{
    QLabel* label = addLabel(row, text);
    channelLabels.append(label);
    return label;
}

void COMTRADE_read::buildAnalogRows(int channel, const QColor& color)
{
    const AnalogChannel& record = analogChannels.at(channel);

    newRowWidget();
    QHBoxLayout* first = rowLayouts.last();
    QLabel* name = addChannelLabel(first, record.id);
    first->addStretch();
    QLabel* value = addChannelLabel(first, tr("-"));
    QLabel* unit = addChannelLabel(first, record.unit);
    for (QLabel* label : {name, value, unit})
        paintBold(label, color);
    name->setObjectName(QString::number(channel));
    name->setToolTip(analogChannelToolTip(record));
    name->setCursor(Qt::PointingHandCursor);
    name->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(name, &QLabel::customContextMenuRequested, this, &COMTRADE_read::slot_analog_ch_menu);

    for (const QString& caption : {tr("СКЗ: "), tr("СКЗ A1:  ")}) {
        newRowWidget();
        QHBoxLayout* rmsRow = rowLayouts.last();
        addChannelLabel(rmsRow, caption);
        addChannelLabel(rmsRow, tr("-"));
        addChannelLabel(rmsRow, tr("-"));
        rmsRow->addStretch();
    }

    newRowWidget();
    addChannelLabel(rowLayouts.last(), QString());
}

void COMTRADE_read::buildAnalogChannel(int channel)
{
    const QColor color = channelColors.at(colorIndex);
    const int samples = timeAxis.size();

    shownFlags.append(char(1));
    buildAnalogRows(channel, color);
    valueLabelIndex.append(analogLabelIndex(channel, AnalogLabel::Value));
    frequencyShown.append(char(0));
    frequencySuffixAdded.append(char(0));

    // Their points come from the channel's plot data, mapped on the thread pool meanwhile.
    waveGraphs.append(addChannelGraph(plot, solidPen(color, 1)));
    frequencyGraphs.append(addChannelGraph(plot, solidPen(color, 2)));

    createVectorCurve(channel);

    advanceColor();

    auto* separator = new QCPCurve(plot->xAxis, plot->yAxis);
    separator->setPen(solidPen(QColor(224, 224, 224), 1));
    const double bottom = analogBandTop(channel + 1);
    separator->setData(QVector<double>{0.0, timeAxis.value(samples - 1)}, QVector<double>{bottom, bottom});
    separatorCurves.append(separator);

    for (int row = firstRowOfAnalog(channel); row < firstRowOfAnalog(channel + 1); ++row)
        rowMap.append(quint16(row));
}

void COMTRADE_read::buildDigitalChannel(int channel)
{
    const QColor color = channelColors.at(colorIndex);
    const QColor faded = channelColorsFaded.at(colorIndex);

    shownFlags.append(char(1));
    newRowWidget();
    QLabel* name = plainTextLabel(digitalChannels.at(channel).id);
    rowLayouts.last()->addWidget(name, 0, Qt::AlignLeft);
    channelLabels.append(name);
    name->setToolTip(plainToolTip(digitalChannels.at(channel).id));
    paintBold(name, color);

    QCPGraph* lowerGraph = addChannelGraph(plot, solidPen(color, 1));
    QCPGraph* upperGraph = addChannelGraph(plot, solidPen(color, 1));
    for (QCPGraph* graph : {lowerGraph, upperGraph})
        graph->setLineStyle(QCPGraph::lsStepLeft);
    upperGraph->setBrush(QBrush(faded, Qt::SolidPattern));
    upperGraph->setChannelFillGraph(lowerGraph);
    digitalLowerGraphs.append(lowerGraph);
    digitalUpperGraphs.append(upperGraph);

    advanceColor();
    rowMap.append(quint16(rowOfDigital(analogCount, channel)));
}

void COMTRADE_read::advanceColor()
{
    colorIndex = (colorIndex + 1) % channelColors.size();
}

bool COMTRADE_read::buildChannelPlots(const BuildProgress& progress)
{
    rowMap.clear();
    // The channels' values are mapped and their points built on the other cores
    // while this thread makes the label rows and graphs.
    ChannelPlotData plotData;
    plotData.start(*this);
    for (int channel = 0; channel < analogCount; ++channel)
        buildAnalogChannel(channel);
    for (int channel = 0; channel < digitalCount; ++channel)
        buildDigitalChannel(channel);
    if (!plotData.finish(*this, progress))
        return false;

    const int rows = displayedRows(analogCount, digitalCount);
    for (int row = 0; row < rows && row < rowSlotCount; ++row)
        rowSlots.at(row)->addWidget(rowWidgets.at(row));
    for (QStackedWidget* rowSlot : qAsConst(rowSlots))
        rowSlot->setCurrentIndex(0);
    return true;
}

void COMTRADE_read::mapToBand(QVector<double>& destination, const QVector<double>& source, int row,
                              double peak, double fill)
{
    // The destination keeps its storage where it has its own of the right size
    // (a rescale, or a vector mapped onto itself); otherwise it gets new storage
    // of exactly that size, so that a source sharing it stays as it is.
    const int count = source.size();
    if (!destination.isDetached() || destination.size() != count) {
        if (&destination == &source) {
            destination.detach();
        } else {
            QVector<double> sized;
            resizeExactly(sized, count);
            destination = std::move(sized);
        }
    }
    const double* const from = source.constData();
    double* const to = destination.data();
    const double scale = peak / fill;
    const double top = analogBandTop(row);
    const double bottom = top - analogBand;
    for (int j = 0; j < count; ++j) {
        const double y = from[j] / scale * 20.0 - 20.0 + top;
        to[j] = y >= top ? top : (y <= bottom ? bottom : y);
    }
}

double COMTRADE_read::peakAbs(const QVector<double>& values)
{
    double peak = 0.0;
    for (double value : values)
        peak = qMax(peak, qAbs(value));
    return peak;
}

void COMTRADE_read::alignLabelColumn()
{
    // The axis rect's margins depend on the fonts and change with the plot's size; the
    // spacers take what the y axis maps its range to, so each slot faces its 10 units.
    // (The label column and the plot share their top edge.)
    const QCPRange range = plot->yAxis->range();
    const int dataTop = qRound(plot->yAxis->coordToPixel(range.upper));
    const int dataBottom = qRound(plot->yAxis->coordToPixel(range.lower));
    labelTopSpacer->setFixedHeight(qMax(dataTop, 0));
    labelBottomSpacer->setFixedHeight(qMax(plot->height() - dataBottom, 0));
}

void COMTRADE_read::fitGraphsToView()
{
    // Only 24 label rows are in view. Graphs of channels outside them are left
    // out of the drawing (hidden channels and unshown frequency curves lie above
    // y = 0 anyway), which keeps a replot of 255 channels as cheap as one of 24 rows.
    QVector<int> position(rowWidgets.size(), -1);
    for (int displayed = 0; displayed < rowMap.size(); ++displayed)
        position[rowMap.at(displayed)] = displayed;
    const int firstRow = -yUpper / rowHeight;
    const auto inView = [&](int row, int height) {
        const int at = position.value(row, -1);
        return at >= 0 && at + height > firstRow && at < firstRow + rowSlotCount;
    };
    for (int channel = 0; channel < waveGraphs.size(); ++channel) {
        const bool visible = inView(firstRowOfAnalog(channel), rowsPerAnalogChannel);
        const bool frequency = channel < frequencyShown.size() && frequencyShown.at(channel) != 0;
        waveGraphs.at(channel)->setVisible(visible && !frequency);
        frequencyGraphs.at(channel)->setVisible(visible && frequency);
    }
    for (int channel = 0; channel < digitalLowerGraphs.size(); ++channel) {
        const bool visible = inView(rowOfDigital(analogCount, channel), 1);
        digitalLowerGraphs.at(channel)->setVisible(visible);
        digitalUpperGraphs.at(channel)->setVisible(visible);
    }
}

void COMTRADE_read::requestReplot()
{
    if (!replotTimer.isActive())
        replotTimer.start();
}

} // namespace VornaLumeto
