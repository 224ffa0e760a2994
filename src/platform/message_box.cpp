// message_box.cpp: a message box shown by a helper process, also echoed to stderr for terminal
// users. The helper keeps the game responsive to a close request while the box is open, and
// never outlives the game.
#include "platform/message_box.h"

#include "platform/services.h"

#include <SDL.h>

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

namespace platform {

namespace {

constexpr int kHelperFailed = 127;

// The helper's whole process group (itself and whatever the box library starts) goes when the
// game goes, even when the game is killed outright.
void EndHelperGroup(int) {
    ::kill(0, SIGKILL);
}

// A signal or the window manager asked the game to close; the request stays queued.
bool CloseRequested() {
    SDL_PumpEvents();
    if (SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_QUIT, SDL_QUIT) > 0) return true;
    SDL_Event events[32];
    const int n = SDL_PeepEvents(events, 32, SDL_PEEKEVENT, SDL_WINDOWEVENT, SDL_WINDOWEVENT);
    for (int i = 0; i < n; ++i)
        if (events[i].window.event == SDL_WINDOWEVENT_CLOSE) return true;
    return false;
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
    // Should SDL's own box fail too, the text is on stderr already: there is no better place.
    if (!ShowInHelper(text))
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, "Ranqua", text.c_str(), nullptr);
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
