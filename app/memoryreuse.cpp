#include "app/memoryreuse.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace VornaLumeto {

void keepFreedMemoryForReuse()
{
#if defined(__GLIBC__)
    // Channel vectors of up to a few megabytes come from the heap, not from
    // their own mappings, and the heap is not trimmed after a tab closes.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);  // the largest value glibc accepts
    mallopt(M_TRIM_THRESHOLD, 1024 * 1024 * 1024);
#endif
}

} // namespace VornaLumeto
