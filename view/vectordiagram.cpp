#include "view/comtraderead.h"

#include "view/diagramactions.h"
#include "view/plaintext.h"
#include "analysis/diagrammath.h"

#include <qcustomplot.h>

#include <QAction>
#include <QActionGroup>
#include <QGridLayout>
#include <QImage>
#include <QMenu>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <limits>

namespace VornaLumeto {

namespace {

constexpr int vectorPanelSize = 300;
constexpr int vectorTableWidth = 280;
// The angle reference that is no channel: angles as computed.
constexpr int absoluteAngle = -1;
const QPoint vectorMenuKeyPoint(50, 50);

// Both ends outside the -1 ... 1 square: the vector is not seen.
void hideVector(QCPCurve* curve)
{
    curve->setData(QVector<double>{2.0, 2.0}, QVector<double>{2.0, 2.0});
}

void drawVector(QCPCurve* curve, const QPointF& end)
{
    curve->setData(QVector<double>{0.0, end.x()}, QVector<double>{0.0, end.y()});
}

// What the diagram shows of a channel's phasor. A phasor that is rounding noise against the
// signal of its window (a DC or dead channel) counts as zero: no size and no direction.
// One that is not a number (its window holds a missing value or crosses a change of
// rate) has neither either, and no vector.
struct ShownPhasor {
    double rms = 0.0;
    double angle = 0.0;
    bool negligible = false;
    bool available() const { return !std::isnan(rms); }
};

ShownPhasor shownPhasor(const COMTRADE_read& view, int channel)
{
    const Phasor& phasor = view.phasors.at(channel);
    ShownPhasor shown{phasor.rms, phasor.angle, false};
    // The phasor's window: the Q samples ending at cut 1. Before a whole one the phasor is zeroed.
    const SampleWindow window = view.analysisWindows().nearest;
    if (!window.recorded() || !shown.available())
        return shown;
    const double signalPeak = windowPeakAbs(view.analogValues.at(channel), view.channelScaling(channel), window);
    if (negligibleAgainst(phasor.rms, signalPeak))
        shown = {0.0, std::numeric_limits<double>::quiet_NaN(), true};
    return shown;
}

struct LargestMagnitudes {
    double voltage = 0.0;
    double current = 0.0;
    double of(VectorKind kind) const { return kind == VectorKind::Voltage ? voltage : current; }
};

LargestMagnitudes largestMagnitudes(const COMTRADE_read& view, const QVector<int>& channels,
                                    const QVector<ShownPhasor>& shown)
{
    LargestMagnitudes largest;
    for (int row = 0; row < channels.size(); ++row) {
        const VectorUnit unit = vectorUnit(view.analogChannels.at(channels.at(row)).unit);
        const double magnitude = shown.at(row).rms * unit.factor;
        if (unit.kind == VectorKind::Voltage)
            largest.voltage = std::max(largest.voltage, magnitude);
        else if (unit.kind == VectorKind::Current)
            largest.current = std::max(largest.current, magnitude);
    }
    return largest;
}

void writeNameCell(COMTRADE_read& view, int row, int channel)
{
    const QModelIndex cell = view.vectorModel->index(row, 0);
    const QColor& color = view.channelColors.at(channel % view.channelColors.size());
    view.vectorModel->setData(cell, color, Qt::DecorationRole);
    view.vectorModel->setData(cell, view.analogChannels.at(channel).id, Qt::EditRole);
}

void placeVector(QCPCurve* curve, const VectorUnit& unit, const ShownPhasor& phasor, double largest,
                 double angleDifference)
{
    if (!phasor.available())
        return;  // left hidden
    if (unit.kind == VectorKind::Other || phasor.negligible) {
        drawVector(curve, QPointF(0.0, 0.0));
        return;
    }
    const double rms = phasor.rms;
    // A kind whose largest magnitude is 0 has no direction to show.
    const double length = vectorLength(rms, unit.factor, largest);
    if (std::isfinite(length))
        drawVector(curve, vectorEnd(length, angleDifference));
}

void hideAllVectors(COMTRADE_read& view)
{
    for (QCPCurve* curve : qAsConst(view.vectorCurves)) {
        if (curve)
            hideVector(curve);
    }
}

// Adds or removes a channel; a removed reference hands the angle origin back to the absolute angle.
void setVectorChannelShown(COMTRADE_read& view, int channel, bool shown)
{
    if (shown) {
        if (!view.vectorChannels.contains(channel)) {
            view.vectorChannels.append(channel);
            std::sort(view.vectorChannels.begin(), view.vectorChannels.end());
        }
        view.angleReferenceActions.at(channel)->setVisible(true);
    } else {
        view.vectorChannels.removeOne(channel);
        view.angleReferenceActions.at(channel)->setVisible(false);
        if (checkedChoice(view.angleReferenceGroup, absoluteAngle) == channel)
            view.absoluteAngleAction->setChecked(true);
    }
    view.refreshVectorDiagram();
}

// A picture loaded by file name would stay in Qt's pixmap cache after the last
// view that showed it has closed; decoded as an image it goes with its views.
QBrush backgroundBrush(const QString& resource)
{
    return QBrush(QPixmap::fromImage(QImage(resource)));
}

} // namespace

void COMTRADE_read::buildVectorDiagram()
{
    vectorPanel = new QWidget(this);
    vectorPanel->setFixedWidth(vectorPanelSize);
    auto* panelLayout = new QVBoxLayout(vectorPanel);
    panelLayout->setSpacing(0);
    panelLayout->setContentsMargins(0, 0, 0, 0);

    vectorTableHolder = new QWidget(vectorPanel);
    auto* holderLayout = new QVBoxLayout(vectorTableHolder);
    vectorTable = new QTableView(vectorTableHolder);
    vectorTable->setFixedWidth(vectorTableWidth);
    vectorTable->setAlternatingRowColors(true);
    vectorTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    vectorTable->setTabKeyNavigation(false);
    vectorModel = new QStandardItemModel(0, 3, vectorTable);
    vectorModel->setHorizontalHeaderLabels({tr("Название"), tr("Угол"), tr("СКЗ")});
    vectorTable->setModel(vectorModel);
    holderLayout->addWidget(vectorTable);
    vectorTable->resizeColumnsToContents();

    vectorPlot = new QCustomPlot(vectorPanel);
    panelLayout->addWidget(vectorPlot);
    panelLayout->addWidget(vectorTableHolder);

    degreesBackground = backgroundBrush(QStringLiteral(":/vornalumeto_res/vornalumeto_images/phase.png"));
    radiansBackground = backgroundBrush(QStringLiteral(":/vornalumeto_res/vornalumeto_images/phase_radian.png"));
    vectorPlot->setAutoFillBackground(true);
    vectorPlot->setBackground(degreesBackground);
    vectorPlot->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::MinimumExpanding);
    vectorPlot->setFixedSize(vectorPanelSize, vectorPanelSize);

