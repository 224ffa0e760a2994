// startup.cpp: SDL started (its large blocks on our allocator) and ended, with sound and signals.
#include "platform/memory.h"
#include "platform/sound.h"
#include "platform/surface.h"
#include "platform/window.h"
#include "platform/window_internal.h"

#include <cstdio>
#include <cstdlib>
#include <iterator>

namespace platform {

namespace {

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

// Docks and task switchers find the desktop entry (and its icon) by the window's class under
// X11 and its app id under Wayland, which SDL takes from these variables as the video starts.
// A name the player set stays; ours is set only while SDL starts, so that the programs the
// game starts (the browser behind xdg-open) do not take it over.
constexpr const char* kWindowClass = "net.ranqua.Ranqua";
constexpr const char* kWindowClassVariables[] = {"SDL_VIDEO_X11_WMCLASS",
                                                 "SDL_VIDEO_WAYLAND_WMCLASS"};

int InitSdlNamed(Uint32 flags) {
    bool set[std::size(kWindowClassVariables)] = {};
    for (size_t i = 0; i < std::size(kWindowClassVariables); ++i)
        set[i] = !std::getenv(kWindowClassVariables[i]) &&
                 ::setenv(kWindowClassVariables[i], kWindowClass, 0) == 0;
    SDL_SetHint(SDL_HINT_APP_NAME, "Ranqua");
    const int rc = SDL_Init(flags);
    for (size_t i = 0; i < std::size(kWindowClassVariables); ++i)
        if (set[i]) ::unsetenv(kWindowClassVariables[i]);
    return rc;
}

} // namespace

bool InitPlatform() {
    IgnoreWriteSignals();
    QuietLibraries();
    // Blocks made before this are freed by the same free().
    SDL_SetMemoryFunctions(SdlMalloc, SdlCalloc, SdlRealloc, SdlFree);
    // Hints before SDL starts a thread: its list of hints has no lock, and the audio thread
    // reads it as it starts.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // We compose every pixel ourselves: a GL-backed window surface would only add a software
    // GL stack (about 90 MB resident under X11, and leaks at exit) for the same copies.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (InitSdlNamed(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "ranqua: cannot open the display: %s\n", SDL_GetError());
        return false;
    }
    WatchCloseRequests();
    // With no display SDL quietly falls back to an invisible driver; a player would see nothing.
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    const bool invisible =
        driver && (SDL_strcmp(driver, "dummy") == 0 || SDL_strcmp(driver, "offscreen") == 0 ||
                   SDL_strcmp(driver, "evdev") == 0);
    if (invisible && !(asked && SDL_strcasecmp(asked, driver) == 0)) {
        std::fprintf(stderr, "ranqua: no display found (is DISPLAY or WAYLAND_DISPLAY set?)\n");
        ForgetCloseRequests();
        SDL_Quit();
        return false;
    }
    // Waiting for the player is no reason to keep the screen awake.
    SDL_EnableScreenSaver();
    InstallCloseSignals();
    InstallDisplayLostHandler();
    RegisterUserEvents();
    InitAudio();
    return true;
}

void ShutdownPlatform() {
    SetArtScale(1);
    ShutdownAudio();
    ForgetCloseRequests();
    SDL_Quit();
    ForgetUserEvents();
    ForgetPendingTick();
}

} // namespace platform
