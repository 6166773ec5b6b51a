#pragma once

// Small helpers shared by the benchmarks: timing, medians and the
// "name: value unit" output lines.

#include "linefaultrecording.h"
#include "recordinggenerator.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QProcess>
#include <QString>
#include <QTextStream>

#ifdef __linux__
#include <sched.h>
#endif

#include <time.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <vector>

namespace LumetoBench {

// Keeps this process, and the processes it starts, on the processor it runs on
// now. The processors of a shared virtual machine can differ in speed by more
// than half, so figures that are compared with each other come from one.
inline void stayOnThisProcessor()
{
#ifdef __linux__
    const int processor = sched_getcpu();
    if (processor < 0)
        return;
    cpu_set_t set;
    CPU_ZERO(&set);
    CPU_SET(processor, &set);
    sched_setaffinity(0, sizeof set, &set);
#endif
}

inline double millisecondsOf(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

inline double percentile95(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[size_t(std::ceil(0.95 * values.size())) - 1];
}

inline void print(const QString& name, double value, const char* unit)
{
    QTextStream(stdout) << name << ": " << QString::number(value, 'f', 2) << ' ' << unit << '\n';
}

// CPU time of this process so far (user and system, so page faults count), in ms.
inline double cpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// A field of /proc/self/status in kilobytes ("VmRSS", "VmHWM"); -1 when unknown.
inline qint64 statusKilobytes(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

// Peak resident memory of this process so far (VmHWM), in MiB.
inline double peakResidentMiB()
{
    return qMax<qint64>(statusKilobytes("VmHWM"), 0) / 1024.0;
}

// The floor of reading a data file: every comma- or line-separated field
// parsed as one integer with std::from_chars, nothing else checked.
inline std::vector<int> parseAllFields(const QString& path, size_t fieldCount)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    std::vector<int> values;
    values.reserve(fieldCount);
    const char* cursor = bytes.constData();
    const char* const end = cursor + bytes.size();
    while (cursor < end) {
        int value = 0;
        cursor = std::from_chars(cursor, end, value).ptr;
        values.push_back(value);
        while (cursor < end && (*cursor == ',' || *cursor == '\r' || *cursor == '\n'))
            ++cursor;
    }
    return values;
}

// The two recordings the view benchmarks open: a typical one and the largest
// the model holds.
struct ViewCase {
    const char* name;
    int analog;
    int digital;
    int samples;
};

inline const ViewCase viewCases[] = {{"typical", 16, 32, 10000}, {"largest", 191, 64, 65535}};

// Writes the generated recording of a case as base.cfg and base.dat.
inline bool writeCaseRecording(const ViewCase& viewCase, const QString& base)
{
    LumetoTools::GeneratorOptions options;
    options.analogCount = viewCase.analog;
    options.digitalCount = viewCase.digital;
    options.samples = viewCase.samples;
    return LumetoTools::writeRecording(base, options);
}

// The fault-analysis case: one line's relay end over 65,535 samples (the most
// the early layout holds), 2,000 samples per second, UA, UB, UC, IA, IB, IC and
// 3I0 with noise. A phase-to-ground fault with a decaying offset becomes a
// two-phase-to-ground one and is cleared near the end, so that almost every
// sample has a loop impedance to draw. Written as base.cfg and base.dat.
inline bool writeLineFaultCase(const QString& base)
{
    LumetoTools::LineFaultOptions options;
    options.fault = {LumetoTools::FaultKind::AG, 0.6, 5.0};
    options.laterKind = LumetoTools::FaultKind::ABG;
    options.laterMs = 16000.0;
    options.system.loadAngle = 10.0;
    options.sampleRate = 2000;
    options.durationMs = 32767.5;
    options.inceptionMs = 100.0;
    options.clearingMs = 32000.0;
    options.dcTimeConstantMs = 40.0;
    options.noise = 0.001;
    return LumetoTools::writeRecording(base, LumetoTools::generateLineFaultRecording(options));
}

// Waits for a started child process and returns the numbers it printed;
// empty when it failed.
inline QList<double> numbersPrintedBy(QProcess& child)
{
    child.waitForFinished(-1);
    QList<double> numbers;
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        return numbers;
    for (const QByteArray& text : child.readAllStandardOutput().simplified().split(' '))
        numbers.append(text.toDouble());
    return numbers;
}

} // namespace LumetoBench
