#include "app/processmemory.h"

#include <cstdlib>  // defines __GLIBC__ on glibc systems
#include <limits>

#if defined(__GLIBC__) && defined(__linux__)
#include <malloc.h>
#endif

namespace VornaLumeto {

void setUpProcessMemory()
{
#if defined(__GLIBC__) && defined(__linux__)
    // Channel vectors of up to a few megabytes would otherwise get mappings of
    // their own, each given back when freed and faulted in 4 KB at a time when
    // the next one is made.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);  // the largest value glibc accepts
#endif
}

void keepFreedMemory()
{
#if defined(__GLIBC__) && defined(__linux__)
    mallopt(M_TRIM_THRESHOLD, std::numeric_limits<int>::max());
#endif
}

void releaseFreedMemory()
{
#if defined(__GLIBC__) && defined(__linux__)
    malloc_trim(0);
#endif
}

} // namespace VornaLumeto
