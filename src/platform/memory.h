// memory.h: large pixel buffers about to be written whole.
#pragma once

#include <cstddef>

namespace platform {

// Asks for large pages (2 MB on x86-64) for a fresh buffer not yet written: one page fault
// then serves 512 small pages' worth, and on a virtual machine each fault costs about as much
// as writing its page. Small buffers, and systems that cannot, are left as they are.
void PreferLargePages(void* p, size_t bytes);

// Asks the system for the pages of [p, p + bytes) at once, before every byte of it is written:
// one request instead of a fault on each page, which is most of the cost of a large fresh
// buffer. Small buffers, and systems without the request, are left as they are.
void PrepareForWriting(void* p, size_t bytes);

} // namespace platform
