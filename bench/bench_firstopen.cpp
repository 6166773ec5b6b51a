// The first open as the user feels it: a viewer that has just started opens
// the typical (16 analog + 32 digital channels, 10,000 samples) and the
// largest generated recording (191 analog + 64 digital, 65,535 samples).
//
// Every measurement is a fresh process. With --open, this program sets itself
// up as the viewer's main does (process memory, application, resources, style
// sheet, main window, here 1600 x 900), then times from the tab container's
// openFile to the end of the first paint of the view's plot, which shows the
// recording drawn, and adds up the bytes of data the view then holds. It then
// closes the tab, lets the event loop delete the view as it does for the user,
// and reads its resident memory again. With --floor,
// a process without any of that set-up parses the same data file with
// std::from_chars: the reference that stays the same whatever the viewer's
// set-up does. With --floor-set-up, the same parse in a process whose heap is
// set up as the viewer's is.
//
// Times are CPU time of the process, all its threads, user and system: a first
// open is largely page faults, and CPU time is not stretched by other work on a
// shared machine. Wall-clock medians follow as the _wall lines: the viewer
// builds on every processor, so its wall-clock time is what the user waits.
// Runs of the floor and of the open alternate; the floors stay on the
// processor this program started on, the open may use them all. Each run
// starts a few seconds after the one before ended: on a virtual machine,
// memory another process has just freed is far cheaper to fault in than
// memory that has lain free for a while, and a viewer the user starts finds
// the latter.
#include "benchsupport.h"

#include "app/comtradeview.h"
#include "app/mainwindow.h"
#include "app/processmemory.h"
#include "app/qttranslation.h"
#include "app/resourcesinit.h"
#include "view/comtraderead.h"

#include <qcustomplot.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPaintEvent>
#include <QPointer>
#include <QTemporaryDir>
#include <QThread>
#include <QTranslator>
#include <QTimer>

#include <sys/resource.h>

using namespace LumetoBench;
using VornaLumeto::COMTRADE_read;

namespace {

constexpr int runs = 7;
constexpr int settleMilliseconds = 300;
constexpr int pauseBeforeRunMilliseconds = 3000;

size_t fieldCount(const ViewCase& recordingCase)
{
    return size_t(recordingCase.samples) * size_t(recordingCase.analog + recordingCase.digital + 2);
}

double systemMilliseconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_stime.tv_sec * 1e3 + usage.ru_stime.tv_usec / 1e3;
}

double residentMiB()
{
    return qMax<qint64>(statusKilobytes("VmRSS"), 0) / 1024.0;
}

// Runs the event loop for a while, so that timers fire and pending paints happen.
void runEventLoopFor(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// Ends the loop once the plot of a view has been painted, after the rest of
// the window's paint of that moment is done too.
class FirstPlotPaint : public QObject {
public:
    explicit FirstPlotPaint(QEventLoop& loop) : loop(loop) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!painted && event->type() == QEvent::Paint && isViewPlot(watched)) {
            painted = true;
            QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
        }
        return false;
    }

    bool painted = false;

private:
    static bool isViewPlot(QObject* object)
    {
        for (QObject* ancestor = object->parent(); ancestor; ancestor = ancestor->parent()) {
            if (auto* view = qobject_cast<COMTRADE_read*>(ancestor))
                return view->plot == object;
        }
        return false;
    }

    QEventLoop& loop;
};

struct OpenFigures {
    double cpu = 0.0;
    double system = 0.0;
    double wall = 0.0;
    bool painted = false;
};

// Opens the file as the open command does, from inside the event loop, and
// waits for the first paint of its plot.
OpenFigures openAndPaint(VornaLumeto::comtrade_view& tabs, const QString& path)
{
    QEventLoop loop;
    FirstPlotPaint watch(loop);
    qApp->installEventFilter(&watch);
    OpenFigures figures;
    QElapsedTimer wall;
    double cpuStart = 0.0;
    double systemStart = 0.0;
    QTimer::singleShot(0, &tabs, [&] {
        wall.start();
        cpuStart = cpuMilliseconds();
        systemStart = systemMilliseconds();
        if (!tabs.openFile(path))
            loop.quit();
    });
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    loop.exec();
    figures.wall = wall.nsecsElapsed() / 1e6;
    figures.cpu = cpuMilliseconds() - cpuStart;
    figures.system = systemMilliseconds() - systemStart;
    figures.painted = watch.painted;
    qApp->removeEventFilter(&watch);
    return figures;
}

