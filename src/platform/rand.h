// rand.h: the program's one pseudo-random generator, the classic runtime-library LCG.
#pragma once

#include <cstdint>

namespace platform {

// Next value, 0 to 32767: state = state * 214013 + 2531011, result = bits 16..30.
int Rand();
// Restarts the sequence; before any call the state is 1.
void SeedRand(uint32_t seed);

} // namespace platform