    // One bare axis rect: the picture is the grid, so neither axes nor their grids are drawn.
    vectorPlot->plotLayout()->clear();
    auto* square = new QCPAxisRect(vectorPlot);
    vectorPlot->plotLayout()->addElement(0, 0, square);
    vectorPlot->xAxis = square->axis(QCPAxis::atBottom);
    vectorPlot->yAxis = square->axis(QCPAxis::atLeft);
    for (QCPAxis* axis : {vectorPlot->xAxis, vectorPlot->yAxis}) {
        axis->setTickLabels(false);
        axis->setVisible(false);
        axis->setRange(-1.0, 1.0);
    }

    if (auto* grid = qobject_cast<QGridLayout*>(layout()))
        grid->addWidget(vectorPanel, 0, 1, 2, 1);
    vectorDiagramShown = false;
    vectorPanel->hide();

    vectorMenu = new QMenu(vectorPlot);
    vectorChannelMenu = vectorMenu->addMenu(tr("Каналы"));
    angleReferenceMenu = vectorMenu->addMenu(tr("Отсчет углов"));
    angleUnitMenu = vectorMenu->addMenu(tr("Размерность"));
    vectorPlot->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(vectorPlot, &QWidget::customContextMenuRequested, this,
            &COMTRADE_read::slot_menu_vector_diag);

    angleReferenceGroup = new QActionGroup(angleReferenceMenu);
    connect(angleReferenceGroup, &QActionGroup::triggered, this,
            &COMTRADE_read::slot_action_submenu_vector_diag_angle_ot);
    absoluteAngleAction = addChoice(angleReferenceMenu, angleReferenceGroup, tr("Абсолютный угол"), absoluteAngle);
    absoluteAngleAction->setChecked(true);
    angleReferenceMenu->addSeparator();

    for (int i = 0; i < analogChannels.size(); ++i) {
        const AnalogChannel& channel = analogChannels.at(i);
        auto* channelAction = new QAction(literalMenuText(channel.id), vectorChannelMenu);
        channelAction->setObjectName(QString::number(i));
        channelAction->setCheckable(true);
        connect(channelAction, &QAction::triggered, this,
                &COMTRADE_read::slot_action_submenu_vector_diag_channel);
        vectorChannelActions.append(channelAction);

        auto* referenceAction = new QAction(literalMenuText(channel.id), angleReferenceMenu);
        referenceAction->setObjectName(QString::number(i));
        referenceAction->setCheckable(true);
        angleReferenceGroup->addAction(referenceAction);
        angleReferenceActions.append(referenceAction);
        if (!isPercentUnit(channel.unit)) {
            vectorChannelMenu->addAction(channelAction);
            angleReferenceMenu->addAction(referenceAction);
            // A channel can serve as reference only while it is on the diagram.
            referenceAction->setVisible(false);
        }
    }

