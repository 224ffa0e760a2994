// config_file.h: the per-user settings file that stands in for a registry key of text values.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace platform {

// One file of `Name="value"` lines. Values are 8-bit text: inside the quotes `\\` is a
// backslash, `\"` a quote and `\xHH` any control byte, 0x7F or byte of 0x80 and above.
// Spaces and tabs around the name, the `=` and the quoted value, and a UTF-8 byte-order mark
// before the first line (an editor's), are allowed. Names match without regard to case. Lines
// that are blank, comments (# or ;) or do not parse are skipped on reading and kept as they are
// when the file is rewritten, except a line naming a value that is written: that value's line.
class ConfigFile {
public:
    using Value = std::pair<std::string_view, std::string_view>; // name, text

    explicit ConfigFile(std::string path) : m_path(std::move(path)) {}

    // The value, or nothing when the file or the value is missing or unreadable.
    [[nodiscard]] std::optional<std::string> Read(std::string_view name) const;
    // Rewrites the whole file through a temporary file and a rename, creating the folders.
    // Returns false (leaving the old file as it was) when that fails, when the file is there
    // but cannot be read, or when a name could not be read back (empty, starting with # or ;,
    // a blank at either end, or holding =, " or a control character); `error` then gets the
    // errno value of why.
    // A symbolic link at the path stays a link: its target is rewritten, with its permissions.
    [[nodiscard]] bool Write(std::string_view name, std::string_view value,
                             int* error = nullptr) const {
        const Value one{name, value};
        return Write(std::span(&one, 1), error);
    }
    // Several values in one rewrite: all of them are stored, or none.
    [[nodiscard]] bool Write(std::span<const Value> values, int* error = nullptr) const;

    const std::string& Path() const { return m_path; }

    // The file for a registry-style key, "Software\A\B\C\Name" →
    // ${XDG_CONFIG_HOME:-$HOME/.config}/A/B/C/Name.conf; without HOME, the home folder of the
    // user's password entry.
    static std::string PathForKey(std::string_view key);

    static std::string Escape(std::string_view value);
    // Parses one line; false when it is not a value line.
    [[nodiscard]] static bool ParseLine(std::string_view line, std::string& name,
                                        std::string& value);
    // The name a line gives before its first `=`, whether its value can be read or not (blanks
    // and control bytes at either end left out); empty for comments and lines without `=`.
    static std::string_view NameOf(std::string_view line);

private:
    std::string m_path;
};

} // namespace platform
