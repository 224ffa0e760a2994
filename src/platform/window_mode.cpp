// window_mode.cpp: over the whole display or in a window of its own: the switch, the window's
// size and where the logical display lands in it.
#include "platform/clock.h"
#include "platform/services.h"
#include "platform/window.h"
#include "platform/window_internal.h"

#include <algorithm>

namespace platform {

namespace {

// Where the primary display has room for a window (the display less panels and docks).
Rect UsableArea() {
    const Point origin = PhysicalDisplayOrigin();
    const Size display = PhysicalDisplaySize();
    Rect area{origin.x, origin.y, origin.x + display.width, origin.y + display.height};
    SDL_Rect usable{};
    if (!CurrentServices().display && SDL_GetDisplayUsableBounds(0, &usable) == 0 && usable.w > 0 &&
        usable.h > 0)
        area = area.Intersect({usable.x, usable.y, usable.x + usable.w, usable.y + usable.h});
    return area;
}

} // namespace

// A window of `size`, or one that suits the display (three quarters of the scale that covers
// it), never below the smallest and never beyond the usable area.
Size WindowSizeFor(Size size, const Scale& covering) {
    const Rect area = UsableArea();
    if (size.width <= 0 || size.height <= 0) {
        const Scale s = covering.num * 4 < covering.den * 3
                            ? Scale{1, 1}
                            : Scale{covering.num * 3, covering.den * 4};
        size = {s.FloorPhysical(kMinWindowSize.width), s.FloorPhysical(kMinWindowSize.height)};
    }
    return {std::max(std::min(size.width, area.Width()), kMinWindowSize.width),
            std::max(std::min(size.height, area.Height()), kMinWindowSize.height)};
}

// A window of `size` in the middle of the usable area.
Rect CentredWindow(Size size) {
    const Rect area = UsableArea();
    const int32_t x = area.left + (area.Width() - size.width) / 2;
    const int32_t y = area.top + (area.Height() - size.height) / 2;
    return {x, y, x + size.width, y + size.height};
}

void FrameWindow::SetWindowMode(WindowMode mode) {
    if (!m_window) return;
    SDL_Window* w = m_window.get();
    if (mode.size.width > 0 && mode.size.height > 0) m_windowSize = mode.size;
    if (mode.windowed) {
        m_windowSize = WindowSizeFor(m_windowSize, m_scale);
        const Rect r = CentredWindow(m_windowSize);
        SDL_SetWindowBordered(w, SDL_TRUE);
        SDL_SetWindowResizable(w, SDL_TRUE);
        SDL_SetWindowMinimumSize(w, kMinWindowSize.width, kMinWindowSize.height);
        SDL_SetWindowSize(w, r.Width(), r.Height());
        SDL_SetWindowPosition(w, r.left, r.top);
    } else {
        const Rect r =
            PhysicalRect(m_scale, {0, 0, m_logical.width, m_logical.height}, PhysicalDisplaySize());
        const Point origin = PhysicalDisplayOrigin();
        SDL_SetWindowBordered(w, SDL_FALSE);
        SDL_SetWindowSize(w, r.Width(), r.Height());
        SDL_SetWindowPosition(w, origin.x + r.left, origin.y + r.top);
        SDL_SetWindowResizable(w, SDL_FALSE);
    }
    m_windowed = mode.windowed;
    SDL_RaiseWindow(w);
    Repaint();
    Settled(); // the size too, in the same write
}

namespace {

// A size the player keeps for half a second is the one to remember: a drag of the window's
// edge changes it many times a second.
constexpr uint32_t kSettleMs = 500;

} // namespace

void PostWindowSize(Size size) {
    const Application* app = Application::Current();
    FrameWindow* w = app ? app->m_mainWindow : nullptr;
    if (w && w->m_window) SDL_SetWindowSize(w->m_window.get(), size.width, size.height);
}

void FrameWindow::Resized() {
    if (!m_window) return;
    if (m_windowed) {
        SDL_Window* w = m_window.get();
        int width = 0, height = 0;
        SDL_GetWindowSize(w, &width, &height);
        if (width > 0 && height > 0) m_windowSize = {width, height};
        // Tests that fire the timers themselves see each size settle at once.
        if (CurrentServices().manualTimers)
            Settled();
        else
            m_settleAt = GetClock().TickCount() + kSettleMs;
    }
    Repaint();
}

void FrameWindow::Settled() {
    m_settleAt.reset();
    OnWindowModeChanged();
}

int FrameWindow::SettleWait() {
    if (!m_settleAt) return -1;
    const auto left = static_cast<int32_t>(*m_settleAt - GetClock().TickCount());
    if (left > 0) return left;
    Settled();
    return -1;
}

Placement FrameWindow::PlacementFor(Size window) const {
    if (!m_windowed) return {m_scale, {0, 0}, {0, 0}};
    // The play area (the middle of the logical display) fills the window, centred.
    const platform::Scale s = FitScale(window);
    const Point anchor{m_logical.width / 2 - kPlayAreaSize.width / 2,
                       m_logical.height / 2 - kPlayAreaSize.height / 2};
    return {s,
            {(window.width - s.FirstPhysical(kPlayAreaSize.width)) / 2,
             (window.height - s.FirstPhysical(kPlayAreaSize.height)) / 2},
            anchor};
}

Placement FrameWindow::CurrentPlacement() const {
    int width = 0, height = 0;
    if (m_window) SDL_GetWindowSize(m_window.get(), &width, &height);
    return PlacementFor({width, height});
}

} // namespace platform
