// present.cpp: the resampling step of the present, and the X visual for deep displays.
#include "platform/present.h"

#include <SDL.h>
#include <pixman.h>

// Last: Xlib defines macros (None, Bool, Status) that nothing after it should see.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstring>

namespace platform {

void ResampleTo(const Surface& surface, const Scale& s, const Rect& p, uint32_t* out, int pitch) {
    auto* src = static_cast<pixman_image_t*>(surface.Image());
    if (!src || p.IsEmpty()) return;
    pixman_image_t* dst =
        pixman_image_create_bits(PIXMAN_x8r8g8b8, p.Width(), p.Height(), out, pitch);
    if (!dst) return;
    // Physical (x + 1/2) / s logical = (x + 1/2) * a / s surface pixels: pixel centres meet.
    const auto ratio =
        static_cast<pixman_fixed_t>((int64_t{surface.Scale()} * s.den << 16) / s.num);
    pixman_transform_t t;
    pixman_transform_init_scale(&t, ratio, ratio);
    pixman_image_set_transform(src, &t);
    pixman_image_set_filter(src, PIXMAN_FILTER_BILINEAR, nullptr, 0);
    pixman_image_set_repeat(src, PIXMAN_REPEAT_PAD);
    pixman_image_composite32(PIXMAN_OP_SRC, src, nullptr, dst, p.left, p.top, 0, 0, 0, 0, p.Width(),
                             p.Height());
    pixman_image_set_repeat(src, PIXMAN_REPEAT_NONE);
    pixman_image_set_filter(src, PIXMAN_FILTER_NEAREST, nullptr, 0);
    pixman_image_set_transform(src, nullptr);
    pixman_image_unref(dst);
}

std::string EightBitVisual() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::strcmp(driver, "x11") != 0) return {};
    Display* display = XOpenDisplay(nullptr);
    if (!display) return {};
    std::string id;
    for (const int depth : {24, 32}) {
        XVisualInfo info{};
        if (XMatchVisualInfo(display, DefaultScreen(display), depth, TrueColor, &info) &&
            info.red_mask == 0xFF0000 && info.green_mask == 0xFF00 && info.blue_mask == 0xFF) {
            id = std::to_string(info.visualid);
            break;
        }
    }
    XCloseDisplay(display);
    return id;
}

} // namespace platform
