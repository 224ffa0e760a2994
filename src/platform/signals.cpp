// signals.cpp: SIGHUP and SIGQUIT as close requests; the exit handler for a lost display.
#include "platform/window.h"
#include "platform/window_internal.h"

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace platform {

namespace {

// SIGHUP (the terminal that started the game was closed) and SIGQUIT are close requests too,
// so that the closing sequence saves the switches. SDL turns SIGTERM into one; passing the
// signal on as SIGTERM is safe inside a handler, where SDL's queue must not be touched.
void CloseRequestSignal(int) {
    ::kill(::getpid(), SIGTERM);
}

} // namespace

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

// The display library ends the process with exit() when the display connection breaks, from
// inside whatever call noticed it. The message loop never ends then, so this is where the
// switches are written.
// More than one thread may notice the broken connection and call exit() at once, and a second
// exit() runs on through the handlers still listed and ends the process, in the middle of the
// write. So the handler is listed once for every thread that can reach the display (the message
// loop, and the timer and sound threads, whose events wake it): the first one in writes and
// ends the process itself, and any other waits here until it has.
constexpr int kDisplayThreads = 3;

void ExitWithoutQuit() {
    static std::mutex exiting;
    std::unique_lock<std::mutex> lock(exiting);
    Application* app = Application::Current();
    if (!app || !app->m_running || app->m_quit) return;
    app->m_running = false;
    std::fprintf(stderr, "ranqua: the connection to the display was lost; saving the switches "
                         "and ending\n");
    app->OnDisplayLost();
    std::fflush(nullptr);
    ::_exit(1);
}

void ListDisplayLostHandler() {
    static std::once_flag listed;
    std::call_once(listed, [] {
        for (int i = 0; i < kDisplayThreads; ++i)
            std::atexit(ExitWithoutQuit);
    });
}

} // namespace platform
