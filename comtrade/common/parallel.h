#pragma once

#include <QThreadPool>

#include <condition_variable>
#include <memory>
#include <mutex>

namespace VornaLumeto {

// The jobs of one forEachInParallel, taken one at a time by whichever thread
// is free. Helpers that start after every job is taken take none, so the
// caller waits only for jobs that some thread has really begun.
class ParallelJobs {
public:
    explicit ParallelJobs(int count) : count(count) {}

    // The next job to run, or -1 when every job is taken.
    int take();
    // A taken job has ended (also by an exception).
    void finish();
    // No job is taken any more.
    void stopTaking();
    // Returns when no job is taken any more and every taken job has ended.
    void waitUntilFinished();

private:
    const int count;
    int next = 0;
    int running = 0;
    std::mutex mutex;
    std::condition_variable allEnded;
};

// Runs (*work)(job) on the jobs taken from jobs until none is left; work is
// reached only for a job taken, so a helper that starts late never reaches it.
template <typename Work>
void runJobs(ParallelJobs& jobs, const Work* work)
{
    for (int job = jobs.take(); job >= 0; job = jobs.take()) {
        struct Finish {
            ParallelJobs& jobs;
            ~Finish() { jobs.finish(); }
        } finish{jobs};
        (*work)(job);
    }
}

// Runs work(i) for every i in [0, count) on this thread and on free threads of
// the thread pool at once, and returns when all are done. The jobs must not
// touch the same data. Safe on any thread, a pool thread included: this
// thread takes jobs itself and never waits for help that has not started (a
// pool whose threads all wait so would wait for ever).
template <typename Work>
void forEachInParallel(int count, const Work& work)
{
    if (count <= 0)
        return;
    const auto jobs = std::make_shared<ParallelJobs>(count);
    QThreadPool* const pool = QThreadPool::globalInstance();
    const int helpers = qMin(count, pool->maxThreadCount()) - 1;
    const Work* const shared = &work;
    for (int h = 0; h < helpers; ++h)
        pool->start([jobs, shared] { runJobs(*jobs, shared); });
    try {
        runJobs(*jobs, shared);
    } catch (...) {
        jobs->stopTaking();
        jobs->waitUntilFinished();
        throw;
    }
    jobs->waitUntilFinished();
}

} // namespace VornaLumeto
