// Cost of moving a cut on the largest recording (191 analog + 64 digital
// channels, 65,535 samples), shown fully zoomed out at 1600 x 900.
//
// Each figure is the time from delivering one input to the view until the
// readouts are written and the view is painted again: the event is delivered
// synchronously (QApplication::sendEvent, or the arrow shortcut's activated
// signal, which is what the key press ends in), then view->repaint() paints
// the view and the plot at once, so the layer replot and the composition of
// the plot's buffers onto the widget are both inside the measurement.
// For comparison: a full replot of the same plot, also followed by a repaint.
#include "app/processmemory.h"
#include "app/resourcesinit.h"
#include "comtrade/dialect/dialectreader.h"
#include "recordinggenerator.h"
#include "view/comtraderead.h"

#include <qcustomplot.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QShortcut>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

using VornaLumeto::COMTRADE_read;

namespace {

constexpr int dragSteps = 300;
constexpr int keySteps = 300;
constexpr int fullReplots = 5;

struct Figures {
    double median = 0.0;
    double p95 = 0.0;
};

Figures figuresOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t p95Index = size_t(std::ceil(0.95 * values.size())) - 1;
    return {values[values.size() / 2], values[p95Index]};
}

double millisecondsOf(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

void print(const char* name, double value, const char* unit)
{
    QTextStream(stdout) << name << ": " << QString::number(value, 'f', 2) << ' ' << unit << '\n';
}

void printFigures(const char* kind, const Figures& figures)
{
    print(QByteArray(kind).append("_median").constData(), figures.median, "ms");
    print(QByteArray(kind).append("_p95").constData(), figures.p95, "ms");
}

void settle(COMTRADE_read& view)
{
    QApplication::processEvents();
    while (view.replotTimer.isActive())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    QApplication::processEvents();
}

void sendMouse(COMTRADE_read& view, QEvent::Type type, Qt::MouseButton button,
               Qt::MouseButtons buttons, double x)
{
    const QPointF at(x, view.plot->height() / 2.0);
    QMouseEvent event(type, at, view.plot->mapToGlobal(at.toPoint()), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(view.plot, &event);
}

// Grabs cut 1 at the left edge and drags it step by step across the plot.
std::vector<double> dragCut1(COMTRADE_read& view)
{
    const double left = view.plot->xAxis->coordToPixel(view.cut1Time);
    const double right = view.plot->xAxis->coordToPixel(view.timeAxis.last());
    const double step = (right - left) / (dragSteps + 1);
    sendMouse(view, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, left);
    std::vector<double> times;
    for (int i = 1; i <= dragSteps; ++i) {
        times.push_back(millisecondsOf([&] {
            sendMouse(view, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, left + i * step);
            view.repaint();
        }));
    }
    sendMouse(view, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, right);
    return times;
}

std::vector<double> clickCut1(COMTRADE_read& view)
{
    const double left = view.plot->xAxis->coordToPixel(view.timeAxis.first());
    const double right = view.plot->xAxis->coordToPixel(view.timeAxis.last());
    std::vector<double> times;
    for (int i = 0; i < dragSteps; ++i) {
        // Alternate ends so that no click lands within grab reach of cut 1.
        const double x = (i % 2 == 0) ? left + (right - left) * 0.75 : left + (right - left) * 0.25;
        times.push_back(millisecondsOf([&] {
            sendMouse(view, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, x + i % 7);
            sendMouse(view, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, x + i % 7);
            view.repaint();
        }));
    }
    return times;
}

QShortcut* shortcutFor(COMTRADE_read& view, Qt::Key key)
{
    for (QShortcut* shortcut : view.findChildren<QShortcut*>()) {
        if (shortcut->key() == QKeySequence(key))
            return shortcut;
    }
    return nullptr;
}

std::vector<double> pressArrow(COMTRADE_read& view, Qt::Key key)
{
    QShortcut* shortcut = shortcutFor(view, key);
    std::vector<double> times;
    for (int i = 0; i < keySteps; ++i) {
        times.push_back(millisecondsOf([&] {
            emit shortcut->activated();
            view.repaint();
        }));
    }
    return times;
}

std::vector<double> fullReplot(COMTRADE_read& view)
{
    std::vector<double> times;
    for (int i = 0; i < fullReplots; ++i) {
        times.push_back(millisecondsOf([&] {
            view.plot->replot();
            view.repaint();
        }));
    }
    return times;
}

} // namespace

int main(int argc, char** argv)
{
    VornaLumeto::setUpProcessMemory();  // as the viewer does at start-up
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    VornaLumeto::initResources();

    QTemporaryDir directory;
    LumetoTools::GeneratorOptions options;
    options.analogCount = 191;
    options.digitalCount = 64;
    options.samples = 65535;
    const QString base = directory.filePath(QStringLiteral("largest"));
    if (!LumetoTools::writeRecording(base, options)) {
        QTextStream(stderr) << "cannot write the recording\n";
        return 1;
    }

    COMTRADE_read view(nullptr);
    const QString message = view.load(base + QStringLiteral(".cfg"));
    if (message != VornaLumeto::loadSuccessMessage()) {
        QTextStream(stderr) << message << '\n';
        return 1;
    }
    view.resize(1600, 900);
    view.show();
    settle(view);
    view.plot->replot();
    settle(view);

    int fullReplotsDuringMoves = 0;
    QObject::connect(view.plot, &QCustomPlot::afterReplot, [&] { ++fullReplotsDuringMoves; });
    const std::vector<double> drags = dragCut1(view);
    const std::vector<double> clicks = clickCut1(view);
    view.placeCut(1, view.timeAxis[view.timeAxis.size() / 2]);
    std::vector<double> keys = pressArrow(view, Qt::Key_Right);
    const std::vector<double> left = pressArrow(view, Qt::Key_Left);
    keys.insert(keys.end(), left.begin(), left.end());
    const int replotsDuringMoves = fullReplotsDuringMoves;

    printFigures("cutmove_drag", figuresOf(drags));
    printFigures("cutmove_click", figuresOf(clicks));
    printFigures("cutmove_arrow", figuresOf(keys));
    print("cutmove_full_replots_during_moves", replotsDuringMoves, "count");
    print("full_replot_median", figuresOf(fullReplot(view)).median, "ms");
    return 0;
}
