// files.cpp: POSIX directory listing, file reading, and the atomic, locked rewrite of a file.
#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>

#include <algorithm>
#include <memory>
#include <strings.h>

namespace platform {

namespace {

[[nodiscard]] bool WriteAll(int fd, std::string_view data) {
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) errno = EIO;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Every folder above the file named by `path`.
[[nodiscard]] bool MakeFolders(const std::string& path) {
    for (size_t i = 1; i < path.size(); ++i) {
        if (path[i] != '/') continue;
        const std::string part = path.substr(0, i);
        if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A file kept as a symbolic link (into a repository of dotfiles, say) stays one: the file that
// is rewritten is the one the link leads to. Links to links are followed too.
std::string FollowLinks(const std::string& path) {
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        char target[4096];
        const ssize_t n = ::readlink(current.c_str(), target, sizeof target - 1);
        if (n < 0) return current;
        target[n] = '\0';
        if (target[0] == '/') {
            current = target;
        } else {
            const size_t slash = current.rfind('/');
            current = (slash == std::string::npos ? std::string() : current.substr(0, slash + 1)) +
                      target;
        }
    }
    return current;
}

[[nodiscard]] bool Fail(int* error, int reason) {
    if (error) *error = reason;
    return false;
}

// An exclusive lock on an open folder, waiting at most about five seconds: another game holds
// it only while it rewrites one small file, and one that hangs must not hang us too.
[[nodiscard]] bool LockWithin(int fd) {
    for (int tries = 0; tries < 500; ++tries) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
        if (errno != EWOULDBLOCK && errno != EINTR) return false;
        const timespec pause{0, 10'000'000};
        ::nanosleep(&pause, nullptr);
    }
    errno = EWOULDBLOCK;
    return false;
}

struct DirClose {
    void operator()(DIR* d) const {
        // A folder only read from has nothing to report when it closes.
        static_cast<void>(::closedir(d));
    }
};

// The temporary file of a replacement: "<file>.writing-" and mkstemp's six letters or digits,
// a name nobody else gives a file.
constexpr std::string_view kTemporaryMark = ".writing-";

// A writer killed between mkstemp and rename leaves its temporary file behind. One of ours that
// has not changed for a minute has no writer left; a younger one may still be in use.
void RemoveStaleTemporaries(const std::string& path) {
    const std::string folder = FolderOf(path);
    const std::string prefix = path.substr(path.rfind('/') + 1) + std::string(kTemporaryMark);
    const std::unique_ptr<DIR, DirClose> d(::opendir(folder.c_str()));
    if (!d) return;
    const time_t now = ::time(nullptr);
    while (const dirent* e = ::readdir(d.get())) {
        const std::string_view name = e->d_name;
        if (name.size() != prefix.size() + 6 || !name.starts_with(prefix)) continue;
        struct stat st {};
        if (::fstatat(::dirfd(d.get()), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (S_ISREG(st.st_mode) && st.st_uid == ::geteuid() && now - st.st_mtime > 60)
            ::unlinkat(::dirfd(d.get()), e->d_name, 0);
    }
}

// After the rename the folder holds the new name; only syncing the folder makes that last
// through a power cut. A file system that cannot sync a folder has done what it can.
void SyncFolder(const std::string& path) {
    const UniqueFd fd(::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd) static_cast<void>(::fsync(fd.Get()));
}

} // namespace

std::vector<std::string> ListFiles(const std::string& folder, const std::string& suffix) {
    std::vector<std::string> names;
    const std::unique_ptr<DIR, DirClose> d(::opendir(folder.empty() ? "." : folder.c_str()));
    if (!d) return names;
    while (dirent* e = ::readdir(d.get())) {
        const std::string name = e->d_name;
        if (name.size() < suffix.size() || name == "." || name == "..") continue;
        if (strcasecmp(name.c_str() + name.size() - suffix.size(), suffix.c_str()) != 0) continue;
        struct stat st {};
        const std::string full = folder.empty() ? name : folder + "/" + name;
        // Regular files only (links followed): a FIFO or device would block whoever opens it.
        if (::stat(full.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        names.push_back(name);
    }
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

UniqueFd OpenRegularFile(const std::string& path) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!fd) return fd;
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        const int reason = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        fd = UniqueFd();
        errno = reason;
    }
    return fd;
}

std::optional<FileIdentity> IdentifyFile(const UniqueFd& fd) {
    struct stat st {};
    if (!fd || ::fstat(fd.Get(), &st) != 0) return std::nullopt;
    return FileIdentity{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
}

std::optional<std::vector<uint8_t>> ReadFileBytes(const std::string& path, size_t maxBytes,
                                                  bool keepHead) {
    const UniqueFd fd = OpenRegularFile(path);
    if (!fd) return std::nullopt;
    return ReadFileBytes(fd, maxBytes, keepHead);
}

std::optional<std::vector<uint8_t>> ReadFileBytes(const UniqueFd& fd, size_t maxBytes,
                                                  bool keepHead) {
    if (!fd) {
        errno = EBADF;
        return std::nullopt;
    }
    std::vector<uint8_t> data;
    uint8_t buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd.Get(), buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        if (n == 0) return data;
        const auto got = static_cast<size_t>(n);
        if (data.size() + got > maxBytes) {
            if (!keepHead) {
                errno = EFBIG;
                return std::nullopt;
            }
            data.insert(data.end(), buf, buf + (maxBytes - data.size()));
            return data;
        }
        data.insert(data.end(), buf, buf + got);
    }
}

ReadResult ReadSmallFile(const std::string& path, std::string& out, size_t maxBytes) {
    out.clear();
    const auto bytes = ReadFileBytes(path, maxBytes);
    if (!bytes) {
        if (errno == ENOENT) return ReadResult::kMissing;
        return errno == EFBIG ? ReadResult::kTooLarge : ReadResult::kUnreadable;
    }
    out.assign(bytes->begin(), bytes->end());
    return ReadResult::kOk;
}

bool ReplaceFile(const std::string& linkedPath, std::string_view contents, int* error) {
    const std::string path = FollowLinks(linkedPath);
    if (!MakeFolders(path)) return Fail(error, errno);
    RemoveStaleTemporaries(path);
    // The new file keeps the old one's permissions: a file made private stays private.
    mode_t mode = 0644;
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0) mode = old.st_mode & 07777;
    // A fresh, unguessable name (O_EXCL): never a stale or planted file of the same name.
    std::string tmp = path + std::string(kTemporaryMark) + "XXXXXX";
    UniqueFd fd(::mkstemp(tmp.data()));
    if (!fd) return Fail(error, errno);
    bool ok =
        ::fchmod(fd.Get(), mode) == 0 && WriteAll(fd.Get(), contents) && ::fsync(fd.Get()) == 0;
    int reason = ok ? 0 : errno;
    if (!fd.Close() && ok) {
        ok = false;
        reason = errno;
    }
    if (ok && ::rename(tmp.c_str(), path.c_str()) != 0) {
        ok = false;
        reason = errno;
    }
    if (!ok) {
        ::unlink(tmp.c_str());
        return Fail(error, reason);
    }
    SyncFolder(path);
    return true;
}

bool UpdateFileLocked(const std::string& path, size_t maxBytes,
                      const std::function<bool(std::string& text)>& change, int* error) {
    if (!MakeFolders(path)) return Fail(error, errno);
    // The folder, not the file: the file is replaced by a rename, and a lock on the old one
    // would not keep the next writer out.
    // Closing it releases the lock.
    const UniqueFd folder(::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder) return Fail(error, errno);
    if (!LockWithin(folder.Get())) return Fail(error, errno);
    std::string text;
    switch (ReadSmallFile(path, text, maxBytes)) {
    case ReadResult::kOk:
    case ReadResult::kMissing:
        break;
    case ReadResult::kTooLarge:
        return Fail(error, EFBIG);
    case ReadResult::kUnreadable:
        return Fail(error, errno);
    }
    if (!change(text)) return true;
    return ReplaceFile(path, text, error);
}

std::string UserFolder(const char* variable, const char* underHome) {
    const char* set = std::getenv(variable);
    if (set && set[0] == '/') return set;
    // A relative HOME would put the player's files wherever the game was started from.
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/') {
        const passwd* pw = ::getpwuid(::getuid());
        home = pw && pw->pw_dir && *pw->pw_dir ? pw->pw_dir : nullptr;
    }
    return std::string(home ? home : ".") + "/" + underHome;
}

} // namespace platform
