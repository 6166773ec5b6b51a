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
// Then the same moves with the fault-analysis window open beside the view
// (1280 x 820, the recording's first three-phase set): each figure also holds
// the window's tables and R-X diagram brought up to date, the queued events of
// the move processed and the window painted. Once with cut 2 not placed (the
// diagram shows the whole recording and only its marks move), once with cut 2
// on the last sample (every move changes the shown part of the locus). The
// largest recording's feeders are open most of the time, so their locus is
// short; the fault-analysis case of benchsupport.h (a line, 65,535 samples, a
// loop impedance at almost every one) is measured the same way ("_line").
#include "app/processmemory.h"
#include "app/resourcesinit.h"
#include "benchsupport.h"
#include "comtrade/dialect/dialectreader.h"
#include "recordinggenerator.h"
#include "view/comtraderead.h"
#include "view/faultanalysiswindow.h"

#include <qcustomplot.h>

#include <QApplication>
#include <QShortcut>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>

#include <functional>
#include <vector>

using VornaLumeto::COMTRADE_read;
using VornaLumeto::FaultAnalysisWindow;
using LumetoBench::millisecondsOf;
using LumetoBench::print;

namespace {

constexpr int dragSteps = 300;
constexpr int keySteps = 300;
constexpr int fullReplots = 5;

struct Figures {
    double median = 0.0;
    double p95 = 0.0;
};

Figures figuresOf(const std::vector<double>& values)
{
    return {LumetoBench::median(values), LumetoBench::percentile95(values)};
}

void printFigures(const QByteArray& kind, const Figures& figures)
{
    print(QString::fromLatin1(kind + "_median"), figures.median, "ms");
    print(QString::fromLatin1(kind + "_p95"), figures.p95, "ms");
}

// What a move costs beyond the view's own work: nothing, or the analysis window brought up to date.
std::function<void()> alsoAfterMove = [] {};

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
            alsoAfterMove();
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
            alsoAfterMove();
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
            alsoAfterMove();
        }));
    }
    return times;
}

// Right, then Left, as many times each.
std::vector<double> pressArrows(COMTRADE_read& view)
{
    std::vector<double> times = pressArrow(view, Qt::Key_Right);
    const std::vector<double> left = pressArrow(view, Qt::Key_Left);
    times.insert(times.end(), left.begin(), left.end());
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

// Drags, clicks and arrows with the view's analysis window open: cut 2 not
// placed, then the drags and arrows again with cut 2 on the last sample.
void measureWithWindow(COMTRADE_read& view, const QByteArray& prefix)
{
    FaultAnalysisWindow* window = FaultAnalysisWindow::showFor(&view);
    window->resize(1280, 820);
    settle(view);
    alsoAfterMove = [window] {
        QApplication::processEvents();
        window->repaint();
    };
    view.placeCut(1, view.timeAxis.first());
    printFigures(prefix + "_drag", figuresOf(dragCut1(view)));
    printFigures(prefix + "_click", figuresOf(clickCut1(view)));
    view.placeCut(1, view.timeAxis[view.timeAxis.size() / 2]);
    printFigures(prefix + "_arrow", figuresOf(pressArrows(view)));

    view.placeCut(2, view.timeAxis.last());
    view.placeCut(1, view.timeAxis.first());
    view.updateReadouts();
    settle(view);
    printFigures(prefix + "_cut2_drag", figuresOf(dragCut1(view)));
    view.placeCut(1, view.timeAxis[view.timeAxis.size() / 2]);
    printFigures(prefix + "_cut2_arrow", figuresOf(pressArrows(view)));
    alsoAfterMove = [] {};
    window->close();
}

} // namespace

int main(int argc, char** argv)
{
    VornaLumeto::setUpProcessMemory();  // as the viewer does at start-up
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    VornaLumeto::initResources();
    // The window's sets come from the finder, not from what a user stored.
    QStandardPaths::setTestModeEnabled(true);

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
    const std::vector<double> keys = pressArrows(view);
    const int replotsDuringMoves = fullReplotsDuringMoves;

    printFigures("cutmove_drag", figuresOf(drags));
    printFigures("cutmove_click", figuresOf(clicks));
    printFigures("cutmove_arrow", figuresOf(keys));
    print(QStringLiteral("cutmove_full_replots_during_moves"), replotsDuringMoves, "count");
    print(QStringLiteral("full_replot_median"), figuresOf(fullReplot(view)).median, "ms");

    measureWithWindow(view, "cutmove_window");

    const QString line = directory.filePath(QStringLiteral("line"));
    COMTRADE_read lineView(nullptr);
    if (!LumetoBench::writeLineFaultCase(line)
        || lineView.load(line + QStringLiteral(".cfg")) != VornaLumeto::loadSuccessMessage()) {
        QTextStream(stderr) << "cannot write or read the line-fault recording\n";
        return 1;
    }
    lineView.resize(1600, 900);
    lineView.show();
    settle(lineView);
    measureWithWindow(lineView, "cutmove_window_line");
    return 0;
}
