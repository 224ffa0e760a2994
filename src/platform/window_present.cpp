// window_present.cpp: surfaces shown in the window where the placement puts them, an overlay
// drawn over them, the surround, and what the window shows read back.
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

namespace {

// Physical pixels of `p` from `surface`, whose top-left pixel is logical `origin`, into `out`
// (x8r8g8b8, `pitch` bytes a row; its first pixel is p's top-left).
void Render(const Surface& surface, Point origin, const Placement& m, const Rect& p, uint8_t* out,
            int pitch) {
    // Physical pixels per pixel of the surface, when that is a whole number.
    const int64_t art = int64_t{surface.Scale()} * m.scale.den;
    const int k = m.scale.num % art == 0 ? static_cast<int>(m.scale.num / art) : 0;
    if (k == 0) {
        ResampleTo(surface, origin, m, p, reinterpret_cast<uint32_t*>(out), pitch);
        return;
    }
    // Whole pixels: a plain copy, or each pixel a k x k block. Beyond the surface's last pixel
    // (a sliver at the display's edge) its edge repeats.
    const int a = surface.Scale();
    const int32_t lastX = surface.PixelWidth() - 1, lastY = surface.PixelHeight() - 1;
    const int32_t dx = (m.anchor.x - origin.x) * a, dy = (m.anchor.y - origin.y) * a;
    auto pixelOf = [k](int32_t physical, int32_t offset, int32_t shift, int32_t last) {
        const int32_t v = physical - offset;
        return std::clamp((v >= 0 ? v / k : -((k - 1 - v) / k)) + shift, 0, last);
    };
    for (int32_t y = p.top; y < p.bottom; ++y) {
        const uint32_t* src = surface.Row(pixelOf(y, m.offset.y, dy, lastY));
        uint32_t* dst = reinterpret_cast<uint32_t*>(out + (y - p.top) * pitch);
        int32_t x = p.left;
        if (k == 1) {
            // The run that lies on the surface is one copy.
            const int32_t first = std::max(x, m.offset.x - dx);
            const int32_t end = std::min(p.right, m.offset.x - dx + lastX + 1);
            for (; x < first; ++x)
                dst[x - p.left] = src[pixelOf(x, m.offset.x, dx, lastX)];
            if (end > x) {
                SDL_memcpy(dst + (x - p.left), src + (x - m.offset.x + dx),
                           static_cast<size_t>(end - x) * 4);
                x = end;
            }
        }
        for (; x < p.right; ++x)
            dst[x - p.left] = src[pixelOf(x, m.offset.x, dx, lastX)];
    }
}

// What an overlay's filter may reach beyond its rectangle: logical pixels copied around it,
// physical pixels drawn again around it.
constexpr int32_t kOverlayMargin = 2;

} // namespace

// The physical pixels that show logical `r` (partly or wholly). Covering the display, what
// reaches the logical display's right or bottom edge reaches the window's, so no sliver stays
// unpainted; in a window of its own the surround is painted instead.
Rect FrameWindow::PresentedRect(const Placement& m, const Rect& r, Size window) const {
    if (!m_windowed) return PhysicalRect(m.scale, r, window);
    return m.ToPhysical(r).Intersect({0, 0, window.width, window.height});
}

void FrameWindow::PresentRect(const Surface& surface, const Rect& rect) {
    if (!m_window) return;
    SDL_Window* w = m_window.get();
    SDL_Surface* ws = SDL_GetWindowSurface(w);
    if (!ws) return;
    const Rect r = rect.Intersect(surface.Bounds());
    if (r.IsEmpty()) return;
    const Size window{ws->w, ws->h};
    const Placement m = PlacementFor(window);
    const Rect p = PresentedRect(m, r, window);
    if (p.IsEmpty()) return;

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
    Render(surface, {0, 0}, m, p, out, pitch);
    // The overlay over the same pixels before the window is updated: one update, no flicker.
    if (m_overlayRect && m_overlayPaint && !m_overlayRect->Intersect(r).IsEmpty()) {
        const Rect o = *m_overlayRect;
        const Rect around{o.left - kOverlayMargin, o.top - kOverlayMargin, o.right + kOverlayMargin,
                          o.bottom + kOverlayMargin};
        Surface copy(around.Width(), around.Height(), surface.Scale());
        copy.Copy(copy.Bounds(), surface, around.TopLeft());
        m_overlayPaint(copy, o.Offset(-around.left, -around.top));
        const Rect po = m.ToPhysical(o);
        const Rect q = Rect{po.left - kOverlayMargin, po.top - kOverlayMargin,
                            po.right + kOverlayMargin, po.bottom + kOverlayMargin}
                           .Intersect(p);
        if (!q.IsEmpty())
            Render(copy, around.TopLeft(), m, q,
                   out + (q.top - p.top) * pitch + (q.left - p.left) * 4, pitch);
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

void FrameWindow::SetOverlay(std::optional<Rect> rect, OverlayPaint paint) {
    m_overlayRect = rect;
    m_overlayPaint = rect ? std::move(paint) : OverlayPaint{};
}

void FrameWindow::FillWindow(const Rect& rect, uint32_t rgb) {
    if (!m_window) return;
    SDL_Window* w = m_window.get();
    SDL_Surface* ws = SDL_GetWindowSurface(w);
    if (!ws) return;
    const Size window{ws->w, ws->h};
    const Rect p = PresentedRect(PlacementFor(window), rect, window);
    SDL_Rect sr{p.left, p.top, p.Width(), p.Height()};
    SDL_FillRect(ws, &sr,
                 SDL_MapRGB(ws->format, (rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
    SDL_UpdateWindowSurfaceRects(w, &sr, 1);
}

void FrameWindow::FillSurround(const Placement& m, Size window) {
    SDL_Window* w = m_window.get();
    SDL_Surface* ws = SDL_GetWindowSurface(w);
    if (!ws || !m_windowed) return;
    const Rect all{0, 0, window.width, window.height};
    const Rect d = m.ToPhysical(Rect{0, 0, m_logical.width, m_logical.height}).Intersect(all);
    // Above, below, left and right of the logical display.
    const Rect bands[] = {{0, 0, window.width, d.top},
                          {0, d.bottom, window.width, window.height},
                          {0, d.top, d.left, d.bottom},
                          {d.right, d.top, window.width, d.bottom}};
    const Uint32 colour = SDL_MapRGB(ws->format, (m_surround >> 16) & 0xFF,
                                     (m_surround >> 8) & 0xFF, m_surround & 0xFF);
    SDL_Rect rects[4];
    int n = 0;
    for (const Rect& b : bands) {
        if (b.IsEmpty()) continue;
        rects[n] = {b.left, b.top, b.Width(), b.Height()};
        SDL_FillRect(ws, &rects[n], colour);
        ++n;
    }
    if (n > 0) SDL_UpdateWindowSurfaceRects(w, rects, n);
}

void FrameWindow::Repaint() {
    if (!m_window) return;
    const Size window = PhysicalSize();
    FillSurround(PlacementFor(window), window);
    OnPaint();
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
    const Placement m = PlacementFor(PhysicalSize());
    const platform::Scale twice{m.scale.num, 2 * m.scale.den};
    return PhysicalPixel(m.offset.x + twice.FloorPhysical(2 * (x - m.anchor.x) + 1),
                         m.offset.y + twice.FloorPhysical(2 * (y - m.anchor.y) + 1));
}

} // namespace platform
