// timer.cpp: the window's one timer, whose ticks coalesce in the queue, or ticks a test fires.
#include "platform/services.h"
#include "platform/window.h"
#include "platform/window_internal.h"

#include <atomic>

namespace platform {

namespace {

std::atomic<bool> g_tickPending{false};
uint32_t g_timerIdValue = 1;

Uint32 TimerCallback(Uint32 interval, void*) {
    if (!g_tickPending.exchange(true)) PushUser(kTick);
    return interval;
}

} // namespace

void FrameWindow::SetTimer(uint32_t id, uint32_t ms) {
    KillTimer();
    g_timerIdValue = id;
    if (!CurrentServices().manualTimers) m_timerId = SDL_AddTimer(ms, TimerCallback, nullptr);
}

void FrameWindow::KillTimer() {
    if (m_timerId) SDL_RemoveTimer(m_timerId);
    m_timerId = 0;
}

void DeliverTick(FrameWindow& w) {
    g_tickPending = false;
    w.OnTimer(g_timerIdValue);
}

void ForgetPendingTick() {
    g_tickPending = false;
}

void PostTimerTick() {
    if (!g_tickPending.exchange(true)) PushUser(kTick);
}

} // namespace platform
