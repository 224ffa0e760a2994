// window.cpp: the frame window made on the primary display, and the visual fallback.
#include "platform/window.h"

#include "platform/display.h"
#include "platform/memory.h"
#include "platform/present.h"
#include "platform/window_internal.h"

#include <cstdio>
#include <memory>

namespace platform {

FrameWindow::FrameWindow() = default;

FrameWindow::~FrameWindow() {
    KillTimer();
}

namespace {

[[nodiscard]] SdlWindowPtr OpenWindow(const std::string& title, const Rect& r, bool windowed) {
    return SdlWindowPtr(SDL_CreateWindow(
        title.c_str(), r.left, r.top, r.Width(), r.Height(),
        SDL_WINDOW_SHOWN | (windowed ? SDL_WINDOW_RESIZABLE : SDL_WINDOW_BORDERLESS)));
}

struct SurfaceFree {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};

} // namespace

bool FrameWindow::Create(const std::string& title, const Rect& rect, ResourceData icon,
                         WindowMode mode) {
    const Size physical = PhysicalDisplaySize();
    m_scale = DisplayScale(physical);
    m_logical = {rect.Width(), rect.Height()};
    m_windowed = mode.windowed;
    m_windowSize = mode.size;
    if (m_windowed) m_windowSize = WindowSizeFor(m_windowSize, m_scale);
    // Sharp in both modes: at the art scale of the larger of the two.
    const platform::Scale fit = FitScale(WindowSizeFor(m_windowSize, m_scale));
    SetArtScale(ArtScaleFor(fit.Value() > m_scale.Value() ? fit : m_scale));
    // On the primary display's own origin, so that it never straddles two monitors.
    Rect where = PhysicalRect(m_scale, rect, physical);
    const Point origin = PhysicalDisplayOrigin();
    where = m_windowed ? CentredWindow(m_windowSize) : where.Offset(origin.x, origin.y);
    SdlWindowPtr w = OpenWindow(title, where, m_windowed);
    if (!w) {
        std::fprintf(stderr, "ranqua: cannot create the window: %s\n", SDL_GetError());
        return false;
    }
    SDL_Surface* ws = SDL_GetWindowSurface(w.get());
    if (!ws) {
        // A display of a depth SDL cannot draw on (30 bits, say) may still offer another.
        const std::string why = SDL_GetError();
        w.reset();
        const std::string visual = EightBitVisual();
        if (!visual.empty()) {
            SDL_SetHint(SDL_HINT_VIDEO_X11_WINDOW_VISUALID, visual.c_str());
            w = OpenWindow(title, where, m_windowed);
            ws = w ? SDL_GetWindowSurface(w.get()) : nullptr;
            if (!ws) w.reset();
        }
        if (!w) {
            std::fprintf(stderr, "ranqua: cannot draw on this display: %s\n", why.c_str());
            return false;
        }
    }
    m_window = std::move(w);
    if (m_windowed)
        SDL_SetWindowMinimumSize(m_window.get(), kMinWindowSize.width, kMinWindowSize.height);
    // The window's pixels are all written at once by the first fill: ask for their pages now.
    PrepareForWriting(ws->pixels, static_cast<size_t>(ws->h) * ws->pitch);
    if (icon) {
        const std::unique_ptr<SDL_Surface, SurfaceFree> s(
            SDL_LoadBMP_RW(SDL_RWFromConstMem(icon.data, static_cast<int>(icon.size)), 1));
        if (s) SDL_SetWindowIcon(m_window.get(), s.get());
    }
    SDL_RaiseWindow(m_window.get());
    return true;
}

} // namespace platform
