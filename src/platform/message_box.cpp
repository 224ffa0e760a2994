// message_box.cpp: a message box shown by a helper process, also echoed to stderr for terminal
// users. The helper keeps the game responsive to a close request while the box is open, and
// never outlives the game.
#include "platform/message_box.h"

#include "platform/services.h"
#include "platform/window_internal.h"

#include <SDL.h>

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <iterator>

namespace platform {

namespace {

constexpr int kHelperFailed = 127;

// The helper's whole process group (itself and whatever the box library starts) goes when the
// game goes, even when the game is killed outright.
void EndHelperGroup(int) {
    ::kill(0, SIGKILL);
}

// A signal or the window manager asked the game to close; the request stays for the loop.
bool CloseRequested() {
    SDL_PumpEvents(); // a signal becomes a request here
    return CloseRequestPending();
}

// A close request while the box runs in the game's own process, whose loop is then SDL's box:
// the game ends at once, rather than hold the close until the box is answered (a session
// manager would kill it outright meanwhile).
void EndOnCloseSignal(int) {
    static const char line[] = "ranqua: asked to close while a message box was open; ending\n";
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, line, sizeof line - 1);
    ::_exit(0);
}

// No helper could be started (a process limit, say), so the box runs here, and SIGTERM, SIGINT,
// SIGHUP and SIGQUIT end the game for as long as it is open.
void ShowHere(const std::string& text) {
    constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP, SIGQUIT};
    struct sigaction ending {};
    ending.sa_handler = EndOnCloseSignal;
    sigemptyset(&ending.sa_mask);
    struct sigaction old[std::size(kSignals)] = {};
    bool armed[std::size(kSignals)] = {};
    for (size_t i = 0; i < std::size(kSignals); ++i) {
        // A signal the caller chose to ignore (nohup) stays ignored.
        if (::sigaction(kSignals[i], nullptr, &old[i]) != 0 || old[i].sa_handler == SIG_IGN)
            continue;
        armed[i] = ::sigaction(kSignals[i], &ending, nullptr) == 0;
    }
    // One that came before the box is the loop's to handle.
    if (!CloseRequested())
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, "Ranqua", text.c_str(), nullptr);
    for (size_t i = 0; i < std::size(kSignals); ++i)
        if (armed[i]) ::sigaction(kSignals[i], &old[i], nullptr);
}

// Shows the box in a helper process; returns false when no helper could run it. A close
// request that arrives meanwhile closes the box and stays queued for the message loop.
[[nodiscard]] bool ShowInHelper(const std::string& text) {
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid < 0) return false;
    if (pid == 0) {
        ::setsid();
        ::prctl(PR_SET_PDEATHSIG, SIGHUP);
        if (::getppid() != parent) ::_exit(kHelperFailed);
        ::execl("/proc/self/exe", "ranqua", kMessageBoxHelperArgument, text.c_str(),
                static_cast<char*>(nullptr));
        ::_exit(kHelperFailed);
    }
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) break;
        if (done < 0) return true;
        if (CloseRequested()) {
            ::kill(-pid, SIGKILL);
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return true;
        }
        SDL_Delay(20);
    }
    return !(WIFEXITED(status) && WEXITSTATUS(status) == kHelperFailed);
}

} // namespace

void MessageBox(const std::string& text) {
    if (const auto& replaced = CurrentServices().messageBox) return replaced(text);
    std::fprintf(stderr, "ranqua: %s\n", text.c_str());
    if (!ShowInHelper(text)) ShowHere(text);
}

int RunMessageBoxHelper(const char* text) {
    struct sigaction sa {};
    sa.sa_handler = EndHelperGroup;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGHUP, &sa, nullptr);
    if (::getppid() == 1) return 0; // the game is gone already
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return kHelperFailed;
    const int rc =
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, "Ranqua", text, nullptr) == 0 ? 0 : 1;
    if (rc) std::fprintf(stderr, "ranqua: cannot show a message box: %s\n", SDL_GetError());
    SDL_Quit();
    return rc;
}

} // namespace platform
