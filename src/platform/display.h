// display.h: the size of the display the game covers, and the scale on larger screens.
#pragma once

#include "platform/geometry.h"

#include <cstdint>

namespace platform {

// A scale kept as an exact fraction, so that 1080 / (1080 / 600) is 600 and not 599.99.
struct Scale {
    int64_t num = 1;
    int64_t den = 1;
    double Value() const { return static_cast<double>(num) / static_cast<double>(den); }
    bool IsOne() const { return num == den; }
    // Physical to logical, rounded down (mouse positions, the display size).
    int32_t ToLogical(int32_t physical) const;
    // The first physical pixel that lies at or beyond logical `v`, i.e. ceil(v * s).
    int32_t FirstPhysical(int32_t v) const;
    // floor(v * s).
    int32_t FloorPhysical(int32_t v) const;
    friend bool operator==(const Scale&, const Scale&) = default;
};

// Where the logical display lands in the window: physical = offset + (logical - anchor) x
// scale. Covering the display, offset and anchor are (0, 0); in a window of its own the play
// area's corner (anchor) sits at `offset`, so that the play area is centred in it.
struct Placement {
    Scale scale;
    Point offset;
    Point anchor;
    // The logical pixel that shows physical pixel `p` (rounded down, also outside).
    Point ToLogical(Point p) const;
    // The first physical pixel at or beyond logical point `v`.
    Point ToPhysical(Point v) const;
    // The physical pixels that show logical `r`, partly or wholly.
    Rect ToPhysical(const Rect& r) const;
    friend bool operator==(const Placement&, const Placement&) = default;
};

// The play area in logical pixels: what the display, or a window, is scaled to fit.
inline constexpr Size kPlayAreaSize{800, 600};

// min(width / 800, height / 600) as a fraction: the scale at which the play area fills a
// window of `size` (below 1 for a smaller one).
Scale FitScale(Size size);

// The physical size of the primary display (or the one the services in force give).
Size PhysicalDisplaySize();
// Where the primary display starts on the desktop (0, 0 for a display the services give).
Point PhysicalDisplayOrigin();
// s = min(width / 800, height / 600), at least 1; RANQUA_SCALE (a number from 1 to 16, such as
// "1.5") overrides it where the play area still fits. Either kind of value it cannot take is
// said once on stderr.
Scale DisplayScale(Size physical);
// The display as the game sees it: the physical size divided by the scale, rounded down.
Size DisplaySize();

// Pictures are composed at a whole-number art scale: the smallest of 1, 2, 3 that is at
// least s, else 3.
int ArtScaleFor(const Scale& s);

} // namespace platform
