// window_present.cpp: surfaces shown in the window at the display's scale, and read back.
#include "platform/window.h"

#include "platform/present.h"
#include "platform/window_internal.h"

#include <algorithm>

namespace platform {

// The physical pixels that show logical `r` (partly or wholly); what reaches the logical
// display's right or bottom edge reaches the window's, so no sliver stays unpainted.
Rect PhysicalRect(const Scale& s, const Rect& r, Size window) {
    Rect p{s.FloorPhysical(r.left), s.FloorPhysical(r.top), s.FirstPhysical(r.right),
           s.FirstPhysical(r.bottom)};
    if (r.right >= s.ToLogical(window.width)) p.right = window.width;
    if (r.bottom >= s.ToLogical(window.height)) p.bottom = window.height;
    return p.Intersect({0, 0, window.width, window.height});
}

void FrameWindow::PresentRect(const Surface& surface, const Rect& rect) {
    if (!m_window) return;
    SDL_Window* w = m_window.get();
    SDL_Surface* ws = SDL_GetWindowSurface(w);
    if (!ws) return;
    const Rect r = rect.Intersect(surface.Bounds());
    if (r.IsEmpty()) return;
    const Rect p = PhysicalRect(m_scale, r, {ws->w, ws->h});
    if (p.IsEmpty()) return;
    // Physical pixels per pixel of the surface, when that is a whole number.
    const int64_t art = int64_t{surface.Scale()} * m_scale.den;
    const int k = m_scale.num % art == 0 ? static_cast<int>(m_scale.num / art) : 0;

    if (SDL_MUSTLOCK(ws) && SDL_LockSurface(ws) != 0) return; // no pixels to write to
    // x8r8g8b8 windows take the pixels directly; any other kind through one conversion.
    const bool direct = ws->format->BytesPerPixel == 4 && ws->format->Rmask == 0x00FF0000 &&
                        ws->format->Gmask == 0x0000FF00 && ws->format->Bmask == 0x000000FF &&
                        ws->format->Amask == 0;
    uint8_t* out = static_cast<uint8_t*>(ws->pixels) + p.top * ws->pitch;
    int pitch = ws->pitch;
    if (direct) {
        out += p.left * 4;
    } else {
        // Kept between presents: a new buffer for every frame would cost its pages each time.
        m_converted.resize(static_cast<size_t>(p.Width()) * p.Height());
        out = reinterpret_cast<uint8_t*>(m_converted.data());
        pitch = p.Width() * 4;
    }
    if (k > 0) {
        // Whole pixels: a plain copy, or each pixel a k x k block. Beyond the surface's last
        // pixel (a sliver at the display's edge) its edge repeats.
        const int32_t lastX = surface.PixelWidth() - 1, lastY = surface.PixelHeight() - 1;
        for (int32_t y = p.top; y < p.bottom; ++y) {
            const uint32_t* src = surface.Row(std::min(y / k, lastY));
            uint32_t* dst = reinterpret_cast<uint32_t*>(out + (y - p.top) * pitch);
            int32_t x = p.left;
            if (k == 1) {
                const int32_t inside = std::max(0, std::min(p.right, lastX + 1) - x);
                SDL_memcpy(dst, src + x, static_cast<size_t>(inside) * 4);
                x += inside;
            }
            for (; x < p.right; ++x)
                dst[x - p.left] = src[std::min(x / k, lastX)];
        }
    } else {
        ResampleTo(surface, m_scale, p, reinterpret_cast<uint32_t*>(out), pitch);
    }
    if (!direct)
        SDL_ConvertPixels(p.Width(), p.Height(), SDL_PIXELFORMAT_RGB888, m_converted.data(),
                          p.Width() * 4, ws->format->format,
                          static_cast<uint8_t*>(ws->pixels) + p.top * ws->pitch +
                              p.left * ws->format->BytesPerPixel,
                          ws->pitch);
    if (SDL_MUSTLOCK(ws)) SDL_UnlockSurface(ws);
    SDL_Rect sr{p.left, p.top, p.Width(), p.Height()};
    SDL_UpdateWindowSurfaceRects(w, &sr, 1);
}

void FrameWindow::FillWindow(const Rect& rect, uint32_t rgb) {
    if (!m_window) return;
    SDL_Window* w = m_window.get();
    SDL_Surface* ws = SDL_GetWindowSurface(w);
    if (!ws) return;
    const Rect p = PhysicalRect(m_scale, rect, {ws->w, ws->h});
    SDL_Rect sr{p.left, p.top, p.Width(), p.Height()};
    SDL_FillRect(ws, &sr,
                 SDL_MapRGB(ws->format, (rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
    SDL_UpdateWindowSurfaceRects(w, &sr, 1);
}

uint32_t FrameWindow::PhysicalPixel(int32_t x, int32_t y) const {
    if (!m_window) return 0;
    SDL_Surface* ws = SDL_GetWindowSurface(m_window.get());
    if (!ws || x < 0 || y < 0 || x >= ws->w || y >= ws->h) return 0;
    const uint8_t* p =
        static_cast<const uint8_t*>(ws->pixels) + y * ws->pitch + x * ws->format->BytesPerPixel;
    Uint32 v = 0;
    SDL_memcpy(&v, p, ws->format->BytesPerPixel);
    Uint8 r, g, b;
    SDL_GetRGB(v, ws->format, &r, &g, &b);
    return Rgb(r, g, b);
}

Size FrameWindow::PhysicalSize() const {
    if (!m_window) return {0, 0};
    SDL_Surface* ws = SDL_GetWindowSurface(m_window.get());
    return ws ? Size{ws->w, ws->h} : Size{0, 0};
}

uint32_t FrameWindow::WindowPixel(int32_t x, int32_t y) const {
    // The physical pixel under the middle of the logical one: floor((x + 1/2) * s).
    const platform::Scale twice{m_scale.num, 2 * m_scale.den};
    return PhysicalPixel(twice.FloorPhysical(2 * x + 1), twice.FloorPhysical(2 * y + 1));
}

} // namespace platform
