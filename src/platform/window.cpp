// window.cpp: SDL2 window, event translation and the message loop.
#include "platform/window.h"

#include "platform/display.h"
#include "platform/memory.h"
#include "platform/music.h"
#include "platform/present.h"
#include "platform/sound.h"

#include <SDL.h>

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace platform {

namespace {

Application* g_app = nullptr;
bool g_manualTimers = false;
std::atomic<bool> g_tickPending{false};
uint32_t g_timerIdValue = 1;
Uint32 g_eventBase = 0;

enum UserEvent : Uint32 { kTick = 0, kMusic = 1, kEventCount = 2 };

Uint32 EventType(UserEvent e) {
    return g_eventBase + e;
}

void PushUser(UserEvent e, Sint32 code = 0, void* data = nullptr, uintptr_t data2 = 0) {
    if (g_eventBase == 0) return;
    SDL_Event ev{};
    ev.type = EventType(e);
    ev.user.code = code;
    ev.user.data1 = data;
    ev.user.data2 = reinterpret_cast<void*>(data2);
    SDL_PushEvent(&ev);
}

Uint32 TimerCallback(Uint32 interval, void*) {
    if (!g_tickPending.exchange(true)) PushUser(kTick);
    return interval;
}

uint32_t MouseFlags() {
    uint32_t f = 0;
    const Uint32 buttons = SDL_GetMouseState(nullptr, nullptr);
    if (buttons & SDL_BUTTON_LMASK) f |= kFlagLButton;
    if (buttons & SDL_BUTTON_RMASK) f |= kFlagRButton;
    const SDL_Keymod mod = SDL_GetModState();
    if (mod & KMOD_SHIFT) f |= kFlagShift;
    if (mod & KMOD_CTRL) f |= kFlagControl;
    return f;
}

uint32_t VirtualKey(SDL_Keycode k) {
    if (k == SDLK_SPACE) return kKeySpace;
    if (k >= SDLK_a && k <= SDLK_z) return static_cast<uint32_t>('A' + (k - SDLK_a));
    if (k >= SDLK_0 && k <= SDLK_9) return static_cast<uint32_t>(k);
    if (k == SDLK_RETURN) return 0x0D;
    if (k == SDLK_ESCAPE) return 0x1B;
    return 0;
}

// Auto-repeats of `key` waiting in the queue, taken out of it: the desktop's keyboard queue
// folds repeats the program has not read yet into one key-down with a repeat count, so that
// a held key cannot pile up seconds of one-second animations behind it.
uint32_t TakeQueuedRepeats(SDL_Keycode key) {
    SDL_Event queued[64];
    uint32_t taken = 0;
    for (;;) {
        const int n = SDL_PeepEvents(queued, 64, SDL_PEEKEVENT, SDL_KEYDOWN, SDL_KEYUP);
        int same = 0;
        while (same < n && queued[same].type == SDL_KEYDOWN && queued[same].key.repeat &&
               queued[same].key.keysym.sym == key)
            ++same;
        if (same == 0) return taken;
        // The first `same` keyboard events of the queue are exactly the ones just counted.
        SDL_PeepEvents(queued, same, SDL_GETEVENT, SDL_KEYDOWN, SDL_KEYUP);
        taken += static_cast<uint32_t>(same);
        if (same < n) return taken;
    }
}

// SIGHUP (the terminal that started the game was closed) and SIGQUIT are close requests too,
// so that the closing sequence saves the switches. SDL turns SIGTERM into one; passing the
// signal on as SIGTERM is safe inside a handler, where SDL's queue must not be touched.
void CloseRequestSignal(int) {
    ::kill(::getpid(), SIGTERM);
}

void InstallCloseSignals() {
    struct sigaction sa {};
    sa.sa_handler = CloseRequestSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGHUP, SIGQUIT}) {
        struct sigaction old {};
        // A signal the caller chose to ignore (nohup) stays ignored.
        if (::sigaction(sig, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
        ::sigaction(sig, &sa, nullptr);
    }
}

// SDL's own large blocks are the window's pixels (and, without shared memory, their copy):
// written whole the moment they are made, so they get large pages like our own surfaces.
void* SdlMalloc(size_t bytes) {
    void* p = std::malloc(bytes);
    PreferLargePages(p, bytes);
    return p;
}

void* SdlCalloc(size_t count, size_t size) {
    void* p = std::calloc(count, size); // null when count * size would overflow
    PreferLargePages(p, count * size);
    return p;
}

void* SdlRealloc(void* p, size_t bytes) {
    return std::realloc(p, bytes);
}

void SdlFree(void* p) {
    std::free(p);
}

} // namespace

// The display library ends the process with exit() when the display connection breaks, from
// inside whatever call noticed it. The message loop never ends then, so this is where the
// switches are written.
// More than one thread may notice the broken connection and call exit() at once, and a second
// exit() runs on through the handlers still listed and ends the process, in the middle of the
// write. So the handler is listed once for every thread that can reach the display (the message
// loop, and the timer and sound threads, whose events wake it): the first one in writes and
// ends the process itself, and any other waits here until it has.
constexpr int kDisplayThreads = 3;

void ExitWithoutQuit() {
    static std::mutex exiting;
    std::unique_lock<std::mutex> lock(exiting);
    Application* app = g_app;
    if (!app || !app->m_running || app->m_quit) return;
    app->m_running = false;
    std::fprintf(stderr, "ranqua: the connection to the display was lost; saving the switches "
                         "and ending\n");
    app->OnDisplayLost();
    std::fflush(nullptr);
    ::_exit(1);
}

// ---- FrameWindow ----------------------------------------------------------------------

FrameWindow::FrameWindow() = default;

FrameWindow::~FrameWindow() {
    KillTimer();
    if (m_window) SDL_DestroyWindow(static_cast<SDL_Window*>(m_window));
}

namespace {

SDL_Window* OpenWindow(const std::string& title, const Rect& r) {
    return SDL_CreateWindow(title.c_str(), r.left, r.top, r.Width(), r.Height(),
                            SDL_WINDOW_BORDERLESS | SDL_WINDOW_SHOWN);
}

// The physical pixels that show logical `r` (partly or wholly); what reaches the logical
// display's right or bottom edge reaches the window's, so no sliver stays unpainted.
Rect PhysicalRect(const Scale& s, const Rect& r, Size window) {
    Rect p{s.FloorPhysical(r.left), s.FloorPhysical(r.top), s.FirstPhysical(r.right),
           s.FirstPhysical(r.bottom)};
    if (r.right >= s.ToLogical(window.width)) p.right = window.width;
    if (r.bottom >= s.ToLogical(window.height)) p.bottom = window.height;
    return p.Intersect({0, 0, window.width, window.height});
}

} // namespace

bool FrameWindow::Create(const std::string& title, const Rect& rect, ResourceData icon) {
    const Size physical = PhysicalDisplaySize();
    m_scale = DisplayScale(physical);
    SetArtScale(ArtScaleFor(m_scale));
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // We compose every pixel ourselves: a GL-backed window surface would only add a software
    // GL stack (about 90 MB resident under X11, and leaks at exit) for the same copies.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // On the primary display's own origin, so that it never straddles two monitors.
    Rect where = PhysicalRect(m_scale, rect, physical);
    const Point origin = PhysicalDisplayOrigin();
    where = where.Offset(origin.x, origin.y);
    SDL_Window* w = OpenWindow(title, where);
    if (!w) {
        std::fprintf(stderr, "ranqua: cannot create the window: %s\n", SDL_GetError());
        return false;
    }
    SDL_Surface* ws = SDL_GetWindowSurface(w);
    if (!ws) {
        // A display of a depth SDL cannot draw on (30 bits, say) may still offer another.
        const std::string why = SDL_GetError();
        SDL_DestroyWindow(w);
        w = nullptr;
        const std::string visual = EightBitVisual();
        if (!visual.empty()) {
            SDL_SetHint(SDL_HINT_VIDEO_X11_WINDOW_VISUALID, visual.c_str());
            w = OpenWindow(title, where);
            ws = w ? SDL_GetWindowSurface(w) : nullptr;
            if (w && !ws) {
                SDL_DestroyWindow(w);
                w = nullptr;
            }
        }
        if (!w) {
            std::fprintf(stderr, "ranqua: cannot draw on this display: %s\n", why.c_str());
            return false;
        }
    }
    m_window = w;
    // The window's pixels are all written at once by the first fill: ask for their pages now.
    PrepareForWriting(ws->pixels, static_cast<size_t>(ws->h) * ws->pitch);
    if (icon) {
        if (SDL_Surface* s =
                SDL_LoadBMP_RW(SDL_RWFromConstMem(icon.data, static_cast<int>(icon.size)), 1)) {
            SDL_SetWindowIcon(w, s);
            SDL_FreeSurface(s);
        }
    }
    SDL_RaiseWindow(w);
    return true;
}

void FrameWindow::PresentRect(const Surface& surface, const Rect& rect) {
    if (!m_window) return;
    SDL_Window* w = static_cast<SDL_Window*>(m_window);
    SDL_Surface* ws = SDL_GetWindowSurface(w);
    if (!ws) return;
    const Rect r = rect.Intersect(surface.Bounds());
    if (r.IsEmpty()) return;
    const Rect p = PhysicalRect(m_scale, r, {ws->w, ws->h});
    if (p.IsEmpty()) return;
    // Physical pixels per pixel of the surface, when that is a whole number.
    const int64_t art = int64_t{surface.Scale()} * m_scale.den;
    const int k = m_scale.num % art == 0 ? static_cast<int>(m_scale.num / art) : 0;

    if (SDL_MUSTLOCK(ws)) SDL_LockSurface(ws);
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
    SDL_Window* w = static_cast<SDL_Window*>(m_window);
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
    SDL_Surface* ws = SDL_GetWindowSurface(static_cast<SDL_Window*>(m_window));
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
    SDL_Surface* ws = SDL_GetWindowSurface(static_cast<SDL_Window*>(m_window));
    return ws ? Size{ws->w, ws->h} : Size{0, 0};
}

uint32_t FrameWindow::WindowPixel(int32_t x, int32_t y) const {
    // The physical pixel under the middle of the logical one: floor((x + 1/2) * s).
    const platform::Scale twice{m_scale.num, 2 * m_scale.den};
    return PhysicalPixel(twice.FloorPhysical(2 * x + 1), twice.FloorPhysical(2 * y + 1));
}

void FrameWindow::SetTimer(uint32_t id, uint32_t ms) {
    KillTimer();
    g_timerIdValue = id;
    if (!g_manualTimers) m_timerId = SDL_AddTimer(ms, TimerCallback, nullptr);
}

void FrameWindow::KillTimer() {
    if (m_timerId) SDL_RemoveTimer(m_timerId);
    m_timerId = 0;
}

// ---- Application ----------------------------------------------------------------------

Application::Application() {
    g_app = this;
}

Application::~Application() {
    if (g_app == this) g_app = nullptr;
}

Application* Application::Current() {
    return g_app;
}

void Application::PostQuit(int exitCode) {
    m_exitCode = exitCode;
    m_quit = true;
}

int Application::Run() {
    if (InitInstance()) {
        static std::once_flag listed;
        std::call_once(listed, [] {
            for (int i = 0; i < kDisplayThreads; ++i)
                std::atexit(ExitWithoutQuit);
        });
        m_running = true;
        SDL_Event e;
        while (!m_quit && SDL_WaitEvent(&e))
            Dispatch(&e);
        m_running = false;
    }
    return ExitInstance();
}

void Application::PumpMessages() {
    SDL_Event e;
    while (!m_quit && SDL_PollEvent(&e))
        Dispatch(&e);
}

bool Application::Dispatch(const void* event) {
    const SDL_Event& e = *static_cast<const SDL_Event*>(event);
    FrameWindow* w = m_mainWindow;
    if (!w) return false;
    const Scale k = w->m_scale;
    auto at = [&k](Sint32 x, Sint32 y) { return Point{k.ToLogical(x), k.ToLogical(y)}; };
    if (g_eventBase != 0 && e.type == EventType(kTick)) {
        g_tickPending = false;
        w->OnTimer(g_timerIdValue);
    } else if (g_eventBase != 0 && e.type == EventType(kMusic)) {
        // The end of a track that was stopped or replaced meanwhile is no news any more.
        const auto track = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(e.user.data2));
        if (track == 0 || track == CurrentMusicTrack())
            w->OnMciNotifyMode(e.user.data1, e.user.code);
    } else {
        switch (e.type) {
        case SDL_QUIT:
            w->OnClose();
            break;
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_CLOSE)
                w->OnClose();
            else if (e.window.event == SDL_WINDOWEVENT_EXPOSED)
                w->OnPaint();
            break;
        case SDL_MOUSEMOTION:
            w->OnMouseMove(MouseFlags(), at(e.motion.x, e.motion.y));
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.button == SDL_BUTTON_LEFT)
                w->OnLButtonDown(MouseFlags(), at(e.button.x, e.button.y));
            else if (e.button.button == SDL_BUTTON_RIGHT)
                w->OnRButtonDown(MouseFlags(), at(e.button.x, e.button.y));
            break;
        case SDL_MOUSEBUTTONUP:
            if (e.button.button == SDL_BUTTON_LEFT)
                w->OnLButtonUp(MouseFlags(), at(e.button.x, e.button.y));
            break;
        case SDL_KEYDOWN: {
            const uint32_t repeat = 1 + TakeQueuedRepeats(e.key.keysym.sym);
            const bool wasDown = e.key.repeat || repeat > 1;
            w->OnKeyDown(VirtualKey(e.key.keysym.sym), repeat, wasDown ? 0x4000u : 0u);
            break;
        }
        default:
            break;
        }
    }
    return true;
}

