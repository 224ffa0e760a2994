// message_box.cpp: SDL's simple message box, also echoed to stderr for terminal users.
#include "platform/message_box.h"

#include <SDL.h>

#include <cstdio>

namespace platform {

namespace {
MessageBoxHandler g_handler;
}

void SetMessageBoxHandler(MessageBoxHandler handler) {
    g_handler = std::move(handler);
}

void MessageBox(const std::string& text) {
    if (g_handler) return g_handler(text);
    std::fprintf(stderr, "ranqua: %s\n", text.c_str());
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, "Ranqua", text.c_str(), nullptr);
}

} // namespace platform
