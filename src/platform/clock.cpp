// clock.cpp: the real clock on SDL's tick count and performance counter.
#include "platform/clock.h"

#include "platform/services.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace platform {

namespace {

class RealClock : public Clock {
public:
    uint32_t TickCount() override { return SDL_GetTicks(); }
    uint64_t Counter() override { return SDL_GetPerformanceCounter(); }
    uint64_t CounterFrequency() override { return SDL_GetPerformanceFrequency(); }
    int64_t TimeSeconds() override { return static_cast<int64_t>(std::time(nullptr)); }
    void Pause(uint64_t counts) override {
        const uint64_t ms = counts * 1000 / SDL_GetPerformanceFrequency();
        // Sleep a little less than asked: the caller re-reads the counter anyway.
        if (ms > 1) SDL_Delay(static_cast<Uint32>(ms - 1));
    }
};

RealClock g_realClock;

} // namespace

Clock& GetClock() {
    Clock* replaced = CurrentServices().clock;
    return replaced ? *replaced : g_realClock;
}

std::string LocalDate(int64_t seconds) {
    ::tzset(); // localtime_r need not look at TZ again by itself
    const auto t = static_cast<time_t>(seconds);
    tm local{};
    if (!::localtime_r(&t, &local)) {
        local = tm{};
        local.tm_mday = 1;
        local.tm_year = 70;
    }
    // Four digits whatever the clock says, so that the date always reads back.
    const int year = std::clamp(local.tm_year + 1900, 0, 9999);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, local.tm_mon + 1, local.tm_mday);
    return text;
}

} // namespace platform
