// owned.cpp: how the platform layer's owned resources are given back.
#include "platform/owned.h"

#include <SDL.h>
#include <pixman.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

UniqueFd::~UniqueFd() {
    if (m_fd < 0) return;
    const int reason = errno;
    // A descriptor only read from has nothing to report when it closes.
    static_cast<void>(::close(m_fd));
    errno = reason;
}

bool UniqueFd::Close() {
    return ::close(std::exchange(m_fd, -1)) == 0;
}

void PixmanImageRelease::operator()(pixman_image* image) const {
    // The result says whether this was the last reference: nothing to act on.
    static_cast<void>(pixman_image_unref(image));
}

void SdlWindowRelease::operator()(SDL_Window* window) const {
    SDL_DestroyWindow(window);
}

} // namespace platform
