#include "comtrade/common/exactsize.h"

#ifdef __linux__
#include <sys/mman.h>
#include <unistd.h>
#endif

#include <cstdint>

namespace VornaLumeto {
namespace {

// Below this the call costs more than the faults it saves.
constexpr std::size_t smallestPrefault = 16 * 1024;

} // namespace

void prefaultMemory(void* begin, std::size_t bytes)
{
#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
    if (bytes < smallestPrefault)
        return;
    static const std::uintptr_t pageSize = std::uintptr_t(sysconf(_SC_PAGESIZE));
    // Only the pages that lie wholly inside the block: its neighbours are someone else's.
    const std::uintptr_t first = (std::uintptr_t(begin) + pageSize - 1) & ~(pageSize - 1);
    const std::uintptr_t end = (std::uintptr_t(begin) + bytes) & ~(pageSize - 1);
    if (end > first)
        madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE);  // a kernel without it says no
#else
    (void)begin;
    (void)bytes;
#endif
}

} // namespace VornaLumeto
