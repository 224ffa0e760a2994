// registry_store.h: text values under the game's settings key.
#pragma once

#include <string>
#include <utility>
#include <vector>

class RegistryStore {
public:
    // The key is kKeyBase followed by the game's name, with no separator added.
    static constexpr const char* kKeyBase = "Software\\Brindlewood\\Quorvale\\Marbalo\\";

    explicit RegistryStore(const std::string& gameName);

    // Stores the text. A failure leaves the old value and returns false, with the system's
    // words for the reason in `reason` when given.
    bool WriteString(const std::string& valueName, const std::string& text,
                     std::string* reason = nullptr) const;
    // Stores several (name, text) pairs in one write: all of them, or on failure none.
    bool WriteStrings(const std::vector<std::pair<std::string, std::string>>& values,
                      std::string* reason = nullptr) const;
    // The stored text up to its first zero byte; the empty text when missing or unreadable.
    std::string ReadString(const std::string& valueName) const;

    const std::string& FilePath() const { return m_path; }

private:
    std::string m_path;
};
