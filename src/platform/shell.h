// shell.h: hands an address to the desktop's opener; tests replace it with a recorder.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace platform {

// Starts `xdg-open address` without a shell and without waiting. Addresses that are empty or
// begin with '-' (they would be taken for an option) are not opened. While an opener started
// for the same address still runs, nothing more is started. Returns false for an address that
// is refused or an opener that cannot be started; true when one started or one still runs.
// Every opener is reaped as soon as it ends.
[[nodiscard]] bool OpenAddress(const std::string& address);
// The openers started that have not ended yet.
size_t OpenersRunning();

// What tests hand addresses to instead (services.h).
using ShellHandler = std::function<void(const std::string&)>;

} // namespace platform
