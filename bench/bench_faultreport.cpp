// Fault reports from the command line, each run a fresh process of the real
// program: `lumeto --fault-report` against the reading alone of the same file
// (this program started again with --read: readRecording as the report reads,
// nothing else), the two in turn.
//
// Cases: the largest generated recording (191 analog + 64 digital channels,
// 65,535 samples; its 24 feeders are 24 three-phase sets, each with a fault
// seen) and a line fault of 65,535 samples at 4 kHz (one set, seven channels:
// little to read, the whole analysis to do); then 20 generated line faults of
// every kind named in one run, where the figure is the CPU time over the wall
// time of the process: how busy it keeps the processors. The start of the
// process (mostly loading the viewer's shared libraries, some 10 ms) runs on
// one processor whatever follows, so the batch is measured twice: with
// recordings of 2 s, where it weighs, and of 10 s at 4 kHz; and the start
// alone (the median of runs of --version) is taken off both times for the
// _after_start figure: how busy the processors are while the reports are made.
//
// CPU time is user and system time from the child's own rusage (wait4);
// wall time runs from the start of the child to its end. Nothing is kept on
// one processor: the report is meant to use them all. Each figure is the median
// of several runs, each started a little after the one before ended, so that
// it finds memory that has lain free as a program the user starts does. The
// last line says how many processors other programs kept busy meanwhile (from
// /proc/stat): figures taken beside other work are worth repeating.
#include "benchsupport.h"

#include "app/processmemory.h"
#include "comtrade/recordingreader.h"
#include "linefaultrecording.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QThread>

#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <vector>

extern char** environ;

using namespace LumetoBench;

