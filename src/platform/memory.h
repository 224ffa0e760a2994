// memory.h: large pixel buffers about to be written whole.
#pragma once

#include <cstddef>

namespace platform {

// Asks the system for the pages of [p, p + bytes) at once, before every byte of it is written:
// one request instead of a fault on each page, which is most of the cost of a large fresh
// buffer. Small buffers, and systems without the request, are left as they are.
void PrepareForWriting(void* p, size_t bytes);

} // namespace platform
