#include "app/processmemory.h"

#include <cstdlib>  // defines __GLIBC__ on glibc systems

#if defined(__GLIBC__) && defined(__linux__)
#include <malloc.h>
#include <unistd.h>

#include <cstring>
#include <string>
#endif

namespace VornaLumeto {
namespace {

#if defined(__GLIBC__) && defined(__linux__)
constexpr char tunablesVariable[] = "GLIBC_TUNABLES";
constexpr char hugePageTunable[] = "glibc.malloc.hugetlb";

void restartWithHugePageHeap(char** argv)
{
    const char* const tunables = std::getenv(tunablesVariable);
    if (tunables && std::strstr(tunables, hugePageTunable))
        return;
    const std::string previous = tunables ? tunables : "";
    const std::string setting = std::string(hugePageTunable) + "=1";
    const std::string value = previous.empty() ? setting : previous + ':' + setting;
    if (setenv(tunablesVariable, value.c_str(), 1) != 0)
        return;
    execv("/proc/self/exe", argv);
    // Still here: the restart failed, so go on with the heap as it is.
    if (tunables)
        setenv(tunablesVariable, previous.c_str(), 1);
    else
        unsetenv(tunablesVariable);
}

void keepChannelBlocksOnTheHeap()
{
    // Channel vectors of up to a few megabytes would otherwise get mappings of
    // their own, too small for a huge page, each faulted in 4 KB at a time.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);  // the largest value glibc accepts
}
#endif

} // namespace

void setUpProcessMemory(char** argv)
{
#if defined(__GLIBC__) && defined(__linux__)
    restartWithHugePageHeap(argv);
    keepChannelBlocksOnTheHeap();
#else
    (void)argv;
#endif
}

void releaseFreedMemory()
{
#if defined(__GLIBC__) && defined(__linux__)
    malloc_trim(0);
#endif
}

} // namespace VornaLumeto
