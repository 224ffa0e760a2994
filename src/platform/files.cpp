// files.cpp: POSIX directory listing and file reading.
#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <algorithm>
#include <strings.h>

namespace platform {

std::vector<std::string> ListFiles(const std::string& folder, const std::string& suffix) {
    std::vector<std::string> names;
    DIR* d = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!d) return names;
    while (dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name.size() < suffix.size() || name == "." || name == "..") continue;
        if (strcasecmp(name.c_str() + name.size() - suffix.size(), suffix.c_str()) != 0) continue;
        struct stat st {};
        const std::string full = folder.empty() ? name : folder + "/" + name;
        // Regular files only (links followed): a FIFO or device would block whoever opens it.
        if (::stat(full.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        names.push_back(name);
    }
    ::closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}

bool ChangeDirectory(const std::string& path) {
    return ::chdir(path.c_str()) == 0;
}

std::string CurrentDirectory() {
    char buf[4096];
    return ::getcwd(buf, sizeof buf) ? std::string(buf) : std::string();
}

int OpenRegularFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int reason = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        ::close(fd);
        errno = reason;
        return -1;
    }
    return fd;
}

std::optional<std::vector<uint8_t>> ReadFileBytes(const std::string& path, size_t maxBytes,
                                                  bool keepHead) {
    const int fd = OpenRegularFile(path);
    if (fd < 0) return std::nullopt;
    const struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    std::vector<uint8_t> data;
    uint8_t buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        if (n == 0) return data;
        const auto got = static_cast<size_t>(n);
        if (data.size() + got > maxBytes) {
            if (!keepHead) return std::nullopt;
            data.insert(data.end(), buf, buf + (maxBytes - data.size()));
            return data;
        }
        data.insert(data.end(), buf, buf + got);
    }
}

} // namespace platform
