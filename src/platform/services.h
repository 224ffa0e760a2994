// services.h: what tests put in place of the desktop's services, installed and removed whole.
#pragma once

#include "platform/geometry.h"
#include "platform/message_box.h"
#include "platform/music.h"
#include "platform/shell.h"

#include <optional>

namespace platform {

class Clock;
class SoundPlayer;

// Every member left as it is means the real service. (Each has an initializer, so that a test
// may name only the members it sets.)
struct Services {
    Clock* clock = nullptr;        // the caller keeps ownership
    SoundPlayer* sounds = nullptr; // the caller keeps ownership
    MusicPlayerFactory music{};
    MessageBoxHandler messageBox{};
    ShellHandler shell{};
    std::optional<Size> display{}; // the physical display's size, as if it were this one
    std::optional<int> artScale{}; // compose at this art scale whatever the display says
    bool manualTimers = false;     // timers tick only when PostTimerTick says so
    bool wakeEveryTick = false;    // the timer wakes for every tick, whether it has work or not
};

// The services in force: those of the innermost ServicesScope, or the real ones.
const Services& CurrentServices();

// Puts `services` in force for as long as it lives; what was in force before comes back when
// it ends. Scopes nest. A test may change its services on the way (scope->clock = &other).
class ServicesScope {
public:
    explicit ServicesScope(Services services = {});
    ~ServicesScope();
    ServicesScope(const ServicesScope&) = delete;
    ServicesScope& operator=(const ServicesScope&) = delete;

    Services* operator->() { return &m_services; }
    Services& operator*() { return m_services; }

private:
    Services m_services;
    const Services* m_previous;
};

} // namespace platform
