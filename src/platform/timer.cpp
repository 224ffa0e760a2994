// timer.cpp: the window's one timer, whose ticks coalesce in the queue, or ticks a test fires.
#include "platform/services.h"
#include "platform/window.h"
#include "platform/window_internal.h"

#include <atomic>
#include <cstdio>

namespace platform {

namespace {

std::atomic<bool> g_tickPending{false};
uint32_t g_timerIdValue = 1;

// A tick the queue did not take is not pending: the next one is queued in its place.
void QueueTick() {
    if (!g_tickPending.exchange(true) && !PushUser(kTick)) g_tickPending = false;
}

Uint32 TimerCallback(Uint32 interval, void*) {
    QueueTick();
    return interval;
}

} // namespace

void FrameWindow::SetTimer(uint32_t id, uint32_t ms) {
    KillTimer();
    g_timerIdValue = id;
    if (CurrentServices().manualTimers) return;
    m_timerId = SDL_AddTimer(ms, TimerCallback, nullptr);
    // Nothing would move on screen: at least say why.
    if (m_timerId == 0)
        std::fprintf(stderr, "ranqua: cannot start the timer: %s\n", SDL_GetError());
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
    QueueTick();
}

} // namespace platform
