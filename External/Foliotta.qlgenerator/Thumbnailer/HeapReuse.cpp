#include "HeapReuse.h"

#include <malloc.h>

void ReuseFreedMemory()
{
    constexpr int kLargestHeapBlock = 32 << 20;  // glibc's upper bound for the mapping threshold
    mallopt(M_MMAP_THRESHOLD, kLargestHeapBlock);
    mallopt(M_TRIM_THRESHOLD, kLargestHeapBlock);
}
