// memory.cpp: large pixel buffers about to be written whole.
#include "platform/memory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace platform {

void PrepareForWriting(void* p, size_t bytes) {
#ifdef MADV_POPULATE_WRITE
    if (!p || bytes < (size_t{1} << 20)) return;
    const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto begin = (reinterpret_cast<uintptr_t>(p) + page - 1) & ~(page - 1);
    const auto end = (reinterpret_cast<uintptr_t>(p) + bytes) & ~(page - 1);
    // Only the whole pages inside; a refusal (an older kernel) costs nothing but the call.
    if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#else
    (void)p;
    (void)bytes;
#endif
}

} // namespace platform
