// input_events.cpp: mouse and key events for the window (repeats folded), and queued by tests.
#include "platform/window.h"
#include "platform/window_internal.h"

#include <cstdio>

namespace platform {

namespace {

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
    if (k == SDLK_ESCAPE) return kKeyEscape;
    if (k == SDLK_F2) return kKeyF2;
    return 0;
}

// Auto-repeats of `key` waiting in the queue, taken out of it: the desktop's keyboard queue
// folds repeats the program has not read yet into one key-down with a repeat count, so that
// a held key cannot pile up seconds of one-second animations behind it. Only a repeat takes
// the repeats behind it, never a fresh press: two real presses a moment apart reach us as a
// press and a repeat (the release between them lost), and each must count.
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

// Input queued for a test that the queue does not take fails that test; this says why.
void Queue(SDL_Event& e) {
    if (SDL_PushEvent(&e) <= 0)
        std::fprintf(stderr, "ranqua: input was not queued: %s\n", SDL_GetError());
}

// Input is queued in window pixels, as the window system would deliver it: the first
// physical pixel of the logical point.
Scale MainWindowScale() {
    const Application* app = Application::Current();
    return app && app->m_mainWindow ? app->m_mainWindow->ScaleFraction() : Scale{};
}

} // namespace

void DispatchInput(FrameWindow& w, const SDL_Event& e) {
    const Scale k = w.ScaleFraction();
    auto at = [&k](Sint32 x, Sint32 y) { return Point{k.ToLogical(x), k.ToLogical(y)}; };
    switch (e.type) {
    case SDL_MOUSEMOTION:
        w.OnMouseMove(MouseFlags(), at(e.motion.x, e.motion.y));
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (e.button.button == SDL_BUTTON_LEFT)
            w.OnLButtonDown(MouseFlags(), at(e.button.x, e.button.y));
        else if (e.button.button == SDL_BUTTON_RIGHT)
            w.OnRButtonDown(MouseFlags(), at(e.button.x, e.button.y));
        break;
    case SDL_MOUSEBUTTONUP:
        if (e.button.button == SDL_BUTTON_LEFT)
            w.OnLButtonUp(MouseFlags(), at(e.button.x, e.button.y));
        break;
    case SDL_KEYDOWN: {
        const bool wasDown = e.key.repeat != 0;
        const uint32_t repeat = wasDown ? 1 + TakeQueuedRepeats(e.key.keysym.sym) : 1;
        w.OnKeyDown(VirtualKey(e.key.keysym.sym), repeat, wasDown ? kFlagKeyWasDown : 0u);
        break;
    }
    default:
        break;
    }
}

void PostMouseMove(Point p) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    const Scale k = MainWindowScale();
    e.motion.x = k.FirstPhysical(p.x);
    e.motion.y = k.FirstPhysical(p.y);
    Queue(e);
}

void PostMouseButton(bool left, bool down, Point p) {
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.button = left ? SDL_BUTTON_LEFT : SDL_BUTTON_RIGHT;
    const Scale k = MainWindowScale();
    e.button.x = k.FirstPhysical(p.x);
    e.button.y = k.FirstPhysical(p.y);
    Queue(e);
}

void PostKeyDown(uint32_t key, bool autoRepeat) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.repeat = autoRepeat ? 1 : 0;
    e.key.keysym.sym = key == kKeySpace ? SDLK_SPACE
                       : key == kKeyF2  ? SDLK_F2
                                        : static_cast<SDL_Keycode>(key);
    Queue(e);
}

void PostCloseRequest() {
    SDL_Event e{};
    e.type = SDL_QUIT;
    Queue(e);
}

} // namespace platform
