#include "search/freed_memory.h"

// Any C library header defines __GLIBC__ where glibc is the library; without
// one it is not yet defined below, and nothing would be given back.
#include <cstdlib>

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
