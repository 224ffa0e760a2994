// memory.cpp: large pixel buffers about to be written whole.
#include "platform/memory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace platform {

namespace {

constexpr size_t kSmall = size_t{1} << 20;

// madvise() on the whole `unit`-aligned units inside [p, p + bytes); a refusal (an older
// kernel, large pages switched off) costs nothing but the call.
void Advise(void* p, size_t bytes, uintptr_t unit, int advice) {
    if (!p || bytes < kSmall) return;
    const auto begin = (reinterpret_cast<uintptr_t>(p) + unit - 1) & ~(unit - 1);
    const auto end = (reinterpret_cast<uintptr_t>(p) + bytes) & ~(unit - 1);
    if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, advice);
}

} // namespace

void PreferLargePages(void* p, size_t bytes) {
#ifdef MADV_HUGEPAGE
    Advise(p, bytes, uintptr_t{2} << 20, MADV_HUGEPAGE);
#else
    (void)p;
    (void)bytes;
#endif
}

void PrepareForWriting(void* p, size_t bytes) {
#ifdef MADV_POPULATE_WRITE
    Advise(p, bytes, static_cast<uintptr_t>(sysconf(_SC_PAGESIZE)), MADV_POPULATE_WRITE);
#else
    (void)p;
    (void)bytes;
#endif
}

} // namespace platform
