// config_file.cpp: reading, escaping and rewriting the settings file.
#include "platform/config_file.h"

#include "platform/files.h"

#include <cerrno>
#include <strings.h>
#include <vector>

namespace platform {

namespace {

// Larger files are not ours: reading one gives no values rather than eating memory, and a
// write replaces it.
constexpr size_t kMaxFileSize = 1 << 20;

// The UTF-8 byte-order mark that some editors put before the first line.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::vector<std::string_view> SplitLines(std::string_view text) {
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
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

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// `text` without the bytes at either end for which `drop` holds.
template <typename Drop> std::string_view Trim(std::string_view text, Drop drop) {
    while (!text.empty() && drop(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && drop(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string_view TrimBlanks(std::string_view text) {
    return Trim(text, IsBlank);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A name that would not read back as itself: empty, taken for a comment, trimmed, taken for
// the byte-order mark, or breaking the line.
bool IsStorableName(std::string_view name) {
    if (name.empty() || name[0] == '#' || name[0] == ';') return false;
    if (TrimBlanks(name).size() != name.size() || name.starts_with(kByteOrderMark)) return false;
    for (char c : name)
        if (c == '=' || c == '"' || static_cast<unsigned char>(c) < 0x20) return false;
    return true;
}

[[nodiscard]] bool Fail(int* error, int reason) {
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
    line = TrimBlanks(line);
    if (line.empty() || line[0] == '#' || line[0] == ';') return false;
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) return false;
    const std::string_view n = TrimBlanks(line.substr(0, eq));
    if (n.empty()) return false;
    for (char c : n)
        if (c == '"' || static_cast<unsigned char>(c) < 0x20) return false;
    std::string_view rest = TrimBlanks(line.substr(eq + 1));
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

std::string_view ConfigFile::NameOf(std::string_view line) {
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) return {};
    const std::string_view n =
        Trim(line.substr(0, eq), [](char c) { return static_cast<unsigned char>(c) <= ' '; });
    if (n.empty() || n[0] == '#' || n[0] == ';') return {};
    return n;
}

std::optional<std::string> ConfigFile::Read(std::string_view name) const {
    std::string text;
    if (ReadSmallFile(m_path, text, kMaxFileSize) != ReadResult::kOk) return std::nullopt;
    std::optional<std::string> found;
    std::string n, v;
    for (std::string_view line : SplitLines(text)) {
        if (ParseLine(line, n, v) && SameName(n, name)) found = v; // the last one counts
    }
    return found;
}

bool ConfigFile::Write(std::span<const Value> values, int* error) const {
    for (const auto& [name, value] : values)
        if (!IsStorableName(name)) return Fail(error, EINVAL);
    std::string text;
    // A file that is there but cannot be read may hold values we would lose: leave it alone.
    if (ReadSmallFile(m_path, text, kMaxFileSize) == ReadResult::kUnreadable)
        return Fail(error, errno);
    std::string out;
    std::vector<bool> written(values.size(), false);
    auto put = [&](size_t i) {
        out += std::string(values[i].first) + "=\"" + Escape(values[i].second) + "\"\n";
        written[i] = true;
    };
    for (std::string_view line : SplitLines(text)) {
        // A line naming a value written here is that value's, readable or not: its first line
        // takes the new value and any other goes, so that no name is ever left twice.
        const std::string_view named = NameOf(line);
        size_t i = 0;
        while (i < values.size() && !SameName(named, values[i].first))
            ++i;
        if (i == values.size()) {
            out.append(line);
            out += '\n';
        } else if (!written[i]) {
            put(i);
        }
    }
    for (size_t i = 0; i < values.size(); ++i)
        if (!written[i]) put(i);
    return ReplaceFile(m_path, out, error);
}

std::string ConfigFile::PathForKey(std::string_view key) {
    constexpr std::string_view prefix = "Software\\";
    if (key.size() >= prefix.size() && strncasecmp(key.data(), prefix.data(), prefix.size()) == 0)
        key.remove_prefix(prefix.size());
    std::string rel;
    for (char c : key)
        rel += (c == '\\') ? '/' : c;
    return UserFolder("XDG_CONFIG_HOME", ".config") + "/" + rel + ".conf";
}

} // namespace platform