namespace {

constexpr int runs = 7;
constexpr int pauseBeforeRunMilliseconds = 1000;
constexpr int batchSize = 20;
constexpr int batchRate = 4000;  // samples per second
constexpr double batchDurationsMs[] = {2000.0, 10000.0};
constexpr int longFaultSamples = 65535;

struct ChildFigures {
    double cpu = 0.0;   // ms, user and system
    double wall = 0.0;  // ms
    bool ok = false;
};

double milliseconds(const timeval& time)
{
    return time.tv_sec * 1e3 + time.tv_usec / 1e3;
}

// CPU time every processor has spent outside idle so far, in ms.
double machineBusyMilliseconds()
{
    QFile stat(QStringLiteral("/proc/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return 0.0;
    const QList<QByteArray> fields = stat.readLine().simplified().split(' ');
    double busy = 0.0;
    for (int f = 1; f < fields.size(); ++f) {
        if (f != 4 && f != 5)  // idle and iowait
            busy += fields.at(f).toDouble();
    }
    return busy * 1000.0 / sysconf(_SC_CLK_TCK);
}

// CPU time other programs took while the children ran, and the children's wall time.
double othersMilliseconds = 0.0;
double childrenWallMilliseconds = 0.0;

// Runs the program with its standard output thrown away and waits for it.
ChildFigures runChild(const QString& program, const QStringList& arguments)
{
    QThread::msleep(pauseBeforeRunMilliseconds);
    std::vector<QByteArray> words{QFile::encodeName(program)};
    for (const QString& argument : arguments)
        words.push_back(QFile::encodeName(argument));
    std::vector<char*> argv;
    for (QByteArray& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    ChildFigures figures;
    const double machineBefore = machineBusyMilliseconds();
    QElapsedTimer wall;
    wall.start();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv.front(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return figures;
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child)
        return figures;
    figures.wall = wall.nsecsElapsed() / 1e6;
    figures.cpu = milliseconds(usage.ru_utime) + milliseconds(usage.ru_stime);
    figures.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    othersMilliseconds += std::max(0.0, machineBusyMilliseconds() - machineBefore - figures.cpu);
    childrenWallMilliseconds += figures.wall;
    return figures;
}

// --read path: the reading alone, in this fresh process set up as the program's main sets it up.
int readInThisProcess(int argc, char** argv)
{
    VornaLumeto::setUpProcessMemory();
    QCoreApplication application(argc, argv);
    const QString path = QString::fromLocal8Bit(argv[2]);
    return VornaLumeto::readRecording(path, VornaLumeto::StandardReading::WhenRefused).ok() ? 0 : 1;
}

struct Medians {
    double cpu = 0.0;
    double wall = 0.0;
};

Medians mediansOf(const std::vector<ChildFigures>& figures)
{
    std::vector<double> cpu, wall;
    for (const ChildFigures& run : figures) {
        cpu.push_back(run.cpu);
        wall.push_back(run.wall);
    }
    return {median(cpu), median(wall)};
}

// The report of one recording against its reading, in turn.
bool measureAgainstReading(const QString& name, const QString& path, const QString& self, const QString& lumeto)
{
    std::vector<ChildFigures> reading, reporting;
    for (int run = 0; run < runs; ++run) {
        reading.push_back(runChild(self, {QStringLiteral("--read"), path}));
        reporting.push_back(runChild(lumeto, {QStringLiteral("--fault-report"), path}));
        if (!reading.back().ok || !reporting.back().ok)
            return false;
    }
    const Medians read = mediansOf(reading);
    const Medians report = mediansOf(reporting);
    const QString prefix = name + QLatin1Char('_');
    print(prefix + QStringLiteral("read"), read.cpu, "ms");
    print(prefix + QStringLiteral("fault_report"), report.cpu, "ms");
    print(prefix + QStringLiteral("fault_report_to_read"), report.cpu / read.cpu, "x");
    print(prefix + QStringLiteral("read_wall"), read.wall, "ms");
    print(prefix + QStringLiteral("fault_report_wall"), report.wall, "ms");
    print(prefix + QStringLiteral("fault_report_wall_to_read_wall"), report.wall / read.wall, "x");
    return true;
}

LumetoTools::LineFaultOptions lineFault(int index, double durationMs)
{
    LumetoTools::LineFaultOptions options;
    options.fault = {LumetoTools::FaultKind(index % LumetoTools::faultKindCount), 0.1 + 0.04 * index, 2.0 * (index % 5)};
    options.system.loadAngle = index % 2 == 0 ? 10.0 : -10.0;
    options.sampleRate = batchRate;
    options.durationMs = durationMs;
    options.inceptionMs = 500.0;
    options.clearingMs = 580.0;
    options.dcTimeConstantMs = 30.0;
    options.noise = 0.001;
    options.seed = unsigned(index + 1);
    return options;
}

const LumetoTools::RecordingForm lineFaultForm{1999, LumetoTools::DataFormat::Binary};

// The start of the program alone: --version, which starts as a report does.
Medians startOf(const QString& lumeto)
{
    std::vector<ChildFigures> starts;
    for (int run = 0; run < runs; ++run)
        starts.push_back(runChild(lumeto, {QStringLiteral("--version")}));
    return mediansOf(starts);
}

bool measureBatch(const QString& lumeto, const QTemporaryDir& dir, double durationMs, const Medians& start)
{
    const QString name = QStringLiteral("batch20_%1s_").arg(durationMs / 1000.0);
    QStringList arguments{QStringLiteral("--fault-report"), QStringLiteral("--line"),
                          QStringLiteral("0.1,0.4,0.3,1.2,100")};
    for (int r = 0; r < batchSize; ++r) {
        const QString base = dir.filePath(name + QString::number(r));
        if (!LumetoTools::writeRecording(base, LumetoTools::generateLineFaultRecording(lineFault(r, durationMs)),
                                         lineFaultForm))
            return false;
        arguments.append(LumetoTools::recordingPath(base, lineFaultForm));
    }
    std::vector<ChildFigures> figures;
    std::vector<double> busy, busyAfterStart;
    for (int run = 0; run < runs; ++run) {
        const ChildFigures batch = runChild(lumeto, arguments);
        if (!batch.ok)
            return false;
        figures.push_back(batch);
        busy.push_back(batch.cpu / batch.wall);
        busyAfterStart.push_back((batch.cpu - start.cpu) / (batch.wall - start.wall));
    }
    const Medians batch = mediansOf(figures);
    print(name + QStringLiteral("fault_report"), batch.cpu, "ms");
    print(name + QStringLiteral("fault_report_wall"), batch.wall, "ms");
    print(name + QStringLiteral("cpu_to_wall"), median(busy), "x");
    print(name + QStringLiteral("cpu_to_wall_after_start"), median(busyAfterStart), "x");
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc == 3 && argv[1] == QByteArrayLiteral("--read"))
        return readInThisProcess(argc, argv);

    QCoreApplication application(argc, argv);
    const QString self = application.applicationFilePath();
    const QString lumeto = QStringLiteral(LUMETO_EXECUTABLE);
    QTemporaryDir dir;

    const ViewCase& largest = viewCases[1];
    const QString largestBase = dir.filePath(QStringLiteral("largest"));
    if (!writeCaseRecording(largest, largestBase)
        || !measureAgainstReading(QStringLiteral("largest"), largestBase + QStringLiteral(".cfg"), self, lumeto))
        return 1;

    LumetoTools::LineFaultOptions longFault = lineFault(1, longFaultSamples * 1000.0 / batchRate);
    longFault.inceptionMs = 8000.0;
    longFault.clearingMs = 8080.0;
    const QString longBase = dir.filePath(QStringLiteral("long"));
    if (!LumetoTools::writeRecording(longBase, LumetoTools::generateLineFaultRecording(longFault), lineFaultForm)
        || !measureAgainstReading(QStringLiteral("line_fault_65535"),
                                  LumetoTools::recordingPath(longBase, lineFaultForm), self, lumeto))
        return 1;

    const Medians start = startOf(lumeto);
    print(QStringLiteral("start"), start.cpu, "ms");
    print(QStringLiteral("start_wall"), start.wall, "ms");
    for (const double durationMs : batchDurationsMs) {
        if (!measureBatch(lumeto, dir, durationMs, start))
            return 1;
    }
    print(QStringLiteral("others_busy_meanwhile"), othersMilliseconds / childrenWallMilliseconds, "processors");
    return 0;
}
