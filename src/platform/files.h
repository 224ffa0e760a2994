// files.h: the few file-system services the game uses.
#pragma once

#include "platform/owned.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Names (no folder) of the regular entries of `folder` whose name ends in `suffix`, compared
// without regard to case, in byte order of the names. A missing folder gives none.
std::vector<std::string> ListFiles(const std::string& folder, const std::string& suffix);
// Changes the working folder; false if it cannot.
[[nodiscard]] bool ChangeDirectory(const std::string& path);
std::string CurrentDirectory();
// A descriptor open for reading on `path`, or none (errno saying why: EISDIR, EINVAL for any
// other kind) when it cannot be opened or is not a regular file (links followed). Checked on the
// opened descriptor, and the open itself never blocks (O_NONBLOCK), even on a FIFO with no writer:
// a FIFO or a device would block or never end.
[[nodiscard]] UniqueFd OpenRegularFile(const std::string& path);
// A file itself, whatever name it is reached by.
struct FileIdentity {
    uint64_t device = 0;
    uint64_t inode = 0;
    auto operator<=>(const FileIdentity&) const = default;
};
// The file an open descriptor reads; nothing when it cannot be told.
[[nodiscard]] std::optional<FileIdentity> IdentifyFile(const UniqueFd& fd);
// The whole file, or nothing when it cannot be read, is not a regular file (a FIFO, a device,
// a folder) or is larger than `maxBytes` (errno saying why: ENOENT when there is none, EFBIG
// when it is too large); with `keepHead` a larger file gives its first `maxBytes` bytes instead.
[[nodiscard]] std::optional<std::vector<uint8_t>>
ReadFileBytes(const std::string& path, size_t maxBytes = 64u << 20, bool keepHead = false);
// The same from a file already open (OpenRegularFile), from where it stands.
[[nodiscard]] std::optional<std::vector<uint8_t>>
ReadFileBytes(const UniqueFd& fd, size_t maxBytes = 64u << 20, bool keepHead = false);

enum class ReadResult { kOk, kMissing, kTooLarge, kUnreadable };
// A regular file of at most `maxBytes` into `out`, which stays empty unless kOk. kUnreadable
// (errno saying why) for a file that is there but cannot be read or is not a regular file.
[[nodiscard]] ReadResult ReadSmallFile(const std::string& path, std::string& out, size_t maxBytes);

// Replaces the file at `path` by `contents` through a temporary file beside it, flushed to disk
// and renamed over the old one, so that a crash or a full disk leaves the old file or the new
// one, never a mixture; the folder is synced after the rename. The folders are made when
// missing. A symbolic link at the path stays a link: the file it leads to is replaced, and keeps
// its permissions. Temporary files of ours that a killed writer left beside the file are removed
// once a minute old. Returns false (errno value in `error`) leaving the old file as it was.
[[nodiscard]] bool ReplaceFile(const std::string& path, std::string_view contents,
                               int* error = nullptr);

// Reads the file at `path` (empty text when missing), lets `change` edit the text, and replaces
// the file with the result (ReplaceFile) unless `change` returns false, all under an exclusive
// lock on the file's folder: two programs doing so at once each see the other's change. Waits
// a few seconds at most for the lock. A file that is there but cannot be read, or is larger
// than `maxBytes`, is not replaced. Returns false (errno value in `error`) when nothing was
// written, except when `change` declined.
[[nodiscard]] bool UpdateFileLocked(const std::string& path, size_t maxBytes,
                                    const std::function<bool(std::string& text)>& change,
                                    int* error = nullptr);

// A per-user base folder by the XDG rules: the value of `variable` when it is an absolute path,
// else the home folder followed by `underHome` (".config", ".local/share"). Without HOME, or
// with a relative one, the home folder of the user's password entry.
std::string UserFolder(const char* variable, const char* underHome);

} // namespace platform
