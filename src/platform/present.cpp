// present.cpp: the resampling step of the present, and the X visual for deep displays.
#include "platform/present.h"

#include <SDL.h>
#include <pixman.h>

// Last: Xlib defines macros (None, Bool, Status) that nothing after it should see.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstddef>
#include <cstring>
#include <functional>
#include <future>
#include <memory>
#include <system_error>
#include <thread>

namespace platform {

namespace {

// The rows of `p` resampled, through a pixman image of its own over the surface's pixels, so
// that two of these may run at once.
void ResampleRows(const Surface& surface, const Scale& s, const Rect& p, uint32_t* out, int pitch) {
    // pixman only reads the source of a composite; it merely takes no const pointer.
    auto* bits = const_cast<uint32_t*>(surface.Row(0));
    const PixmanImagePtr src(pixman_image_create_bits(PIXMAN_x8r8g8b8, surface.PixelWidth(),
                                                      surface.PixelHeight(), bits,
                                                      surface.PixelWidth() * 4));
    const PixmanImagePtr dst(
        pixman_image_create_bits(PIXMAN_x8r8g8b8, p.Width(), p.Height(), out, pitch));
    if (src && dst) {
        // Physical (x + 1/2) / s logical = (x + 1/2) * a / s surface pixels: pixel centres meet.
        const auto ratio =
            static_cast<pixman_fixed_t>((int64_t{surface.Scale()} * s.den << 16) / s.num);
        pixman_transform_t t;
        pixman_transform_init_scale(&t, ratio, ratio);
        pixman_image_set_transform(src.get(), &t);
        pixman_image_set_filter(src.get(), PIXMAN_FILTER_BILINEAR, nullptr, 0);
        pixman_image_set_repeat(src.get(), PIXMAN_REPEAT_PAD);
        pixman_image_composite32(PIXMAN_OP_SRC, src.get(), nullptr, dst.get(), p.left, p.top, 0, 0,
                                 0, 0, p.Width(), p.Height());
    }
}

struct DisplayClose {
    void operator()(Display* display) const { XCloseDisplay(display); }
};

} // namespace

void ResampleTo(const Surface& surface, const Scale& s, const Rect& p, uint32_t* out, int pitch) {
    if (surface.PixelWidth() == 0 || p.IsEmpty()) return;
    // The filter costs far more than the memory it touches, so a large present does its lower
    // half on a second core (the pieces meet exactly: each pixel depends only on its place).
    static const bool twoCores = std::thread::hardware_concurrency() > 1;
    if (!twoCores || int64_t{p.Width()} * p.Height() < (int64_t{1} << 19)) {
        ResampleRows(surface, s, p, out, pitch);
        return;
    }
    const int32_t half = p.Height() / 2;
    const Rect upper{p.left, p.top, p.right, p.top + half};
    const Rect lower{p.left, p.top + half, p.right, p.bottom};
    uint32_t* lowerOut = reinterpret_cast<uint32_t*>(reinterpret_cast<uint8_t*>(out) +
                                                     static_cast<ptrdiff_t>(half) * pitch);
    std::future<void> done;
    try {
        done = std::async(std::launch::async, ResampleRows, std::cref(surface), std::cref(s),
                          std::cref(lower), lowerOut, pitch);
    } catch (const std::system_error&) {
        ResampleRows(surface, s, lower, lowerOut, pitch); // no thread to be had: in turn
    }
    ResampleRows(surface, s, upper, out, pitch);
    if (done.valid()) done.get();
}

std::string EightBitVisual() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::strcmp(driver, "x11") != 0) return {};
    const std::unique_ptr<Display, DisplayClose> display(XOpenDisplay(nullptr));
    if (!display) return {};
    std::string id;
    for (const int depth : {24, 32}) {
        XVisualInfo info{};
        if (XMatchVisualInfo(display.get(), DefaultScreen(display.get()), depth, TrueColor,
                             &info) &&
            info.red_mask == 0xFF0000 && info.green_mask == 0xFF00 && info.blue_mask == 0xFF) {
            id = std::to_string(info.visualid);
            break;
        }
    }
    return id;
}

} // namespace platform
