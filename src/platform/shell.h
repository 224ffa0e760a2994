// shell.h: hands an address to the desktop's opener; tests replace it with a recorder.
#pragma once

#include <functional>
#include <string>

namespace platform {

// Starts `xdg-open address` without a shell and without waiting. Addresses that are empty or
// begin with '-' (they would be taken for an option) are not opened. Returns whether it started.
[[nodiscard]] bool OpenAddress(const std::string& address);

// What tests hand addresses to instead (services.h).
using ShellHandler = std::function<void(const std::string&)>;

} // namespace platform
