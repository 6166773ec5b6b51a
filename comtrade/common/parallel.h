#pragma once

#include <QVector>
#include <QtConcurrent>

#include <numeric>

namespace VornaLumeto {

// Runs work(i) for every i in [0, count) on the thread pool and on this thread,
// and returns when all are done. The jobs must not touch the same data.
template <typename Work>
void forEachInParallel(int count, const Work& work)
{
    QVector<int> jobs(count);
    std::iota(jobs.begin(), jobs.end(), 0);
    QtConcurrent::blockingMap(jobs, [&work](int job) { work(job); });
}

} // namespace VornaLumeto
