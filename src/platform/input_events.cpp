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

// The keys the game tells apart by more than their letter; the keypad's arrows and Enter
// count as the arrows and Return (first of each code: what a test's key stands for).
constexpr struct {
    SDL_Keycode sdl;
    uint32_t key;
} kNamedKeys[] = {
    {SDLK_SPACE, kKeySpace},   {SDLK_RETURN, kKeyReturn}, {SDLK_KP_ENTER, kKeyReturn},
    {SDLK_ESCAPE, kKeyEscape}, {SDLK_LEFT, kKeyLeft},     {SDLK_KP_4, kKeyLeft},
    {SDLK_UP, kKeyUp},         {SDLK_KP_8, kKeyUp},       {SDLK_RIGHT, kKeyRight},
    {SDLK_KP_6, kKeyRight},    {SDLK_DOWN, kKeyDown},     {SDLK_KP_2, kKeyDown},
};

uint32_t VirtualKey(SDL_Keycode k) {
    for (const auto& named : kNamedKeys)
        if (named.sdl == k) return named.key;
    if (k >= SDLK_a && k <= SDLK_z) return static_cast<uint32_t>('A' + (k - SDLK_a));
    if (k >= SDLK_0 && k <= SDLK_9) return static_cast<uint32_t>(k);
    if (k >= SDLK_F1 && k <= SDLK_F12) return kKeyF1 + static_cast<uint32_t>(k - SDLK_F1);
    return 0;
}

SDL_Keycode SdlKey(uint32_t key) {
    for (const auto& named : kNamedKeys)
        if (named.key == key) return named.sdl;
    if (key >= 'A' && key <= 'Z') return static_cast<SDL_Keycode>(SDLK_a + (key - 'A'));
    if (key >= kKeyF1 && key < kKeyF1 + 12)
        return static_cast<SDL_Keycode>(SDLK_F1 + (key - kKeyF1));
    return static_cast<SDL_Keycode>(key);
}

uint32_t KeyFlags(Uint16 mod) {
    uint32_t f = 0;
    if (mod & KMOD_SHIFT) f |= kFlagShift;
    if (mod & KMOD_CTRL) f |= kFlagControl;
    if (mod & KMOD_ALT) f |= kFlagAlt;
    return f;
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
Point ToWindow(Point p) {
    const Application* app = Application::Current();
    return app && app->m_mainWindow ? app->m_mainWindow->CurrentPlacement().ToPhysical(p) : p;
}

} // namespace

void DispatchInput(FrameWindow& w, const SDL_Event& e) {
    const Placement m = w.CurrentPlacement();
    auto at = [&m](Sint32 x, Sint32 y) { return m.ToLogical({x, y}); };
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
        w.OnKeyDown(VirtualKey(e.key.keysym.sym), repeat,
                    KeyFlags(e.key.keysym.mod) | (wasDown ? kFlagKeyWasDown : 0u));
        break;
    }
    default:
        break;
    }
}

void PostMouseMove(Point p) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    const Point at = ToWindow(p);
    e.motion.x = at.x;
    e.motion.y = at.y;
    Queue(e);
}

void PostMouseButton(bool left, bool down, Point p) {
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.button = left ? SDL_BUTTON_LEFT : SDL_BUTTON_RIGHT;
    const Point at = ToWindow(p);
    e.button.x = at.x;
    e.button.y = at.y;
    Queue(e);
}

void PostKeyDown(uint32_t key, bool autoRepeat, uint32_t flags) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.repeat = autoRepeat ? 1 : 0;
    e.key.keysym.sym = SdlKey(key);
    e.key.keysym.mod = static_cast<Uint16>(((flags & kFlagShift) ? KMOD_LSHIFT : 0) |
                                           ((flags & kFlagControl) ? KMOD_LCTRL : 0) |
                                           ((flags & kFlagAlt) ? KMOD_LALT : 0));
    Queue(e);
}

void PostCloseRequest() {
    SDL_Event e{};
    e.type = SDL_QUIT;
    Queue(e);
}

} // namespace platform
