#include "comtrade/common/parallel.h"

namespace VornaLumeto {

int ParallelJobs::take()
{
    const std::lock_guard<std::mutex> lock(mutex);
    if (next >= count)
        return -1;
    ++running;
    return next++;
}

void ParallelJobs::finish()
{
    const std::lock_guard<std::mutex> lock(mutex);
    if (--running == 0 && next >= count)
        allEnded.notify_all();
}

void ParallelJobs::stopTaking()
{
    const std::lock_guard<std::mutex> lock(mutex);
    next = count;
}

void ParallelJobs::waitUntilFinished()
{
    std::unique_lock<std::mutex> lock(mutex);
    allEnded.wait(lock, [this] { return next >= count && running == 0; });
}

} // namespace VornaLumeto