// ---- set-up and test hooks -----------------------------------------------------------

bool InitPlatform() {
    // Blocks made before this are freed by the same free().
    SDL_SetMemoryFunctions(SdlMalloc, SdlCalloc, SdlRealloc, SdlFree);
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "ranqua: cannot open the display: %s\n", SDL_GetError());
        return false;
    }
    // With no display SDL quietly falls back to an invisible driver; a player would see nothing.
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    const bool invisible =
        driver && (SDL_strcmp(driver, "dummy") == 0 || SDL_strcmp(driver, "offscreen") == 0 ||
                   SDL_strcmp(driver, "evdev") == 0);
    if (invisible && !(asked && SDL_strcasecmp(asked, driver) == 0)) {
        std::fprintf(stderr, "ranqua: no display found (is DISPLAY or WAYLAND_DISPLAY set?)\n");
        SDL_Quit();
        return false;
    }
    // Waiting for the player is no reason to keep the screen awake.
    SDL_EnableScreenSaver();
    InstallCloseSignals();
    g_eventBase = SDL_RegisterEvents(kEventCount);
    if (g_eventBase == static_cast<Uint32>(-1)) g_eventBase = 0;
    InitAudio();
    return true;
}

void ShutdownPlatform() {
    SetArtScale(1);
    ShutdownAudio();
    SDL_Quit();
    g_eventBase = 0;
    g_tickPending = false;
}

