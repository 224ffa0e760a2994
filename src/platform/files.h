// files.h: the few file-system services the game uses.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// Names (no folder) of the regular entries of `folder` whose name ends in `suffix`, compared
// without regard to case, in byte order of the names. A missing folder gives none.
std::vector<std::string> ListFiles(const std::string& folder, const std::string& suffix);
// Changes the working folder; false if it cannot.
bool ChangeDirectory(const std::string& path);
std::string CurrentDirectory();
// A descriptor open for reading on `path`, or -1 (errno saying why: EISDIR, EINVAL for any
// other kind) when it cannot be opened or is not a regular file (links followed). Checked on the
// opened descriptor, and the open itself never blocks (O_NONBLOCK), even on a FIFO with no writer:
// a FIFO or a device would block or never end.
int OpenRegularFile(const std::string& path);
// The whole file, or nothing when it cannot be read, is not a regular file (a FIFO, a device,
// a folder) or is larger than `maxBytes`; with `keepHead` a larger file gives its first
// `maxBytes` bytes instead.
std::optional<std::vector<uint8_t>>
ReadFileBytes(const std::string& path, size_t maxBytes = 64u << 20, bool keepHead = false);

} // namespace platform
