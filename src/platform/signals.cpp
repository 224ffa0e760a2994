// signals.cpp: SIGHUP and SIGQUIT as close requests; the end for a lost display.
#include "platform/window.h"
#include "platform/window_internal.h"

#include <signal.h>
#include <unistd.h>

// Last: Xlib defines macros (None, Bool, Status) that nothing after it should see.
#include <X11/Xlib.h>

namespace platform {

namespace {

// SIGHUP (the terminal that started the game was closed) and SIGQUIT are close requests too,
// so that the closing sequence saves the switches. SDL turns SIGTERM into one; passing the
// signal on as SIGTERM is safe inside a handler, where SDL's queue must not be touched.
void CloseRequestSignal(int) {
    ::kill(::getpid(), SIGTERM);
}

} // namespace

void IgnoreWriteSignals() {
    ::signal(SIGPIPE, SIG_IGN);
    ::signal(SIGXFSZ, SIG_IGN);
}

void InstallCloseSignals() {
    struct sigaction sa {};
    sa.sa_handler = CloseRequestSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGHUP, SIGQUIT}) {
        struct sigaction old {};
        // A signal the caller chose to ignore (nohup) stays ignored.
        if (::sigaction(sig, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
        ::sigaction(sig, &sa, nullptr);
    }
}

void EndForLostDisplay() {
    static const char line[] = "ranqua: the connection to the display was lost; ending\n";
    // write(2) rather than stdio, whose lock another thread may hold; nothing to do if it fails.
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, line, sizeof line - 1);
    ::_exit(1);
}

namespace {

// Without this handler the display library calls exit() when its connection breaks, from
// inside whichever call noticed it: the message loop's, or SDL's timer or sound thread waking
// the loop. exit() would then run exit handlers and destructors on that thread while the game
// goes on on its own, and two threads may call it at once.
int DisplayLost(Display*) {
    EndForLostDisplay();
}

} // namespace

void InstallDisplayLostHandler() {
    XSetIOErrorHandler(DisplayLost);
}

} // namespace platform
