#include "view/impedancediagram.h"

#include "analysis/faulttype.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace VornaLumeto {

namespace {

// Phase colours as on the switchboards (A yellow, B green, C red), darkened to
// read on white; the phase-to-phase loops in colours of their own.
QColor loopColor(int loop)
{
    static const QColor colors[faultLoopCount] = {QColor(200, 150, 0),  QColor(0, 140, 0),   QColor(210, 0, 0),
                                                  QColor(230, 100, 0), QColor(0, 100, 200), QColor(130, 0, 170)};
    return colors[loop];
}

bool isFinitePoint(double r, double x)
{
    return std::isfinite(r) && std::isfinite(x);
}

} // namespace

// What the ranges must hold: the origin and whatever is added.
struct ImpedanceDiagram::Box {
    double left = 0.0;
    double right = 0.0;
    double bottom = 0.0;
    double top = 0.0;
    void add(double r, double x)
    {
        left = std::min(left, r);
        right = std::max(right, r);
        bottom = std::min(bottom, x);
        top = std::max(top, x);
    }
};

ImpedanceDiagram::ImpedanceDiagram(QWidget* parent) : QCustomPlot(parent)
{
    setInteractions(QCP::iRangeZoom | QCP::iRangeDrag);
    xAxis->setLabel(tr("R, Ом"));
    yAxis->setLabel(tr("X, Ом"));
    const QPen zeroLine(QColor(120, 120, 120), 0);
    xAxis->grid()->setZeroLinePen(zeroLine);
    yAxis->grid()->setZeroLinePen(zeroLine);

    addLayer(QStringLiteral("marks"), layer(QStringLiteral("main")), QCustomPlot::limAbove);
    markLayer = layer(QStringLiteral("marks"));
    markLayer->setMode(QCPLayer::lmBuffered);

    lineCurve = new QCPCurve(xAxis, yAxis);
    lineCurve->setName(tr("Линия, Z1L"));
    lineCurve->setPen(QPen(Qt::black, 1.5, Qt::DashLine));
    for (int loop = 0; loop < faultLoopCount; ++loop) {
        QCPCurve* curve = new QCPCurve(xAxis, yAxis);
        curve->setName(faultLoopLetters(FaultLoop(loop)));
        curve->setPen(QPen(loopColor(loop), 1));
        curve->setAntialiased(false);
        loopCurves[loop] = curve;
        QCPCurve* mark = new QCPCurve(xAxis, yAxis);
        mark->setLayer(markLayer);
        mark->setLineStyle(QCPCurve::lsNone);
        mark->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, QPen(Qt::black, 1), loopColor(loop), 8));
        mark->removeFromLegend();
        markCurves[loop] = mark;
    }
    legend->setVisible(true);
    legend->setFont(QFont(font().family(), 8));
    legend->setBrush(QColor(255, 255, 255, 220));
    axisRect()->insetLayout()->setInsetAlignment(0, Qt::AlignTop | Qt::AlignLeft);

    connect(this, &QCustomPlot::legendClick, this,
            [this](QCPLegend*, QCPAbstractLegendItem* item, QMouseEvent*) { toggleLoop(item); });
    connect(this, &QCustomPlot::afterLayout, this, [this] {
        keepEqualScale();
        refillAfterZoom();
    });
    connect(this, &QCustomPlot::afterReplot, this, [this] { replotQueued = false; });
    setLine(std::nullopt);
    fitToContents();
}

void ImpedanceDiagram::queueReplot()
{
    // Many changes before the event loop runs again make one replot.
    replot(rpQueuedReplot);
    replotQueued = true;
}

void ImpedanceDiagram::keepEqualScale()
{
    // An ohm of R as long as an ohm of X, whatever the window's shape.
    if (axisRect()->width() > 0 && axisRect()->height() > 0)
        yAxis->setScaleRatio(xAxis, 1.0);
}

