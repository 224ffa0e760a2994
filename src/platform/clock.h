// clock.h: every reading of time goes through here, so tests can step it exactly.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since start, 32-bit: wraps after about 49.7 days.
    virtual uint32_t TickCount() = 0;
    // High-resolution counter and its counts per second.
    virtual uint64_t Counter() = 0;
    virtual uint64_t CounterFrequency() = 0;
    // Wall-clock time in seconds, used once to seed the generator.
    virtual int64_t TimeSeconds() = 0;
    // Gives the processor away for about `counts`; a test clock returns at once.
    virtual void Pause(uint64_t counts) = 0;
};

// The real clock, or the one the services in force give (services.h).
Clock& GetClock();

// The local date of a time in seconds as YYYY-MM-DD, in the time zone in force now (TZ).
std::string LocalDate(int64_t seconds);

// A clock for tests: every Counter() read moves it on by `step` counts, so a blocking
// animation of d seconds runs about d * frequency / step frames and then ends.
class ManualClock : public Clock {
public:
    explicit ManualClock(uint64_t frequency = 1000, uint64_t step = 100)
        : m_frequency(frequency), m_step(step) {}
    uint32_t TickCount() override { return m_ticks; }
    uint64_t Counter() override { return m_counter += m_step; }
    uint64_t CounterFrequency() override { return m_frequency; }
    int64_t TimeSeconds() override { return m_seconds; }
    void Pause(uint64_t) override {}

    void SetTicks(uint32_t ms) { m_ticks = ms; }
    void AdvanceTicks(uint32_t ms) { m_ticks += ms; }
    void SetSeconds(int64_t s) { m_seconds = s; }
    void SetStep(uint64_t step) { m_step = step; }
    uint64_t counterReads() const { return m_counter / (m_step ? m_step : 1); }

protected:
    void Reset(uint64_t counter) { m_counter = counter; }

private:
    uint64_t m_frequency;
    uint64_t m_step;
    uint64_t m_counter = 0;
    uint32_t m_ticks = 0;
    int64_t m_seconds = 0;
};

} // namespace platform
