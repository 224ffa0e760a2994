// present.cpp: the resampling step of the present, and the X visual for deep displays.
#include "platform/present.h"

#include <SDL.h>
#include <pixman.h>

// Last: Xlib defines macros (None, Bool, Status) that nothing after it should see.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <functional>
#include <future>
#include <memory>
#include <system_error>
#include <thread>
#include <vector>

namespace platform {

namespace {

int64_t FloorDiv(int64_t a, int64_t b) {
    const int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// Blocks of f x f pixels averaged, on a grid fixed in logical space (block j covers the art
// pixels j * f to j * f + f - 1 of the whole logical display), so that every present of a
// place averages the same pixels. Only blocks [x0, x1) x [y0, y1) are made; a block that
// reaches past the surface averages what lies on it.
struct Reduced {
    std::vector<uint32_t> pixels;
    int32_t x0 = 0, y0 = 0, width = 0, height = 0;
};

Reduced Reduce(const Surface& surface, Point originArt, int f, int64_t x0, int64_t y0, int64_t x1,
               int64_t y1) {
    Reduced r;
    // Only blocks that lie on the surface: beyond them the image's edge repeats (PAD).
    x0 = std::max(x0, FloorDiv(originArt.x, f));
    y0 = std::max(y0, FloorDiv(originArt.y, f));
    x1 = std::min(x1, FloorDiv(int64_t{originArt.x} + surface.PixelWidth() + f - 1, f));
    y1 = std::min(y1, FloorDiv(int64_t{originArt.y} + surface.PixelHeight() + f - 1, f));
    if (x1 <= x0 || y1 <= y0) return r;
    r.x0 = static_cast<int32_t>(x0);
    r.y0 = static_cast<int32_t>(y0);
    r.width = static_cast<int32_t>(x1 - x0);
    r.height = static_cast<int32_t>(y1 - y0);
    r.pixels.resize(static_cast<size_t>(r.width) * r.height);
    const int32_t pw = surface.PixelWidth(), ph = surface.PixelHeight();
    // The columns under the blocks, summed down each block's rows: red and blue side by side
    // in one word, green in another (at most 9 x 255 each: no carry between them).
    const int32_t first = std::max<int32_t>(r.x0 * f - originArt.x, 0);
    const int32_t last = std::min<int32_t>((r.x0 + r.width) * f - originArt.x, pw);
    std::vector<uint32_t> redBlue(static_cast<size_t>(std::max(last - first, 0)));
    std::vector<uint32_t> green(redBlue.size());
    for (int32_t by = 0; by < r.height; ++by) {
        const int32_t top = std::max<int32_t>((r.y0 + by) * f - originArt.y, 0);
        const int32_t bottom = std::min<int32_t>((r.y0 + by + 1) * f - originArt.y, ph);
        std::fill(redBlue.begin(), redBlue.end(), 0u);
        std::fill(green.begin(), green.end(), 0u);
        for (int32_t y = top; y < bottom; ++y) {
            const uint32_t* row = surface.Row(y) + first;
            for (size_t x = 0; x < redBlue.size(); ++x) {
                redBlue[x] += row[x] & 0x00FF00FF;
                green[x] += (row[x] >> 8) & 0xFF;
            }
        }
        uint32_t* out = &r.pixels[static_cast<size_t>(by) * r.width];
        const uint32_t rows = static_cast<uint32_t>(std::max(bottom - top, 1));
        for (int32_t bx = 0; bx < r.width; ++bx) {
            const int32_t left = std::max<int32_t>((r.x0 + bx) * f - originArt.x, first) - first;
            const int32_t right =
                std::min<int32_t>((r.x0 + bx + 1) * f - originArt.x, last) - first;
            uint32_t rb = 0, g = 0;
            for (int32_t x = left; x < right; ++x) {
                rb += redBlue[static_cast<size_t>(x)];
                g += green[static_cast<size_t>(x)];
            }
            const uint32_t n = rows * static_cast<uint32_t>(std::max(right - left, 1));
            out[bx] = (((rb >> 16) + n / 2) / n) << 16 | ((g + n / 2) / n) << 8 |
                      ((rb & 0xFFFF) + n / 2) / n;
        }
    }
    return r;
}

// The rows of `p` resampled, through pixman images of their own, so that two of these may run
// at once.
void ResampleRows(const Surface& surface, Point origin, const Placement& m, const Rect& p,
                  uint32_t* out, int pitch) {
    const int a = surface.Scale();
    const Scale& s = m.scale;
    // Art pixels a physical pixel spans: a x den / num; blocks of f first where that is 2 or more.
    const int64_t spanNum = int64_t{a} * s.den;
    const int64_t whole = spanNum / s.num;
    const int f = whole >= 2 ? static_cast<int>(whole) : 1;
    // Physical (x + 1/2) is logical (x + 1/2 - offset) / s + anchor, art pixel a times that.
    Reduced reduced;
    uint32_t* bits = nullptr;
    int32_t width = 0, height = 0;
    pixman_fixed_t tx = 0, ty = 0;
    if (f == 1) {
        // pixman only reads the source of a composite; it merely takes no const pointer.
        bits = const_cast<uint32_t*>(surface.Row(0));
        width = surface.PixelWidth();
        height = surface.PixelHeight();
        tx = pixman_int_to_fixed((m.anchor.x - origin.x) * a);
        ty = pixman_int_to_fixed((m.anchor.y - origin.y) * a);
    } else {
        // The block under physical edge `v`; those under `p` are made, two to spare each side.
        auto block = [&](int32_t v, int32_t offset, int32_t anchor) {
            return FloorDiv(FloorDiv(int64_t{v - offset} * spanNum, s.num) + int64_t{anchor} * a,
                            f);
        };
        reduced = Reduce(
            surface, {origin.x * a, origin.y * a}, f, block(p.left, m.offset.x, m.anchor.x) - 2,
            block(p.top, m.offset.y, m.anchor.y) - 2, block(p.right, m.offset.x, m.anchor.x) + 3,
            block(p.bottom, m.offset.y, m.anchor.y) + 3);
        if (reduced.pixels.empty()) return;
        bits = reduced.pixels.data();
        width = reduced.width;
        height = reduced.height;
        tx = static_cast<pixman_fixed_t>((int64_t{m.anchor.x} * a * 65536) / f) -
             pixman_int_to_fixed(reduced.x0);
        ty = static_cast<pixman_fixed_t>((int64_t{m.anchor.y} * a * 65536) / f) -
             pixman_int_to_fixed(reduced.y0);
    }
    const PixmanImagePtr src(
        pixman_image_create_bits(PIXMAN_x8r8g8b8, width, height, bits, width * 4));
    const PixmanImagePtr dst(
        pixman_image_create_bits(PIXMAN_x8r8g8b8, p.Width(), p.Height(), out, pitch));
    if (src && dst) {
        const auto ratio = static_cast<pixman_fixed_t>((spanNum << 16) / (s.num * f));
        pixman_transform_t t;
        pixman_transform_init_scale(&t, ratio, ratio);
        t.matrix[0][2] = tx;
        t.matrix[1][2] = ty;
        pixman_image_set_transform(src.get(), &t);
        pixman_image_set_filter(src.get(), PIXMAN_FILTER_BILINEAR, nullptr, 0);
        pixman_image_set_repeat(src.get(), PIXMAN_REPEAT_PAD);
        pixman_image_composite32(PIXMAN_OP_SRC, src.get(), nullptr, dst.get(), p.left - m.offset.x,
                                 p.top - m.offset.y, 0, 0, 0, 0, p.Width(), p.Height());
    }
}

struct DisplayClose {
    void operator()(Display* display) const { XCloseDisplay(display); }
};

} // namespace

void ResampleTo(const Surface& surface, Point origin, const Placement& placement, const Rect& p,
                uint32_t* out, int pitch) {
    if (surface.PixelWidth() == 0 || p.IsEmpty()) return;
    // The filter costs far more than the memory it touches, so a large present does its lower
    // half on a second core (the pieces meet exactly: each pixel depends only on its place).
    static const bool twoCores = std::thread::hardware_concurrency() > 1;
    if (!twoCores || int64_t{p.Width()} * p.Height() < (int64_t{1} << 19)) {
        ResampleRows(surface, origin, placement, p, out, pitch);
        return;
    }
    const int32_t half = p.Height() / 2;
    const Rect upper{p.left, p.top, p.right, p.top + half};
    const Rect lower{p.left, p.top + half, p.right, p.bottom};
    uint32_t* lowerOut = reinterpret_cast<uint32_t*>(reinterpret_cast<uint8_t*>(out) +
                                                     static_cast<ptrdiff_t>(half) * pitch);
    std::future<void> done;
    try {
        done = std::async(std::launch::async, ResampleRows, std::cref(surface), origin,
                          std::cref(placement), std::cref(lower), lowerOut, pitch);
    } catch (const std::system_error&) {
        ResampleRows(surface, origin, placement, lower, lowerOut, pitch); // no thread: in turn
    }
    ResampleRows(surface, origin, placement, upper, out, pitch);
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
