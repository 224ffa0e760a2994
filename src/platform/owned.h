// owned.h: descriptors, pictures and the window the platform layer holds, freed by their owners.
#pragma once

#include <memory>
#include <utility>

// Only declared here: their headers stay inside src/platform/.
union pixman_image;
struct SDL_Window;

namespace platform {

// A file descriptor, closed when its owner ends (errno stays as it was).
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : m_fd(fd) {}
    ~UniqueFd();
    UniqueFd(UniqueFd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        UniqueFd(std::move(other)).Swap(*this);
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int Get() const { return m_fd; }
    explicit operator bool() const { return m_fd >= 0; }
    // Hands the descriptor to a new owner.
    [[nodiscard]] int Release() { return std::exchange(m_fd, -1); }
    // Closes it now, for a file just written, whose close may be what reports the failure;
    // false (errno saying why) when it did.
    [[nodiscard]] bool Close();
    void Swap(UniqueFd& other) noexcept { std::swap(m_fd, other.m_fd); }

private:
    int m_fd = -1;
};

struct PixmanImageRelease {
    void operator()(pixman_image* image) const;
};
using PixmanImagePtr = std::unique_ptr<pixman_image, PixmanImageRelease>;

struct SdlWindowRelease {
    void operator()(SDL_Window* window) const;
};
using SdlWindowPtr = std::unique_ptr<SDL_Window, SdlWindowRelease>;

} // namespace platform
