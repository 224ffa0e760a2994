// display.cpp: display size from SDL, and the whole-number scale for large screens.
#include "platform/display.h"

#include <SDL.h>

#include <cstdlib>
#include <string>

namespace platform {

namespace {
std::optional<Size> g_override;
}

void SetDisplaySizeOverride(std::optional<Size> size) {
    g_override = size;
}

Size PhysicalDisplaySize() {
    if (g_override) return *g_override;
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return {0, 0};
    return {mode.w, mode.h};
}

int DisplayScale(Size physical) {
    if (const char* env = std::getenv("RANQUA_SCALE")) {
        char* end = nullptr;
        const long k = std::strtol(env, &end, 10);
        if (end != env && *end == '\0' && k >= 1 && k <= 16) return static_cast<int>(k);
    }
    int k = 1;
    while (800 * (k + 1) <= physical.width && 600 * (k + 1) <= physical.height)
        ++k;
    return k;
}

Size DisplaySize() {
    const Size p = PhysicalDisplaySize();
    const int k = DisplayScale(p);
    return {p.width / k, p.height / k};
}

} // namespace platform
