// present.h: what the window's present needs beyond plain copies.
#pragma once

#include "platform/display.h"
#include "platform/geometry.h"
#include "platform/surface.h"

#include <cstdint>
#include <string>

namespace platform {

// Fills the physical rectangle `p` of the window (its pixels at `out`, x8r8g8b8, `pitch`
// bytes a row) with `surface`, whose top-left pixel is the logical point `origin`, resampled
// bilinearly as `placement` shows it. Where the window shows the surface at less than half
// its art scale (a small window), whole blocks of pixels are averaged first, so that thin
// lines and text do not break up. Every physical pixel depends only on where it is, never on
// `p`: neighbouring presents meet seamlessly.
void ResampleTo(const Surface& surface, Point origin, const Placement& placement, const Rect& p,
                uint32_t* out, int pitch);

// The id of a TrueColor visual of the X display with 8 bits a channel (24 bits deep, else 32
// with alpha, which the present fills opaque), in decimal; empty when there is none or the
// display is not X.
std::string EightBitVisual();

} // namespace platform
