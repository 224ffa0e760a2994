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

// At most one tick waits in the queue. A tick that cannot be queued (a queue full of input)
// is not pending: otherwise no tick would ever be queued again.
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
    // No thread for it under a process limit, say: the game plays on without fades and links.
    if (!m_timerId)
        std::fprintf(stderr,
                     "ranqua: cannot start the timer (%s); menu fades, banners and links "
                     "stay still\n",
                     SDL_GetError());
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