// Closes the tab as its close button does and waits until the view is gone.
void closeTab(VornaLumeto::comtrade_view& tabs)
{
    QPointer<COMTRADE_read> view = tabs.views.value(0);
    QTimer::singleShot(0, &tabs, [&tabs] { tabs.slot_close_tab(0); });
    QElapsedTimer waited;
    waited.start();
    while (view && waited.elapsed() < 10000)
        runEventLoopFor(20);
    runEventLoopFor(settleMilliseconds);
}

template <typename T>
double vectorBytes(const QVector<T>& vector)
{
    return double(vector.size()) * sizeof(T);
}

template <typename T>
double nestedBytes(const QVector<QVector<T>>& vectors)
{
    double bytes = 0.0;
    for (const QVector<T>& vector : vectors)
        bytes += vectorBytes(vector);
    return bytes;
}

double graphBytes(const QVector<QCPGraph*>& graphs)
{
    double bytes = 0.0;
    for (const QCPGraph* graph : graphs)
        bytes += double(graph->data()->size()) * sizeof(QCPGraphData);
    return bytes;
}

// What the view must hold of a recording: the model, the band-mapped values
// and the graphs' points, as vector sizes times element sizes.
double viewDataMiB(const COMTRADE_read& view)
{
    double bytes = vectorBytes(view.samples);
    for (const VornaLumeto::SampleRow& row : view.samples)
        bytes += vectorBytes(row.analog) + vectorBytes(row.digital);
    bytes += nestedBytes(view.analogValues) + nestedBytes(view.digitalValues) + vectorBytes(view.rawTimeAxis)
             + vectorBytes(view.timeAxis) + nestedBytes(view.channelFrequency)
             + nestedBytes(view.frequencyDeviation);
    bytes += nestedBytes(view.normalizedValues) + nestedBytes(view.digitalLowerValues)
             + nestedBytes(view.digitalUpperValues);
    bytes += graphBytes(view.waveGraphs) + graphBytes(view.frequencyGraphs) + graphBytes(view.digitalLowerGraphs)
             + graphBytes(view.digitalUpperGraphs);
    return bytes / (1024.0 * 1024.0);
}

// The open may use every processor, as the viewer does; the parent keeps the
// floors on the one it runs on.
void useEveryProcessor()
{
#ifdef __linux__
    cpu_set_t set;
    CPU_ZERO(&set);
    for (int processor = 0; processor < CPU_SETSIZE; ++processor)
        CPU_SET(processor, &set);
    sched_setaffinity(0, sizeof set, &set);
#endif
}

// --open path: one first open in this fresh process. Prints the CPU, system
// and wall milliseconds, the peak and the resident MiB before the open and
// after the close, the CPU milliseconds of opening the file again and the
// MiB of data the view holds.
int openInThisProcess(int argc, char** argv)
{
    useEveryProcessor();
    VornaLumeto::setUpProcessMemory();  // exactly as the viewer's main starts
    QApplication application(argc, argv);
    QTranslator qtTranslator;
    VornaLumeto::installQtTranslation(qtTranslator);
    VornaLumeto::initResources();
    VornaLumeto::applyStyleSheet(application);
    VornaLumeto::MainWindow window(0, nullptr);
    window.setMinimumSize(840, 630);
    window.resize(1600, 900);
    window.show();
    runEventLoopFor(settleMilliseconds);

    const QString path = QString::fromLocal8Bit(argv[2]);
    const double before = residentMiB();
    const OpenFigures first = openAndPaint(*window.recordingTabs, path);
    const double peak = peakResidentMiB();
    if (!first.painted)
        return 1;
    const double data = viewDataMiB(*window.recordingTabs->views.first());
    closeTab(*window.recordingTabs);
    const double after = residentMiB();
    const OpenFigures second = openAndPaint(*window.recordingTabs, path);
    if (!second.painted)
        return 1;

    QTextStream(stdout) << first.cpu << ' ' << first.system << ' ' << first.wall << ' ' << peak << ' '
                        << before << ' ' << after << ' ' << second.cpu << ' ' << data << '\n';
    return 0;
}

// --floor or --floor-set-up path fields: the from_chars floor in this fresh
// process, CPU and wall milliseconds.
int floorInThisProcess(char** argv)
{
    if (argv[1] == QByteArrayLiteral("--floor-set-up"))
        VornaLumeto::setUpProcessMemory();
    const QString path = QString::fromLocal8Bit(argv[2]);
    QElapsedTimer wall;
    wall.start();
    const double cpuStart = cpuMilliseconds();
    const std::vector<int> values = parseAllFields(path, std::stoull(argv[3]));
    const double cpu = cpuMilliseconds() - cpuStart;
    const double wallTime = wall.nsecsElapsed() / 1e6;
    QTextStream(stdout) << cpu << ' ' << wallTime << '\n';
    return values.empty() ? 1 : 0;
}

