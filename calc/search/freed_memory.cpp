#include "search/freed_memory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace tarnel {

void releaseFreedMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

} // namespace tarnel
