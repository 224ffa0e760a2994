// config_file.cpp: reading, escaping and the atomic rewrite of the settings file.
#include "platform/config_file.h"

#include "platform/files.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <strings.h>
#include <vector>

namespace platform {

namespace {

// Larger files are not ours: reading one gives no values rather than eating memory, and a
// write replaces it.
constexpr size_t kMaxFileSize = 1 << 20;

enum class ReadResult { kOk, kMissing, kTooLarge, kUnreadable };

// Only a regular file is read; a FIFO or device at the path must not block or stream forever.
// On failure errno holds the reason.
ReadResult ReadWhole(const std::string& path, std::string& out) {
    out.clear();
    const int fd = OpenRegularFile(path);
    if (fd < 0) return errno == ENOENT ? ReadResult::kMissing : ReadResult::kUnreadable;
    ReadResult result = ReadResult::kOk;
    char buf[8192];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            result = ReadResult::kUnreadable;
            break;
        }
        if (n == 0) break;
        out.append(buf, static_cast<size_t>(n));
        if (out.size() > kMaxFileSize) {
            result = ReadResult::kTooLarge;
            break;
        }
    }
    const int reason = errno;
    ::close(fd);
    errno = reason;
    if (result != ReadResult::kOk) out.clear();
    return result;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool WriteAll(int fd, const std::string& data) {
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

bool MakeFolders(const std::string& path) {
    for (size_t i = 1; i < path.size(); ++i) {
        if (path[i] != '/') continue;
        const std::string part = path.substr(0, i);
        if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
    return true;
}

// A name that would not read back as itself: empty, taken for a comment, or breaking the line.
bool IsStorableName(std::string_view name) {
    if (name.empty() || name[0] == '#' || name[0] == ';') return false;
    for (char c : name)
        if (c == '=' || c == '"' || static_cast<unsigned char>(c) < 0x20) return false;
    return true;
}

// A settings file kept as a symbolic link (into a repository of dotfiles, say) stays one: the
// file that is rewritten is the one the link leads to. Links to links are followed too.
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

bool Fail(int* error, int reason) {
    if (error) *error = reason;
    return false;
}

} // namespace

std::string ConfigFile::Escape(std::string_view value) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : value) {
        if (c == '\\' || c == '"') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7F) {
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

bool ConfigFile::ParseLine(std::string_view line, std::string& name, std::string& value) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line[0] == '#' || line[0] == ';') return false;
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos || eq == 0) return false;
    std::string_view n = line.substr(0, eq);
    for (char c : n)
        if (c == '"' || static_cast<unsigned char>(c) < 0x20) return false;
    std::string_view rest = line.substr(eq + 1);
    if (rest.size() < 2 || rest.front() != '"' || rest.back() != '"') return false;
    rest = rest.substr(1, rest.size() - 2);
    std::string v;
    for (size_t i = 0; i < rest.size(); ++i) {
        const char c = rest[i];
        if (c == '"') return false;
        if (c != '\\') {
            v += c;
            continue;
        }
        if (++i >= rest.size()) return false;
        if (rest[i] == '\\' || rest[i] == '"') {
            v += rest[i];
        } else if (rest[i] == 'x' && i + 2 < rest.size() && HexDigit(rest[i + 1]) >= 0 &&
                   HexDigit(rest[i + 2]) >= 0) {
            v += static_cast<char>(HexDigit(rest[i + 1]) * 16 + HexDigit(rest[i + 2]));
            i += 2;
        } else {
            return false;
        }
    }
    name.assign(n);
    value = std::move(v);
    return true;
}

std::optional<std::string> ConfigFile::Read(std::string_view name) const {
    std::string text;
    if (ReadWhole(m_path, text) != ReadResult::kOk) return std::nullopt;
    std::optional<std::string> found;
    std::string n, v;
    for (std::string_view line : SplitLines(text)) {
        if (ParseLine(line, n, v) && SameName(n, name)) found = v; // the last one counts
    }
    return found;
}

bool ConfigFile::Write(std::string_view name, std::string_view value, int* error) const {
    if (!IsStorableName(name)) return Fail(error, EINVAL);
    const std::string path = FollowLinks(m_path);
    std::string text;
    // A file that is there but cannot be read may hold values we would lose: leave it alone.
    if (ReadWhole(path, text) == ReadResult::kUnreadable) return Fail(error, errno);
    std::string out;
    bool written = false;
    std::string n, v;
    for (std::string_view line : SplitLines(text)) {
        if (ParseLine(line, n, v) && SameName(n, name)) {
            if (written) continue; // one value a name
            out += std::string(name) + "=\"" + Escape(value) + "\"\n";
            written = true;
        } else {
            out.append(line);
            out += '\n';
        }
    }
    if (!written) out += std::string(name) + "=\"" + Escape(value) + "\"\n";

    if (!MakeFolders(path)) return Fail(error, errno);
    // The new file keeps the old one's permissions: a file made private stays private.
    mode_t mode = 0644;
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0) mode = old.st_mode & 07777;
    // A fresh, unguessable name (O_EXCL): never a stale or planted file of the same name.
    std::string tmp = path + ".XXXXXX";
    const int fd = ::mkstemp(tmp.data());
    if (fd < 0) return Fail(error, errno);
    bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, out) && ::fsync(fd) == 0;
    int reason = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
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
    return true;
}

std::string ConfigFile::PathForKey(std::string_view key) {
    std::string base;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') {
        base = xdg;
    } else {
        // Without HOME the password entry knows the home folder; the folder the game happened to
        // be started from is never the place for settings.
        const char* home = std::getenv("HOME");
        if (!home || !*home) {
            const passwd* pw = ::getpwuid(::getuid());
            home = pw && pw->pw_dir && *pw->pw_dir ? pw->pw_dir : nullptr;
        }
        base = std::string(home ? home : ".") + "/.config";
    }
    constexpr std::string_view prefix = "Software\\";
    if (key.size() >= prefix.size() && strncasecmp(key.data(), prefix.data(), prefix.size()) == 0)
        key.remove_prefix(prefix.size());
    std::string rel;
    for (char c : key)
        rel += (c == '\\') ? '/' : c;
    return base + "/" + rel + ".conf";
}

} // namespace platform