void ImpedanceDiagram::setLocus(const ImpedanceLocus& newLocus, std::optional<double> newFactor)
{
    locus = newLocus;
    hasLocus = newFactor.has_value() && locus.size() > 0;
    factor = newFactor.value_or(1.0);
    shownFirst = -1;
    shownLast = -1;
    for (int loop = 0; loop < faultLoopCount; ++loop) {
        loopCurves[loop]->data()->clear();
        markCurves[loop]->data()->clear();
    }
    queueReplot();
}

void ImpedanceDiagram::setLine(std::optional<Complex> impedance)
{
    if (impedance)
        lineCurve->setData(QVector<double>{0.0, impedance->real()}, QVector<double>{0.0, impedance->imag()});
    else
        lineCurve->data()->clear();
    lineCurve->setVisible(impedance.has_value());
    if (!impedance) {
        lineCurve->removeFromLegend();
    } else if (!lineCurve->addToLegend()) {
        // Already listed, perhaps greyed by a click that hid the line before.
        legend->itemWithPlottable(lineCurve)->setTextColor(Qt::black);
    }
    queueReplot();
}

void ImpedanceDiagram::showSamples(int first, int last, int marked)
{
    if (!hasLocus)
        return;
    const int lastOfLocus = locus.firstSample + locus.size() - 1;
    first = std::clamp(first, locus.firstSample, lastOfLocus);
    last = std::clamp(last, first, lastOfLocus);
    if (first != shownFirst || last != shownLast) {
        shownFirst = first;
        shownLast = last;
        fillLoopCurves();
        queueReplot();
    }
    showMarks(marked);
}

double ImpedanceDiagram::ohmsPerPixel() const
{
    const int width = axisRect()->width();
    return width > 0 ? xAxis->range().size() / width : 0.0;
}

void ImpedanceDiagram::fillLoopCurves()
{
    // A point within half a pixel of the last one drawn adds nothing to the
    // picture: steady load or fault samples all but repeat their impedance.
    // Every sample is looked at, so no excursion is lost at any zoom.
    filledTolerance = ohmsPerPixel() / 2;
    const int count = shownLast - shownFirst + 1;
    QVector<QCPCurveData> points;
    for (int loop = 0; loop < faultLoopCount; ++loop) {
        points.clear();
        const double* r = locus.resistance[loop].constData() + (shownFirst - locus.firstSample);
        const double* x = locus.reactance[loop].constData() + (shownFirst - locus.firstSample);
        double lastR = qQNaN();
        double lastX = qQNaN();
        bool gap = false;
        for (int i = 0; i < count; ++i) {
            const double pointR = r[i] * factor;
            const double pointX = x[i] * factor;
            if (!isFinitePoint(pointR, pointX)) {
                // One point of no value breaks the line; a run of them adds nothing more.
                if (!gap)
                    points.append(QCPCurveData(shownFirst + i, qQNaN(), qQNaN()));
                gap = true;
                continue;
            }
            const bool last = i == count - 1;
            if (!gap && !last && std::fabs(pointR - lastR) <= filledTolerance
                && std::fabs(pointX - lastX) <= filledTolerance)
                continue;
            points.append(QCPCurveData(shownFirst + i, pointR, pointX));
            lastR = pointR;
            lastX = pointX;
            gap = false;
        }
        loopCurves[loop]->data()->set(points, true);
    }
}

void ImpedanceDiagram::refillAfterZoom()
{
    // Zooming changes what half a pixel is; dragging does not.
    const double tolerance = ohmsPerPixel() / 2;
    if (shownFirst < 0 || !(tolerance > 0.0))
        return;
    if (std::fabs(tolerance - filledTolerance) > 0.1 * filledTolerance || !(filledTolerance > 0.0))
        fillLoopCurves();
}

