#include "view/comtraderead.h"
#include "view/cutrules.h"

#include <qcustomplot.h>

#include <QMouseEvent>

#include <algorithm>

namespace VornaLumeto {

int nearestSampleIndex(const QVector<double>& times, int first, int last, double time)
{
    if (times[first] >= time)
        return first;
    if (time >= times[last])
        return last;
    const auto later = std::upper_bound(times.cbegin() + first, times.cbegin() + last + 1, time);
    const int j = int(later - times.cbegin());
    return (time - times[j - 1] >= times[j] - time) ? j : j - 1;
}

bool withinGrabReach(double mouseTime, double cutTime, int tolerance)
{
    return cutTime - tolerance <= mouseTime && mouseTime <= cutTime + tolerance;
}

bool strictlyNearCut(double mouseTime, double cutTime, int tolerance)
{
    return cutTime - tolerance < mouseTime && mouseTime < cutTime + tolerance;
}

namespace {

QPen cutPen(Qt::GlobalColor color)
{
    return QPen(QBrush(color, Qt::SolidPattern), 1);
}

void stepCut1(COMTRADE_read& view, int step)
{
    view.cut1Index += step;
    view.cut1Time = view.timeAxis[view.cut1Index];
    view.setCutLinePoints(view.cutLine1, view.cut1Time);
    view.updateReadouts();
    view.updateCutTimes();
    view.repaintCuts();
}

} // namespace

void COMTRADE_read::createCuts()
{
    plotTop = 0.0;
    plotBottom = VornaLumeto::plotBottom(analogCount, digitalCount);

    // The lines get a buffered layer of their own so that moving a cut repaints
    // two lines instead of every channel.
    plot->addLayer(QStringLiteral("cuts"), plot->layer(QStringLiteral("main")),
                   QCustomPlot::limAbove);
    cutLayer = plot->layer(QStringLiteral("cuts"));
    cutLayer->setMode(QCPLayer::lmBuffered);

    cutLine1 = new QCPCurve(plot->xAxis, plot->yAxis);
    cutLine2 = new QCPCurve(plot->xAxis, plot->yAxis);
    cutLine1->setLayer(cutLayer);
    cutLine2->setLayer(cutLayer);
    resetCutsToFirstSample();
}

void COMTRADE_read::resetCutsToFirstSample()
{
    cut1Index = 0;
    cut2Index = 0;
    cut1Time = timeAxis.value(0);
    cut2Time = cut1Time;
    cutLine1->setPen(cutPen(Qt::darkRed));
    cutLine2->setPen(cutPen(Qt::darkBlue));
    setCutLinePoints(cutLine1, cut1Time);
    setCutLinePoints(cutLine2, cut2Time);
}

void COMTRADE_read::setCutLinePoints(QCPCurve* line, double time)
{
    line->setData(QVector<double>{time, time}, QVector<double>{plotBottom, plotTop});
}

void COMTRADE_read::placeCut(int which, double time)
{
    const int index = nearestSampleIndex(timeAxis, firstVisibleSample, lastVisibleSample, time);
    if (which == 1) {
        cut1Index = index;
        cut1Time = timeAxis[index];
        setCutLinePoints(cutLine1, cut1Time);
    } else {
        cut2Index = index;
        cut2Time = timeAxis[index];
        setCutLinePoints(cutLine2, cut2Time);
    }
}

void COMTRADE_read::putCut1On(int sample)
{
    if (timeAxis.isEmpty())
        return;
    scrollToShow(qBound(0, sample, timeAxis.size() - 1));
    // A cut stays inside the visible window, whatever the scroll achieved.
    cut1Index = qBound(firstVisibleSample, sample, lastVisibleSample);
    cut1Time = timeAxis[cut1Index];
    setCutLinePoints(cutLine1, cut1Time);
    updateReadouts();
    updateCutTimes();
    requestReplot();
}

void COMTRADE_read::repaintCuts()
{
    // A pending full replot draws the lines too, in step with a changed range.
    if (!replotTimer.isActive())
        cutLayer->replot();
}

double COMTRADE_read::mouseTime(const QMouseEvent* event) const
{
    return plot->xAxis->pixelToCoord(event->pos().x());
}

void COMTRADE_read::slot_press_mouse(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        const double m = mouseTime(event);
        if (withinGrabReach(m, cut1Time, cutTolerance))
            draggedCut = 1;
        else if (withinGrabReach(m, cut2Time, cutTolerance))
            draggedCut = 2;
        else
            draggedCut = 0;
        cutDragging = draggedCut != 0;
    } else if (event->button() == Qt::RightButton) {
        wheelZoomed = false;
        rightButtonHeld = true;
    }
    // A press moves no line, so the plot needs no repaint.
    updateReadouts();
    updateCutTimes();
}

void COMTRADE_read::slot_move_mouse(QMouseEvent* event)
{
    const double m = mouseTime(event);
    const bool nearLine = strictlyNearCut(m, cut1Time, cutTolerance)
                          || strictlyNearCut(m, cut2Time, cutTolerance);
    plot->setCursor(nearLine ? Qt::SizeHorCursor : Qt::ArrowCursor);

    const bool dragging = event->buttons() == Qt::LeftButton && (draggedCut == 1 || draggedCut == 2);
    if (!dragging)
        return;
    plot->setCursor(Qt::SizeHorCursor);
    placeCut(draggedCut, m);
    updateReadouts();
    updateCutTimes();
    repaintCuts();
}

void COMTRADE_read::slot_release_mouse(QMouseEvent* event)
{
    bool cutMoved = false;
    if (event->button() == Qt::LeftButton) {
        if (cutDragging) {
            cutDragging = false;
        } else {
            placeCut(1, mouseTime(event));
            cutMoved = true;
        }
        draggedCut = 0;
    } else if (event->button() == Qt::RightButton) {
        // A right-button drag that turned the wheel was a zoom, not a click.
        if (!wheelZoomed) {
            placeCut(2, mouseTime(event));
            cutMoved = true;
        }
        rightButtonHeld = false;
    }
    updateReadouts();
    updateCutTimes();
    if (cutMoved)
        repaintCuts();
}

void COMTRADE_read::slot_key_Right()
{
    if (cut1Index < lastVisibleSample)
        stepCut1(*this, +1);
}

void COMTRADE_read::slot_key_Left()
{
    if (cut1Index > firstVisibleSample)
        stepCut1(*this, -1);
}

} // namespace VornaLumeto
