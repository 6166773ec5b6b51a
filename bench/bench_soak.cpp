// Memory with the tab container full: fifty typical generated recordings
// (6 analog and 4 digital channels, 2000 samples at 1 kHz, each with its own
// noise) opened into tabs on the offscreen platform.
//
// The peak is VmHWM after the fiftieth tab is shown and replotted; the figure
// for the tabs alone subtracts the peak before the first was opened. The open
// time is the median over the fifty openFile calls (load and display build).
#include "benchsupport.h"

#include "app/comtradeview.h"
#include "app/processmemory.h"
#include "app/resourcesinit.h"
#include "recordinggenerator.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTabWidget>
#include <QTemporaryDir>

namespace {

// Runs the event loop for a while, so replot timers fire and tabs get painted.
void processEventsFor(int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, milliseconds);
}

} // namespace

int main(int argc, char** argv)
{
    VornaLumeto::setUpProcessMemory();  // as the viewer does at start-up
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    VornaLumeto::initResources();

    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    QDir().mkpath(QStringLiteral("files/lumeto"));
    QStringList paths;
    for (int i = 0; i < VornaLumeto::comtrade_view::maximumOpenRecordings; ++i) {
        LumetoTools::GeneratorOptions options;
        options.seed = unsigned(i + 1);
        const QString base = dir.filePath(QStringLiteral("recording%1").arg(i));
        if (!LumetoTools::writeRecording(base, options))
            return 1;
        paths << base + QStringLiteral(".cfg");
    }

    VornaLumeto::comtrade_view tabs(nullptr);
    tabs.resize(1280, 900);
    tabs.show();
    processEventsFor(150);
    const double peakBefore = LumetoBench::peakResidentMiB();

    std::vector<double> openTimes;
    for (const QString& path : qAsConst(paths)) {
        openTimes.push_back(LumetoBench::millisecondsOf([&] { tabs.openFile(path); }));
        processEventsFor(120);  // the new tab's replot timer fires and it is painted
    }
    if (tabs.tabWidget->count() != paths.size())
        return 1;
    const double peakOpen = LumetoBench::peakResidentMiB();

    LumetoBench::print(QStringLiteral("soak_open_one_tab"), LumetoBench::median(openTimes), "ms");
    LumetoBench::print(QStringLiteral("soak_peak_memory_50_tabs"), peakOpen, "MiB");
    LumetoBench::print(QStringLiteral("soak_memory_of_50_tabs"), peakOpen - peakBefore, "MiB");

    tabs.closeAllTabs();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
