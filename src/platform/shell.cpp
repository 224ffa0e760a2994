// shell.cpp: opens an address with xdg-open, as one argument and never through a shell.
#include "platform/shell.h"

#include "platform/services.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <vector>

extern char** environ;

namespace platform {

namespace {
std::vector<pid_t> g_children;

// Collects openers that have finished, so none is left as a zombie.
void ReapChildren() {
    for (auto it = g_children.begin(); it != g_children.end();) {
        int status = 0;
        if (::waitpid(*it, &status, WNOHANG) != 0)
            it = g_children.erase(it);
        else
            ++it;
    }
}
} // namespace

bool OpenAddress(const std::string& address) {
    if (address.empty() || address[0] == '-') return false;
    if (const auto& replaced = CurrentServices().shell) {
        replaced(address);
        return true;
    }
    ReapChildren();
    std::string program = "xdg-open";
    std::vector<char*> argv{program.data(), const_cast<char*>(address.c_str()), nullptr};
    // The opener gets the usual broken-pipe and file-size signals that the game ignores.
    posix_spawnattr_t attr;
    if (::posix_spawnattr_init(&attr) != 0) return false;
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGXFSZ);
    ::posix_spawnattr_setsigdefault(&attr, &defaults);
    ::posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF);
    pid_t pid = 0;
    const int failed = ::posix_spawnp(&pid, "xdg-open", nullptr, &attr, argv.data(), environ);
    ::posix_spawnattr_destroy(&attr);
    if (failed != 0) return false;
    g_children.push_back(pid);
    return true;
}

} // namespace platform
