// chatter.cpp: the libraries under SDL keep their own messages off stderr, where only the
// game's lines belong. (libasound is quieted where the sound starts, sound.cpp.)
#include "platform/window_internal.h"

#include <dlfcn.h>
#include <mpg123.h>

#include <cstdarg>

namespace platform {

namespace {

extern "C" void IgnoreWaylandLog(const char*, va_list) {}

using WaylandLogHandler = void (*)(const char*, va_list);
using WaylandSetLogHandler = void (*)(WaylandLogHandler);

void* g_wayland = nullptr;

} // namespace

// libwayland-client says "XDG_RUNTIME_DIR is invalid or not set" while SDL merely probes for a
// Wayland display, and SDL handles the failure. SDL loads the library at run time, so we load
// it first, keep it loaded, and give it a log handler that says nothing. Without the library
// there is nothing to quiet.
void QuietLibraries() {
    if (g_wayland) return;
    g_wayland = dlopen("libwayland-client.so.0", RTLD_NOW | RTLD_LOCAL);
    if (!g_wayland) return;
    auto set =
        reinterpret_cast<WaylandSetLogHandler>(dlsym(g_wayland, "wl_log_set_handler_client"));
    if (set) set(IgnoreWaylandLog);
}

} // namespace platform

// libmpg123 writes notes and warnings about damaged MP3 data ("Illegal Audio-MPEG-Header",
// "Xing stream size off") to stderr unless a decoder is made quiet, and SDL_mixer makes its
// decoders without a word about that. The program's own symbols come before any library's, so
// this is the mpg123_new that SDL_mixer calls: the library's own makes the decoder, and it is
// made quiet before SDL_mixer sees it.
extern "C" mpg123_handle* mpg123_new(const char* decoder, int* error) {
    using New = mpg123_handle* (*)(const char*, int*);
    using Param = int (*)(mpg123_handle*, enum mpg123_parms, long, double);
    static const auto real = reinterpret_cast<New>(dlsym(RTLD_NEXT, "mpg123_new"));
    static const auto param = reinterpret_cast<Param>(dlsym(RTLD_NEXT, "mpg123_param"));
    if (!real) {
        if (error) *error = MPG123_ERR;
        return nullptr;
    }
    mpg123_handle* handle = real(decoder, error);
    if (handle && param) param(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
    return handle;
}