void ImpedanceDiagram::showMarks(int marked)
{
    const int index = marked - locus.firstSample;
    for (int loop = 0; loop < faultLoopCount; ++loop) {
        QCPCurve* mark = markCurves[loop];
        mark->data()->clear();
        if (index < 0 || index >= locus.size())
            continue;
        const double r = locus.resistance[loop][index] * factor;
        const double x = locus.reactance[loop][index] * factor;
        if (isFinitePoint(r, x))
            mark->addData(r, x);
    }
    // A full replot on its way draws the marks too.
    if (!replotQueued)
        markLayer->replot();
}

void ImpedanceDiagram::fitToContents()
{
    Box box;
    if (!lineCurve->data()->isEmpty()) {
        const QCPCurveData end = *(lineCurve->data()->constEnd() - 1);
        box.add(end.key, end.value);
    }
    bool marked = false;
    for (int loop = 0; loop < faultLoopCount; ++loop) {
        if (!loopCurves[loop]->visible())
            continue;
        for (const QCPCurveData& point : *markCurves[loop]->data()) {
            box.add(point.key, point.value);
            marked = true;
        }
    }
    if (!marked)
        addLocusBulk(box);
    // Ohms per pixel that hold the box with a margin in both directions, at one
    // scale for R and X; an empty diagram, or the origin alone, shows a few ohms.
    const double width = std::max(1, axisRect()->width() > 0 ? axisRect()->width() : this->width());
    const double height = std::max(1, axisRect()->height() > 0 ? axisRect()->height() : this->height());
    double perPixel = std::max((box.right - box.left) / width, (box.top - box.bottom) / height) * 1.3;
    if (!(perPixel > 0.0))
        perPixel = 10.0 / std::min(width, height);
    const double centreR = (box.left + box.right) / 2;
    const double centreX = (box.bottom + box.top) / 2;
    xAxis->setRange(centreR - perPixel * width / 2, centreR + perPixel * width / 2);
    yAxis->setRange(centreX - perPixel * height / 2, centreX + perPixel * height / 2);
    queueReplot();
}

void ImpedanceDiagram::addLocusBulk(Box& box) const
{
    // Without a point at cut 1, where most of the shown samples lie: the 5th to
    // the 95th percentile of R and of X, so that a few wild points do not
    // shrink the rest to a dot.
    QVector<double> resistances;
    QVector<double> reactances;
    for (int loop = 0; loop < faultLoopCount; ++loop) {
        if (!loopCurves[loop]->visible())
            continue;
        for (int sample = shownFirst; sample >= 0 && sample <= shownLast; ++sample) {
            const double r = locus.resistance[loop][sample - locus.firstSample] * factor;
            const double x = locus.reactance[loop][sample - locus.firstSample] * factor;
            if (isFinitePoint(r, x)) {
                resistances.append(r);
                reactances.append(x);
            }
        }
    }
    if (resistances.isEmpty())
        return;
    const auto percentile = [](QVector<double>& values, double share) {
        auto at = values.begin() + int(share * (values.size() - 1));
        std::nth_element(values.begin(), at, values.end());
        return *at;
    };
    box.add(percentile(resistances, 0.05), percentile(reactances, 0.05));
    box.add(percentile(resistances, 0.95), percentile(reactances, 0.95));
}

void ImpedanceDiagram::toggleLoop(QCPAbstractLegendItem* item)
{
    auto* plottableItem = qobject_cast<QCPPlottableLegendItem*>(item);
    if (!plottableItem)
        return;
    QCPAbstractPlottable* plottable = plottableItem->plottable();
    const bool shown = !plottable->visible();
    plottable->setVisible(shown);
    for (int loop = 0; loop < faultLoopCount; ++loop) {
        if (loopCurves[loop] == plottable)
            markCurves[loop]->setVisible(shown);
    }
    item->setTextColor(shown ? Qt::black : Qt::gray);
    queueReplot();
}

bool ImpedanceDiagram::saveImage(const QString& path)
{
    if (QFileInfo(path).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0)
        return savePdf(path);
    return savePng(path);
}

} // namespace VornaLumeto
