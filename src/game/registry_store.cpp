// registry_store.cpp: the settings key mapped onto the per-user settings file.
#include "game/registry_store.h"

#include "platform/config_file.h"

RegistryStore::RegistryStore(const std::string& gameName)
    : m_path(platform::ConfigFile::PathForKey(std::string(kKeyBase) + gameName)) {}

void RegistryStore::WriteString(const std::string& valueName, const std::string& text) const {
    platform::ConfigFile(m_path).Write(valueName, text);
}

std::string RegistryStore::ReadString(const std::string& valueName) const {
    const auto value = platform::ConfigFile(m_path).Read(valueName);
    if (!value) return {};
    const size_t zero = value->find('\0');
    return zero == std::string::npos ? *value : value->substr(0, zero);
}
