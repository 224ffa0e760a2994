// timer.cpp: the window's one timer, whose ticks coalesce in the queue, or ticks a test fires.
//
// The message loop keeps the timer: ticks fall on the times set + k * period, and a tick is
// queued when its time has come and none waits. A tick that would find nothing to do (the
// window says so) and no message before it is not queued at all, so the loop can sleep until
// the first tick that has work: the window sees the same ticks at the same times as with a
// timer that woke for every one.
#include "platform/clock.h"
#include "platform/services.h"
#include "platform/window.h"
#include "platform/window_internal.h"

#include <optional>

namespace platform {

namespace {

bool g_tickPending = false;
uint32_t g_timerIdValue = 1;
const FrameWindow* g_owner = nullptr;
uint32_t g_period = 0;   // 0: no timer
uint32_t g_nextTick = 0; // the time of the next tick that may be queued
uint32_t g_delivered = 0;

bool Before(uint32_t a, uint32_t b) {
    return static_cast<int32_t>(a - b) < 0;
}

// The first tick time later than `t`, and not before the next tick.
uint32_t TickAfter(uint32_t t) {
    if (Before(t, g_nextTick)) return g_nextTick;
    return g_nextTick + (t - g_nextTick) / g_period * g_period + g_period;
}

TimerWork WorkOf(const FrameWindow& w) {
    return CurrentServices().wakeEveryTick ? TimerWork{} : w.PendingTimerWork();
}

// The first tick time at which a tick has work, if any.
std::optional<uint32_t> WorkTick(const TimerWork& work) {
    switch (work.kind) {
    case TimerWork::kEveryTick:
        return g_nextTick;
    case TimerWork::kAfter:
        return TickAfter(work.after);
    case TimerWork::kNone:
        break;
    }
    return std::nullopt;
}

// Whether a tick handled at `now` has work.
bool HasWork(const TimerWork& work, uint32_t now) {
    return work.kind == TimerWork::kEveryTick ||
           (work.kind == TimerWork::kAfter && static_cast<int32_t>(now - work.after) > 0);
}

bool QueueEmpty() {
    return SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) <= 0;
}

} // namespace

void FrameWindow::SetTimer(uint32_t id, uint32_t ms) {
    g_owner = this;
    g_timerIdValue = id;
    g_period = ms;
    g_nextTick = GetClock().TickCount() + ms;
}

void FrameWindow::KillTimer() {
    if (g_owner != this) return;
    g_owner = nullptr;
    g_period = 0;
}

int QueueDueTick(const FrameWindow& w, bool slept) {
    if (CurrentServices().manualTimers || g_period == 0 || g_tickPending) return -1;
    const uint32_t now = GetClock().TickCount();
    const TimerWork work = WorkOf(w);
    std::optional<uint32_t> due = WorkTick(work);
    if (slept) {
        // The ticks that fell while the loop slept with nothing queued would have come and
        // gone at once, with nothing to do; one falling just now may come after what woke it.
        const uint32_t next = TickAfter(now - 1);
        g_nextTick = due && Before(*due, next) ? *due : next;
    }
    if (!Before(now, g_nextTick)) {
        // A tick is due. Messages queued before it may start what it then does.
        if (HasWork(work, now) || !QueueEmpty()) {
            // A queue full of input refuses it; it is queued again once the loop has drained some.
            g_tickPending = PushUser(kTick);
            return -1;
        }
        g_nextTick = TickAfter(now);
        due = WorkTick(work);
    }
    if (!due) return -1;
    return static_cast<int>(static_cast<int32_t>(*due - now));
}

void DeliverTick(FrameWindow& w) {
    ++g_delivered;
    g_tickPending = false;
    if (g_period != 0) g_nextTick = TickAfter(GetClock().TickCount());
    w.OnTimer(g_timerIdValue);
}

uint32_t DeliveredTicks() {
    return g_delivered;
}

void ForgetPendingTick() {
    g_tickPending = false;
}

void PostTimerTick() {
    // A tick the queue refuses is not pending: otherwise no tick would ever be queued again.
    if (!g_tickPending) g_tickPending = PushUser(kTick);
}

} // namespace platform
