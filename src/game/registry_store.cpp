// registry_store.cpp: the settings key mapped onto the per-user settings file.
#include "game/registry_store.h"

#include "platform/config_file.h"

#include <cstring>

RegistryStore::RegistryStore(const std::string& gameName)
    : m_path(platform::ConfigFile::PathForKey(std::string(kKeyBase) + gameName)) {}

bool RegistryStore::WriteString(const std::string& valueName, const std::string& text,
                                std::string* reason) const {
    return WriteStrings({{valueName, text}}, reason);
}

bool RegistryStore::WriteStrings(const std::vector<std::pair<std::string, std::string>>& values,
                                 std::string* reason) const {
    const std::vector<platform::ConfigFile::Value> views(values.begin(), values.end());
    int error = 0;
    if (platform::ConfigFile(m_path).Write(views, &error)) return true;
    if (reason) *reason = std::strerror(error);
    return false;
}

std::string RegistryStore::ReadString(const std::string& valueName) const {
    const auto value = platform::ConfigFile(m_path).Read(valueName);
    if (!value) return {};
    const size_t zero = value->find('\0');
    return zero == std::string::npos ? *value : value->substr(0, zero);
}
