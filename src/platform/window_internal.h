// window_internal.h: what the window's own files share; nothing outside src/platform/ sees it.
#pragma once

#include "platform/display.h"
#include "platform/geometry.h"
#include "platform/window.h"

#include <SDL.h>

#include <cstdint>

namespace platform {

// Our own event types (message_loop.cpp), registered by InitPlatform; none is queued before.
enum UserEvent : Uint32 { kTick = 0, kMusic = 1, kAudio = 2, kEventCount = 3 };
void RegisterUserEvents();
void ForgetUserEvents();
bool IsUserEvent(const SDL_Event& e, UserEvent which);
// False when the event could not be queued (SDL's queue is full, or there are no event types).
[[nodiscard]] bool PushUser(UserEvent e, Sint32 code = 0, void* data = nullptr,
                            uintptr_t data2 = 0);

// A close request (SDL_QUIT from SIGTERM or SIGINT, or the window's close) is noted the moment
// it is queued, even when the queue is too full to hold it (message_loop.cpp). The loop takes it
// before whatever input still waits; a message box only looks.
void WatchCloseRequests();
void ForgetCloseRequests();
bool CloseRequestPending();

// Mouse and key events to the window's handlers, in logical pixels (input_events.cpp).
void DispatchInput(FrameWindow& w, const SDL_Event& e);

// A tick taken out of the queue, for the window's timer; the next may be queued (timer.cpp).
void DeliverTick(FrameWindow& w);
// Queues the timer's tick if one is due; `slept` says the loop has just slept with nothing
// queued. Returns how long the loop may wait for the next tick that has work (ms; -1: as long
// as no message comes).
int QueueDueTick(const FrameWindow& w, bool slept);
void ForgetPendingTick();

// SIGHUP and SIGQUIT as close requests, and the end for a lost display (signals.cpp).
void InstallCloseSignals();
// A write to a pipe nobody reads any more, or beyond the file-size limit, fails (EPIPE, EFBIG)
// instead of ending the game: stderr may lead to a log reader that went away, and a save
// beyond the limit is told like any other failed save (signals.cpp).
void IgnoreWriteSignals();
void InstallDisplayLostHandler();

// The libraries under SDL keep their own messages off stderr; before SDL starts (chatter.cpp).
void QuietLibraries();
// A window of its own: of `size`, or one that suits the display covered at `covering` (0 x 0),
// within the usable area; and where it goes, in the middle of that (window_mode.cpp).
Size WindowSizeFor(Size size, const Scale& covering);
Rect CentredWindow(Size size);

// The physical pixels that show logical `r` (window_present.cpp).
Rect PhysicalRect(const Scale& s, const Rect& r, Size window);

} // namespace platform
