// display.cpp: display size from SDL, and the scale for larger screens.
#include "platform/display.h"

#include "platform/services.h"

#include <SDL.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <string>

namespace platform {

namespace {

int64_t FloorDiv(int64_t a, int64_t b) {
    const int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// "1", "1.5", "2.25": a decimal number read exactly as a fraction; nullopt when it is not one
// or is below 1. Up to 4 decimals, up to 16: beyond that no display is served by it.
[[nodiscard]] std::optional<Scale> ParseScale(const char* text) {
    int64_t whole = 0, frac = 0, den = 1;
    const char* p = text;
    if (*p < '0' || *p > '9') return std::nullopt;
    for (; *p >= '0' && *p <= '9'; ++p) {
        whole = whole * 10 + (*p - '0');
        if (whole > 16) return std::nullopt;
    }
    if (*p == '.') {
        ++p;
        if (*p < '0' || *p > '9') return std::nullopt;
        for (; *p >= '0' && *p <= '9'; ++p) {
            if (den >= 10000) return std::nullopt;
            frac = frac * 10 + (*p - '0');
            den *= 10;
        }
    }
    if (*p != '\0') return std::nullopt;
    const Scale s{whole * den + frac, den};
    if (s.num < s.den || s.num > 16 * s.den) return std::nullopt;
    return s;
}

// The scale is asked for more than once at start-up; what it says about RANQUA_SCALE is said
// once.
void SayOnce(const std::string& line) {
    static std::mutex saying;
    static std::string said;
    const std::lock_guard<std::mutex> lock(saying);
    if (line == said) return;
    said = line;
    std::fprintf(stderr, "ranqua: %s\n", line.c_str());
}

// The variable's text as it can stand in one line.
std::string Shown(const char* text) {
    std::string out;
    for (const char* p = text; *p && out.size() < 40; ++p)
        out += (*p >= 0x20 && *p < 0x7F) ? *p : '?';
    return out;
}

// Rounded down to 4 decimals, so that the text given back as RANQUA_SCALE still fits.
std::string Shown(const Scale& s) {
    const int64_t tenThousandths = s.num * 10000 / s.den;
    std::string text = std::to_string(tenThousandths / 10000);
    std::string decimals = std::to_string(10000 + tenThousandths % 10000).substr(1);
    while (!decimals.empty() && decimals.back() == '0')
        decimals.pop_back();
    return decimals.empty() ? text : text + "." + decimals;
}

} // namespace

int32_t Scale::ToLogical(int32_t physical) const {
    return static_cast<int32_t>(FloorDiv(int64_t{physical} * den, num));
}

int32_t Scale::FloorPhysical(int32_t v) const {
    return static_cast<int32_t>(FloorDiv(int64_t{v} * num, den));
}

int32_t Scale::FirstPhysical(int32_t v) const {
    return static_cast<int32_t>(-FloorDiv(-int64_t{v} * num, den));
}

Point Placement::ToLogical(Point p) const {
    return {anchor.x + scale.ToLogical(p.x - offset.x), anchor.y + scale.ToLogical(p.y - offset.y)};
}

Point Placement::ToPhysical(Point v) const {
    return {offset.x + scale.FirstPhysical(v.x - anchor.x),
            offset.y + scale.FirstPhysical(v.y - anchor.y)};
}

Rect Placement::ToPhysical(const Rect& r) const {
    return {offset.x + scale.FloorPhysical(r.left - anchor.x),
            offset.y + scale.FloorPhysical(r.top - anchor.y),
            offset.x + scale.FirstPhysical(r.right - anchor.x),
            offset.y + scale.FirstPhysical(r.bottom - anchor.y)};
}

Scale FitScale(Size size) {
    // min(W / 800, H / 600), compared as fractions.
    if (size.width <= 0 || size.height <= 0) return {1, 1}; // a window not shown yet
    if (int64_t{size.height} * kPlayAreaSize.width < int64_t{size.width} * kPlayAreaSize.height)
        return {size.height, kPlayAreaSize.height};
    return {size.width, kPlayAreaSize.width};
}

Size PhysicalDisplaySize() {
    if (const auto& replaced = CurrentServices().display) return *replaced;
    SDL_Rect bounds{};
    if (SDL_GetDisplayBounds(0, &bounds) == 0 && bounds.w > 0 && bounds.h > 0)
        return {bounds.w, bounds.h};
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return {0, 0};
    return {mode.w, mode.h};
}

Point PhysicalDisplayOrigin() {
    if (CurrentServices().display) return {0, 0};
    SDL_Rect bounds{};
    if (SDL_GetDisplayBounds(0, &bounds) != 0) return {0, 0};
    return {bounds.x, bounds.y};
}

Scale DisplayScale(Size physical) {
    const Scale s = FitScale(physical);
    if (s.num < s.den) return {1, 1}; // too small is for the caller to refuse
    const char* env = std::getenv("RANQUA_SCALE");
    if (!env || !*env) return s;
    const std::optional<Scale> asked = ParseScale(env);
    if (!asked) {
        SayOnce("ignoring RANQUA_SCALE=" + Shown(env) + ": not a number from 1 to 16");
        return s;
    }
    // Larger than the display, the play area would be cut off at its edges.
    if (asked->num * s.den > s.num * asked->den) {
        SayOnce("RANQUA_SCALE=" + Shown(env) + " is too large for this " +
                std::to_string(physical.width) + "x" + std::to_string(physical.height) +
                " display; using " + Shown(s) + ", the largest that fits");
        return s;
    }
    return *asked;
}

Size DisplaySize() {
    const Size p = PhysicalDisplaySize();
    const Scale s = DisplayScale(p);
    return {s.ToLogical(p.width), s.ToLogical(p.height)};
}

int ArtScaleFor(const Scale& s) {
    for (int a = 1; a <= 3; ++a)
        if (s.num <= a * s.den) return a;
    return 3;
}

} // namespace platform
