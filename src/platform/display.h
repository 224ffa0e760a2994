// display.h: the size of the display the game covers, and the pixel scale on large screens.
#pragma once

#include "platform/geometry.h"

#include <optional>

namespace platform {

// The physical size of the primary display (or the override).
Size PhysicalDisplaySize();
// Whole-number scale k: the largest k with 800k <= width and 600k <= height, at least 1;
// RANQUA_SCALE (a whole number >= 1) overrides it.
int DisplayScale(Size physical);
// The display as the game sees it: the physical size divided by the scale, rounded down.
Size DisplaySize();

// Tests pretend to have another display.
void SetDisplaySizeOverride(std::optional<Size> size);

} // namespace platform