// Runs this program again with the arguments; the numbers it prints, empty when it fails.
QList<double> childFigures(const QString& program, const QStringList& arguments, const QString& directory)
{
    QThread::msleep(pauseBeforeRunMilliseconds);
    QProcess child;
    child.setWorkingDirectory(directory);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(program, arguments);
    return numbersPrintedBy(child);
}

int measure(const ViewCase& recordingCase, const QString& program, const QTemporaryDir& dir)
{
    const QString name = QString::fromLatin1(recordingCase.name);
    const QString base = dir.filePath(name);
    if (!writeCaseRecording(recordingCase, base))
        return 1;
    const QString configuration = base + QStringLiteral(".cfg");
    const QStringList dataArguments = {base + QStringLiteral(".dat"), QString::number(fieldCount(recordingCase))};

    std::vector<double> floorCpu, floorWall, setUpFloorCpu, openCpu, openSystem, openWall, peak, before, after,
        second, data;
    for (int run = 0; run < runs; ++run) {
        const QList<double> floor = childFigures(program, QStringList(QStringLiteral("--floor")) + dataArguments,
                                                 dir.path());
        const QList<double> setUpFloor = childFigures(
            program, QStringList(QStringLiteral("--floor-set-up")) + dataArguments, dir.path());
        const QList<double> open = childFigures(program, {QStringLiteral("--open"), configuration}, dir.path());
        if (floor.size() != 2 || setUpFloor.size() != 2 || open.size() != 8)
            return 1;
        floorCpu.push_back(floor.at(0));
        floorWall.push_back(floor.at(1));
        setUpFloorCpu.push_back(setUpFloor.at(0));
        openCpu.push_back(open.at(0));
        openSystem.push_back(open.at(1));
        openWall.push_back(open.at(2));
        peak.push_back(open.at(3));
        before.push_back(open.at(4));
        after.push_back(open.at(5));
        second.push_back(open.at(6));
        data.push_back(open.at(7));
    }

    const QString prefix = name + QLatin1Char('_');
    print(prefix + QStringLiteral("first_open"), median(openCpu), "ms");
    print(prefix + QStringLiteral("floor"), median(floorCpu), "ms");
    print(prefix + QStringLiteral("first_open_to_floor"), median(openCpu) / median(floorCpu), "x");
    print(prefix + QStringLiteral("first_open_peak_memory"), median(peak), "MiB");
    print(prefix + QStringLiteral("view_data_size"), median(data), "MiB");
    print(prefix + QStringLiteral("first_open_peak_to_data"), median(peak) / median(data), "x");
    print(prefix + QStringLiteral("rss_before_open"), median(before), "MiB");
    print(prefix + QStringLiteral("rss_after_close"), median(after), "MiB");
    print(prefix + QStringLiteral("floor_set_up"), median(setUpFloorCpu), "ms");
    print(prefix + QStringLiteral("first_open_to_floor_set_up"), median(openCpu) / median(setUpFloorCpu), "x");
    print(prefix + QStringLiteral("first_open_system"), median(openSystem), "ms");
    print(prefix + QStringLiteral("first_open_wall"), median(openWall), "ms");
    print(prefix + QStringLiteral("floor_wall"), median(floorWall), "ms");
    print(prefix + QStringLiteral("first_open_wall_to_floor_wall"), median(openWall) / median(floorWall), "x");
    print(prefix + QStringLiteral("second_open"), median(second), "ms");
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 3 && argv[1] == QByteArrayLiteral("--open"))
        return openInThisProcess(argc, argv);
    if (argc == 4 && (argv[1] == QByteArrayLiteral("--floor") || argv[1] == QByteArrayLiteral("--floor-set-up")))
        return floorInThisProcess(argv);

    // No memory set-up here: each child decides for itself, as a viewer started from the desktop does.
    LumetoBench::stayOnThisProcessor();
    QCoreApplication application(argc, argv);
    QTemporaryDir dir;
    for (const ViewCase& recordingCase : viewCases) {
        if (measure(recordingCase, application.applicationFilePath(), dir) != 0)
            return 1;
    }
    return 0;
}
