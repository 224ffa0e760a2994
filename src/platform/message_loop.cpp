// message_loop.cpp: the message loop, our own event types and their dispatch to the window.
#include "platform/music.h"
#include "platform/sound.h"
#include "platform/window.h"
#include "platform/window_internal.h"

#include <atomic>
#include <cstdio>

namespace platform {

namespace {

Application* g_app = nullptr;
Uint32 g_eventBase = 0;
std::atomic<bool> g_closeRequested{false};

Uint32 EventType(UserEvent e) {
    return g_eventBase + e;
}

bool IsCloseRequest(const SDL_Event& e) {
    return e.type == SDL_QUIT ||
           (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_CLOSE);
}

// Called for every event as it is queued, on the thread that queues it (before the queue may
// refuse it).
int NoteCloseRequest(void*, SDL_Event* e) {
    if (IsCloseRequest(*e)) g_closeRequested = true;
    return 1;
}

bool IsInput(const SDL_Event& e) {
    return e.type >= SDL_KEYDOWN && e.type <= SDL_MOUSEWHEEL;
}

} // namespace

void WatchCloseRequests() {
    g_closeRequested = false;
    SDL_AddEventWatch(NoteCloseRequest, nullptr);
}

void ForgetCloseRequests() {
    SDL_DelEventWatch(NoteCloseRequest, nullptr);
    g_closeRequested = false;
}

bool CloseRequestPending() {
    return g_closeRequested;
}

void RegisterUserEvents() {
    g_eventBase = SDL_RegisterEvents(kEventCount);
    if (g_eventBase == static_cast<Uint32>(-1)) g_eventBase = 0;
}

void ForgetUserEvents() {
    g_eventBase = 0;
}

bool IsUserEvent(const SDL_Event& e, UserEvent which) {
    return g_eventBase != 0 && e.type == EventType(which);
}

bool PushUser(UserEvent e, Sint32 code, void* data, uintptr_t data2) {
    if (g_eventBase == 0) return false;
    SDL_Event ev{};
    ev.type = EventType(e);
    ev.user.code = code;
    ev.user.data1 = data;
    ev.user.data2 = reinterpret_cast<void*>(data2);
    return SDL_PushEvent(&ev) > 0;
}

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
        bool slept = false;
        while (!m_quit) {
            const int wait = HandleMessages(slept);
            if (m_quit) break;
            // Asleep until a message comes, the next tick that has work is due or the sound
            // device may rest. Waiting for ever fails only when the display is gone.
            if (!SDL_WaitEventTimeout(nullptr, wait) && wait < 0) break;
            slept = true;
        }
    }
    return ExitInstance();
}

void Application::PumpMessages(bool slept) {
    HandleMessages(slept);
}

int Application::HandleMessages(bool slept) {
    int wait = m_mainWindow ? QueueDueTick(*m_mainWindow, slept) : -1;
    SDL_Event e;
    while (!m_quit && SDL_PollEvent(&e)) {
        Dispatch(&e);
        if (m_mainWindow) wait = QueueDueTick(*m_mainWindow, false);
    }
    // The sooner of two waits, -1 (none) being the latest.
    auto sooner = [](int a, int b) { return a < 0 || (b >= 0 && b < a) ? b : a; };
    const int settle = m_mainWindow ? m_mainWindow->SettleWait() : -1;
    return sooner(sooner(wait, RestAudioWhenQuiet()), settle);
}

void Application::Dispatch(const void* event) {
    const SDL_Event& e = *static_cast<const SDL_Event*>(event);
    FrameWindow* w = m_mainWindow;
    if (!w) return;
    // A close request goes before the input still queued, which is dropped: each queued click
    // could run a redraw, each space press a zoom, and a session manager does not wait that long.
    if (g_closeRequested.exchange(false)) {
        SDL_FlushEvents(SDL_KEYDOWN, SDL_MOUSEWHEEL);
        w->OnClose();
        if (m_quit || IsInput(e) || IsCloseRequest(e)) return;
    }
    if (IsCloseRequest(e)) {
        // Handled above when it was queued; this one is what remains of it.
    } else if (IsUserEvent(e, kTick)) {
        DeliverTick(*w);
    } else if (IsUserEvent(e, kAudio)) {
        // A sound ended: the loop has woken to let the device rest.
    } else if (IsUserEvent(e, kMusic)) {
        // The end of a track that was stopped or replaced meanwhile is no news any more.
        const auto track = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(e.user.data2));
        if (track == 0 || track == CurrentMusicTrack())
            w->OnMciNotifyMode(e.user.data1, e.user.code);
    } else if (e.type == SDL_WINDOWEVENT) {
        if (e.window.event == SDL_WINDOWEVENT_EXPOSED)
            w->Repaint();
        else if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
            w->Resized();
    } else {
        DispatchInput(*w, e);
    }
}

void PostMusicNotify(const void* musicWindow, int32_t mode, uint32_t track) {
    // Lost, the end of a track would leave the music silent until it is switched on again.
    if (!PushUser(kMusic, mode, const_cast<void*>(musicWindow), track))
        std::fprintf(stderr, "ranqua: the end of a track was lost: %s\n", SDL_GetError());
}

void SendMusicNotify(const void* musicWindow, int32_t mode) {
    if (g_app && g_app->m_mainWindow) g_app->m_mainWindow->OnMciNotifyMode(musicWindow, mode);
}

} // namespace platform
