#include "view/comtraderead.h"
#include "view/navigationrules.h"

#include <qcustomplot.h>

#include <QScrollBar>
#include <QShortcut>
#include <QSlider>
#include <QStackedWidget>
#include <QWheelEvent>

namespace VornaLumeto {

namespace {

constexpr int rowsPerStep = 3;
constexpr double narrowestWindowMs = 30.0;
constexpr double toleranceSpanMs = 800.0;
constexpr double singleInstantHalfSpanMs = 1.0;

// Samples from first on, up to end, whose time is below limit.
int samplesBefore(const QVector<double>& times, double limit, int first = 0, int end = -1)
{
    const int stop = end < 0 ? times.size() : end;
    int below = first;
    while (below < stop && times.at(below) < limit)
        ++below;
    return below - first;
}

} // namespace

int narrowestWindowSamples(const QVector<double>& times)
{
    const int fromZero = samplesBefore(times, narrowestWindowMs) - 1;
    if (fromZero > 0 || times.size() < 2)
        return qMax(fromZero, 0);
    return qMax(samplesBefore(times, times.first() + narrowestWindowMs) - 1, 1);
}

int narrowestWindowSamples(const QVector<double>& times, const QVector<SamplingStretch>& stretches)
{
    int narrowest = narrowestWindowSamples(times);
    for (int s = 1; s < stretches.size(); ++s) {
        const SamplingStretch& stretch = stretches.at(s);
        const int end = qMin(stretch.end, times.size());
        if (stretch.first >= end)
            continue;
        const int below = samplesBefore(times, times.at(stretch.first) + narrowestWindowMs, stretch.first, end);
        if (below < end - stretch.first)  // the stretch lasts the 30 ms
            narrowest = qMin(narrowest, qMax(below - 1, 1));
    }
    return narrowest;
}

int COMTRADE_read::narrowestWindow() const
{
    return narrowestWindowSamples(timeAxis, sampling.stretches);
}

void COMTRADE_read::showVisibleWindow()
{
    const double first = timeAxis.at(firstVisibleSample);
    const double last = timeAxis.at(lastVisibleSample);
    // The plot ignores a range of zero width and would keep showing the old one.
    if (last == first)
        plot->xAxis->setRange(first - singleInstantHalfSpanMs, first + singleInstantHalfSpanMs);
    else
        plot->xAxis->setRange(first, last);
}

void COMTRADE_read::setInitialWindow()
{
    lastHorizontalValue = horizontalScrollBar->value();
    lastVerticalValue = verticalScrollBar->value();
    showWholeRecording(displayedRows(analogCount, digitalCount));
    updateReadouts();
    installShortcuts();
}

void COMTRADE_read::showWholeRecording(int shownRows)
{
    const int samples = timeAxis.size();
    firstVisibleSample = 0;
    windowSamples = narrowestWindow();
    lastVisibleSample = windowSamples;
    showVisibleWindow();

    verticalScrollBar->setRange(0, lastFirstRow(shownRows));
    verticalScrollBar->setValue(0);
    plot->yAxis->setRange(yLower, yUpper);

    const int widest = samples - windowSamples - 1;
    zoomSlider->setRange(0, widest);
    zoomSlider->setEnabled(widest > 0);
    horizontalScrollBar->setRange(0, widest);
    // Stepping away and back makes the zoom slot run even when the value was already there.
    zoomSlider->setValue(widest - 1);
    zoomSlider->setValue(widest);
}

void COMTRADE_read::installShortcuts()
{
    const struct {
        QKeySequence key;
        void (COMTRADE_read::*slot)();
    } shortcuts[] = {
        {QKeySequence(Qt::Key_Right), &COMTRADE_read::slot_key_Right},
        {QKeySequence(Qt::Key_Left), &COMTRADE_read::slot_key_Left},
        {QKeySequence(Qt::Key_Up), &COMTRADE_read::slot_key_Top},
        {QKeySequence(Qt::Key_Down), &COMTRADE_read::slot_key_Bottom},
        {QKeySequence(Qt::SHIFT + Qt::Key_D), &COMTRADE_read::slot_key_shift_d_vector_menu},
        {QKeySequence(Qt::SHIFT + Qt::Key_X), &COMTRADE_read::slot_key_shift_d_frequency_menu},
    };
    for (const auto& shortcut : shortcuts)
        connect(new QShortcut(shortcut.key, this), &QShortcut::activated, this, shortcut.slot);
}

void COMTRADE_read::slot_slider_valueChange()
{
    const int samples = timeAxis.size();
    const int width = zoomSlider->value() + windowSamples;
    const int before = width / 2;
    const int after = (width + 1) / 2;

    int first = cut1Index - before;
    int last = cut1Index + after;
    if (first < 0) {
        if (last >= samples)
            return;
        first = 0;
        last = before + after;
    } else if (last >= samples) {
        last = samples - 1;
        first = last - before - after;
    }
    firstVisibleSample = first;
    lastVisibleSample = last;

    // The bar follows the new window. Its signals (from the range clamp and from
    // the new value) only take over the position; the flag is cleared here, not
    // by the first signal, so neither a second signal nor a missing one can move
    // the window away from the bar.
    zoomResync = true;
    horizontalScrollBar->setRange(0, samples - 1 - (last - first));
    horizontalScrollBar->setValue(first);
    zoomResync = false;
    showVisibleWindow();
    cutTolerance = int((timeAxis.at(last) - timeAxis.at(first)) / toleranceSpanMs + 1.0);
    requestReplot();
}

void COMTRADE_read::scrollToShow(int sample)
{
    if (sample >= firstVisibleSample && sample <= lastVisibleSample)
        return;
    // Centred where the recording allows; the bar's range keeps the width, and
    // its slot moves both ends by the step, as a drag of the bar does.
    const int width = lastVisibleSample - firstVisibleSample;
    horizontalScrollBar->setValue(qBound(0, sample - width / 2, timeAxis.size() - 1 - width));
}

void COMTRADE_read::slot_horzScrollBarChanged()
{
    const int value = horizontalScrollBar->value();
    const int step = value - lastHorizontalValue;
    lastHorizontalValue = value;
    if (!zoomResync) {
        firstVisibleSample += step;
        lastVisibleSample += step;
    }
    firstVisibleSample = qMax(firstVisibleSample, 0);
    lastVisibleSample = qMin(lastVisibleSample, timeAxis.size() - 1);
    showVisibleWindow();
    requestReplot();
}

void COMTRADE_read::slot_vertScrollBarChanged()
{
    const int value = verticalScrollBar->value();
    const int step = value - lastVerticalValue;
    lastVerticalValue = value;
    yLower -= rowHeight * step;
    yUpper -= rowHeight * step;
    plot->yAxis->setRange(yLower, yUpper);
    refillRowSlots(value, step <= 0 ? RowOrder::TopDown : RowOrder::BottomUp);
    requestReplot();
}

void COMTRADE_read::refillRowSlots(int firstRow, RowOrder order)
{
    // The order makes every row leave its old slot before it joins a new one.
    for (int step = 0; step < rowSlotCount; ++step) {
        const int slot = order == RowOrder::TopDown ? step : rowSlotCount - 1 - step;
        QStackedWidget* rowSlot = rowSlots.at(slot);
        if (QWidget* shown = rowSlot->widget(0))
            rowSlot->removeWidget(shown);
        const int row = firstRow + slot;
        if (row >= 0 && row < rowMap.size()) {
            QWidget* rowWidget = rowWidgets.at(rowMap.at(row));
            rowSlot->addWidget(rowWidget);
            rowSlot->setCurrentWidget(rowWidget);
        }
    }
}

void COMTRADE_read::slot_mouse_wheel(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (rightButtonHeld) {
        wheelZoomed = true;
        const int step = qMax(sampleRates.first().endSample / 1000, 1);
        zoomSlider->setValue(zoomSlider->value() - delta * step);
    } else {
        verticalScrollBar->setValue(verticalScrollBar->value() + (delta > 0 ? -rowsPerStep : rowsPerStep));
    }
}

void COMTRADE_read::slot_key_Top()
{
    verticalScrollBar->setValue(verticalScrollBar->value() - rowsPerStep);
}

void COMTRADE_read::slot_key_Bottom()
{
    verticalScrollBar->setValue(verticalScrollBar->value() + rowsPerStep);
}

} // namespace VornaLumeto
