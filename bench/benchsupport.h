#pragma once

// Small helpers shared by the benchmarks: timing, medians and the
// "name: value unit" output lines.

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <QTextStream>

#ifdef __linux__
#include <sched.h>
#endif

#include <algorithm>
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

// Peak resident memory of this process so far (VmHWM), in MiB.
inline double peakResidentMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0.0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0.0;
}

} // namespace LumetoBench