    angleUnitGroup = new QActionGroup(angleUnitMenu);
    angleUnitActions.append(addChoice(angleUnitMenu, angleUnitGroup, tr("Градусы"), int(AngleUnit::Degrees)));
    angleUnitActions.append(addChoice(angleUnitMenu, angleUnitGroup, tr("Радианы"), int(AngleUnit::Radians)));
    angleUnitActions.first()->setChecked(true);
    connect(angleUnitGroup, &QActionGroup::triggered, this,
            &COMTRADE_read::slot_action_submenu_vector_diag_raz);
}

void COMTRADE_read::createVectorCurve(int channel)
{
    auto* curve = new QCPCurve(vectorPlot->xAxis, vectorPlot->yAxis);
    curve->setPen(QPen(QBrush(channelColors.at(colorIndex % channelColors.size())), 2.0,
                       Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    if (vectorCurves.size() <= channel)
        vectorCurves.resize(channel + 1);
    vectorCurves[channel] = curve;
}

void COMTRADE_read::showVectorDiagram()
{
    vectorDiagramShown = true;
    vectorPanel->show();
    refreshVectorDiagram();
}

void COMTRADE_read::hideVectorDiagram()
{
    vectorDiagramShown = false;
    vectorPanel->hide();
}

void COMTRADE_read::refreshVectorDiagram()
{
    const QVector<int> channels = vectorChannels;
    QVector<ShownPhasor> shown;
    shown.reserve(channels.size());
    for (int channel : channels)
        shown.append(shownPhasor(*this, channel));
    const LargestMagnitudes largest = largestMagnitudes(*this, channels, shown);
    hideAllVectors(*this);
    vectorModel->setRowCount(channels.size());

    // A reference without a direction leaves every angle without an origin.
    const int reference = checkedChoice(angleReferenceGroup, absoluteAngle);
    const double referenceAngle = reference >= 0 ? shownPhasor(*this, reference).angle : 0.0;
    const auto angleUnit = static_cast<AngleUnit>(checkedChoice(angleUnitGroup, int(AngleUnit::Degrees)));

    for (int row = 0; row < channels.size(); ++row) {
        const int channel = channels.at(row);
        const ShownPhasor& phasor = shown.at(row);
        const double difference = phasor.angle - referenceAngle;
        writeNameCell(*this, row, channel);
        vectorModel->setData(vectorModel->index(row, 1), angleText(foldAngle(difference), angleUnit));
        vectorModel->setData(vectorModel->index(row, 2), magnitudeText(phasor.rms));
        const VectorUnit unit = vectorUnit(analogChannels.at(channel).unit);
        if (QCPCurve* curve = vectorCurves.value(channel))
            placeVector(curve, unit, phasor, largest.of(unit.kind), difference);
    }
    // Columns first: rows measured against the old, narrower columns would wrap their
    // texts and keep a double height (switching degrees to radians widens the angles).
    vectorTable->resizeColumnsToContents();
    vectorTable->resizeRowsToContents();

    vectorPlot->setBackground(angleUnit == AngleUnit::Degrees ? degreesBackground
                                                              : radiansBackground);
    vectorPlot->replot();
}

void COMTRADE_read::clearVectorDiagram()
{
    for (int row = 0; row < vectorChannels.size() && row < vectorModel->rowCount(); ++row) {
        writeNameCell(*this, row, vectorChannels.at(row));
        vectorModel->setData(vectorModel->index(row, 1), QStringLiteral("0"));
        vectorModel->setData(vectorModel->index(row, 2), QStringLiteral("0"));
    }
    hideAllVectors(*this);
    vectorPlot->replot();
}

void COMTRADE_read::slot_key_shift_d_vector_menu()
{
    if (vectorDiagramShown)
        vectorMenu->popup(vectorPlot->mapToGlobal(vectorMenuKeyPoint));
}

void COMTRADE_read::slot_menu_vector_diag(QPoint pos)
{
    vectorMenu->popup(vectorPlot->mapToGlobal(pos));
}

void COMTRADE_read::slot_action_submenu_vector_diag_channel()
{
    const int channel = sender()->objectName().toInt();
    if (channel < 0 || channel >= vectorChannelActions.size())
        return;
    setVectorChannelShown(*this, channel, vectorChannelActions.at(channel)->isChecked());
}

void COMTRADE_read::slot_action_submenu_vector_diag_angle_ot()
{
    refreshVectorDiagram();
}

void COMTRADE_read::slot_action_submenu_vector_diag_raz()
{
    refreshVectorDiagram();
}

void COMTRADE_read::slot_analog_ch_act_vector_diag()
{
    const int channel = channelMenu->objectName().toInt();
    if (channel < 0 || channel >= vectorChannelActions.size())
        return;
    const bool shown = vectorDiagramAction->isChecked();
    vectorChannelActions.at(channel)->setChecked(shown);
    setVectorChannelShown(*this, channel, shown);
}

} // namespace VornaLumeto
