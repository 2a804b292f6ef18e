#pragma once

namespace tarnel {

// Gives memory freed on other threads, into their own arenas, back to the
// system where the C library can (glibc); elsewhere it does nothing.
void releaseFreedMemory();

} // namespace tarnel