void SetTimersManual(bool manual) {
    g_manualTimers = manual;
}

void PostTimerTick() {
    if (!g_tickPending.exchange(true)) PushUser(kTick);
}

void PostMusicNotify(const void* musicWindow, int32_t mode, uint32_t track) {
    PushUser(kMusic, mode, const_cast<void*>(musicWindow), track);
}

void SendMusicNotify(const void* musicWindow, int32_t mode) {
    if (g_app && g_app->m_mainWindow) g_app->m_mainWindow->OnMciNotifyMode(musicWindow, mode);
}

// Input is queued in window pixels, as the window system would deliver it: the first
// physical pixel of the logical point.
static Scale MainWindowScale() {
    return g_app && g_app->m_mainWindow ? g_app->m_mainWindow->ScaleFraction() : Scale{};
}

void PostMouseMove(Point p) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    const Scale k = MainWindowScale();
    e.motion.x = k.FirstPhysical(p.x);
    e.motion.y = k.FirstPhysical(p.y);
    SDL_PushEvent(&e);
}

void PostMouseButton(bool left, bool down, Point p) {
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.button = left ? SDL_BUTTON_LEFT : SDL_BUTTON_RIGHT;
    const Scale k = MainWindowScale();
    e.button.x = k.FirstPhysical(p.x);
    e.button.y = k.FirstPhysical(p.y);
    SDL_PushEvent(&e);
}

void PostKeyDown(uint32_t key, bool autoRepeat) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.repeat = autoRepeat ? 1 : 0;
    e.key.keysym.sym = key == kKeySpace ? SDLK_SPACE : static_cast<SDL_Keycode>(key);
    SDL_PushEvent(&e);
}

void PostCloseRequest() {
    SDL_Event e{};
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
}

} // namespace platform
