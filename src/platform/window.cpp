// window.cpp: SDL2 window, event translation and the message loop.
#include "platform/window.h"

#include "platform/display.h"
#include "platform/sound.h"

#include <SDL.h>

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {

Application* g_app = nullptr;
bool g_manualTimers = false;
std::atomic<bool> g_tickPending{false};
uint32_t g_timerIdValue = 1;
Uint32 g_eventBase = 0;

enum UserEvent : Uint32 { kTick = 0, kMusic = 1, kPaint = 2, kEventCount = 3 };

Uint32 EventType(UserEvent e) {
    return g_eventBase + e;
}

void PushUser(UserEvent e, Sint32 code = 0, void* data = nullptr) {
    if (g_eventBase == 0) return;
    SDL_Event ev{};
    ev.type = EventType(e);
    ev.user.code = code;
    ev.user.data1 = data;
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

} // namespace

// The display library ends the process with exit() when the display connection breaks, from
// inside whatever call noticed it. The message loop never ends then, so this is where the
// switches are written.
void ExitWithoutQuit() {
    Application* app = g_app;
    if (!app || !app->m_running || app->m_quit) return;
    app->m_running = false;
    std::fprintf(stderr, "ranqua: the connection to the display was lost; saving the switches "
                         "and ending\n");
    app->OnDisplayLost();
}

// ---- FrameWindow ----------------------------------------------------------------------

FrameWindow::FrameWindow() = default;

FrameWindow::~FrameWindow() {
    KillTimer();
    if (m_window) SDL_DestroyWindow(static_cast<SDL_Window*>(m_window));
}

bool FrameWindow::Create(const std::string& title, const Rect& rect, ResourceData icon) {
    m_scale = DisplayScale(PhysicalDisplaySize());
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // We compose every pixel ourselves: a GL-backed window surface would only add a software
    // GL stack (about 90 MB resident under X11, and leaks at exit) for the same copies.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_Window* w = SDL_CreateWindow(title.c_str(), rect.left * m_scale, rect.top * m_scale,
                                     rect.Width() * m_scale, rect.Height() * m_scale,
                                     SDL_WINDOW_BORDERLESS | SDL_WINDOW_SHOWN);
    if (!w) {
        std::fprintf(stderr, "ranqua: cannot create the window: %s\n", SDL_GetError());
        return false;
    }
    m_window = w;
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

uint32_t FrameWindow::WindowId() const {
    return m_window ? SDL_GetWindowID(static_cast<SDL_Window*>(m_window)) : 0;
}

void FrameWindow::PresentRect(const Surface& surface, const Rect& rect) {
    if (!m_window) return;
    SDL_Window* w = static_cast<SDL_Window*>(m_window);
    SDL_Surface* ws = SDL_GetWindowSurface(w);
    if (!ws) return;
    const int k = m_scale;
    const Rect r = rect.Intersect(surface.Bounds()).Intersect({0, 0, ws->w / k, ws->h / k});
    if (r.IsEmpty()) return;
    if (SDL_MUSTLOCK(ws)) SDL_LockSurface(ws);
    const bool direct = ws->format->BytesPerPixel == 4 && ws->format->Rmask == 0x00FF0000 &&
                        ws->format->Gmask == 0x0000FF00 && ws->format->Bmask == 0x000000FF;
    for (int32_t y = r.top; y < r.bottom; ++y) {
        const uint32_t* src = surface.Row(y);
        for (int dy = 0; dy < k; ++dy) {
            uint8_t* rowBytes = static_cast<uint8_t*>(ws->pixels) + (y * k + dy) * ws->pitch;
            if (direct) {
                uint32_t* dst = reinterpret_cast<uint32_t*>(rowBytes);
                if (k == 1 && ws->format->Amask == 0) {
                    // The window ignores the top byte: whole rows go across as they are.
                    SDL_memcpy(dst + r.left, src + r.left, static_cast<size_t>(r.Width()) * 4);
                } else if (k == 1) {
                    for (int32_t x = r.left; x < r.right; ++x)
                        dst[x] = src[x] | 0xFF000000u;
                } else {
                    for (int32_t x = r.left; x < r.right; ++x)
                        for (int dx = 0; dx < k; ++dx)
                            dst[x * k + dx] = src[x] | 0xFF000000u;
                }
            } else {
                for (int32_t x = r.left; x < r.right; ++x) {
                    const uint32_t c = src[x];
                    const Uint32 v =
                        SDL_MapRGB(ws->format, (c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
                    for (int dx = 0; dx < k; ++dx)
                        SDL_memcpy(rowBytes + (x * k + dx) * ws->format->BytesPerPixel, &v,
                                   ws->format->BytesPerPixel);
                }
            }
        }
    }
    if (SDL_MUSTLOCK(ws)) SDL_UnlockSurface(ws);
    SDL_Rect sr{r.left * k, r.top * k, r.Width() * k, r.Height() * k};
    SDL_UpdateWindowSurfaceRects(w, &sr, 1);
}

void FrameWindow::FillWindow(const Rect& rect, uint32_t rgb) {
    if (!m_window) return;
    SDL_Window* w = static_cast<SDL_Window*>(m_window);
    SDL_Surface* ws = SDL_GetWindowSurface(w);
    if (!ws) return;
    const int k = m_scale;
    SDL_Rect sr{rect.left * k, rect.top * k, rect.Width() * k, rect.Height() * k};
    SDL_FillRect(ws, &sr,
                 SDL_MapRGB(ws->format, (rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
    SDL_UpdateWindowSurfaceRects(w, &sr, 1);
}

uint32_t FrameWindow::WindowPixel(int32_t x, int32_t y) const {
    if (!m_window) return 0;
    SDL_Surface* ws = SDL_GetWindowSurface(static_cast<SDL_Window*>(m_window));
    const int k = m_scale;
    if (!ws || x < 0 || y < 0 || x * k >= ws->w || y * k >= ws->h) return 0;
    const uint8_t* p = static_cast<const uint8_t*>(ws->pixels) + y * k * ws->pitch +
                       x * k * ws->format->BytesPerPixel;
    Uint32 v = 0;
    SDL_memcpy(&v, p, ws->format->BytesPerPixel);
    Uint8 r, g, b;
    SDL_GetRGB(v, ws->format, &r, &g, &b);
    return Rgb(r, g, b);
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
        static const bool guarded = std::atexit(ExitWithoutQuit) == 0;
        (void)guarded;
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
    const int k = w->m_scale > 0 ? w->m_scale : 1;
    if (g_eventBase != 0 && e.type == EventType(kTick)) {
        g_tickPending = false;
        w->OnTimer(g_timerIdValue);
    } else if (g_eventBase != 0 && e.type == EventType(kMusic)) {
        w->OnMciNotifyMode(e.user.data1, e.user.code);
    } else if (g_eventBase != 0 && e.type == EventType(kPaint)) {
        w->OnPaint();
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
            w->OnMouseMove(MouseFlags(), {e.motion.x / k, e.motion.y / k});
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.button == SDL_BUTTON_LEFT)
                w->OnLButtonDown(MouseFlags(), {e.button.x / k, e.button.y / k});
            else if (e.button.button == SDL_BUTTON_RIGHT)
                w->OnRButtonDown(MouseFlags(), {e.button.x / k, e.button.y / k});
            break;
        case SDL_MOUSEBUTTONUP:
            if (e.button.button == SDL_BUTTON_LEFT)
                w->OnLButtonUp(MouseFlags(), {e.button.x / k, e.button.y / k});
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

void PostMusicNotify(const void* musicWindow, int32_t mode) {
    PushUser(kMusic, mode, const_cast<void*>(musicWindow));
}

// Input is queued in window pixels, as the window system would deliver it.
static int MainWindowScale() {
    return g_app && g_app->m_mainWindow ? g_app->m_mainWindow->Scale() : 1;
}

void PostMouseMove(Point p) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    const int k = MainWindowScale();
    e.motion.x = p.x * k;
    e.motion.y = p.y * k;
    SDL_PushEvent(&e);
}

void PostMouseButton(bool left, bool down, Point p) {
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.button = left ? SDL_BUTTON_LEFT : SDL_BUTTON_RIGHT;
    const int k = MainWindowScale();
    e.button.x = p.x * k;
    e.button.y = p.y * k;
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

void PostPaint() {
    PushUser(kPaint);
}

} // namespace platform
