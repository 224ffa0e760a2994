// shell.cpp: opens an address with xdg-open, as one argument and never through a shell.
#include "platform/shell.h"

#include "platform/services.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <mutex>
#include <set>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

extern char** environ;

namespace platform {

namespace {

// The openers that still run, by address. Never destroyed: a thread that waits for an opener
// may still take the lock while the process ends.
struct Openers {
    std::mutex mutex;
    std::set<std::string> running;
    // Openers no thread waits for (none could be started): collected at the next open.
    std::vector<std::pair<pid_t, std::string>> unwatched;
};
Openers& GetOpeners() {
    static Openers* const openers = new Openers;
    return *openers;
}

// Collects the unwatched openers that have finished, so none is left as a zombie.
void ReapUnwatched(Openers& o) {
    for (auto it = o.unwatched.begin(); it != o.unwatched.end();) {
        int status = 0;
        if (::waitpid(it->first, &status, WNOHANG) != 0) {
            o.running.erase(it->second);
            it = o.unwatched.erase(it);
        } else {
            ++it;
        }
    }
}

// Waits on its own thread for an opener to end: it is reaped at once, and its address may be
// opened again.
void Watch(pid_t pid, const std::string& address) {
    Openers& o = GetOpeners();
    try {
        std::thread([pid, address, &o] {
            int status = 0;
            while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
            const std::lock_guard lock(o.mutex);
            o.running.erase(address);
        }).detach();
    } catch (const std::system_error&) {
        o.unwatched.emplace_back(pid, address);
    }
}

} // namespace

bool OpenAddress(const std::string& address) {
    if (address.empty() || address[0] == '-') return false;
    if (const auto& replaced = CurrentServices().shell) {
        replaced(address);
        return true;
    }
    Openers& o = GetOpeners();
    const std::lock_guard lock(o.mutex);
    ReapUnwatched(o);
    // Clicked again while it is being opened: one opener is enough.
    if (o.running.count(address) != 0) return true;
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
    o.running.insert(address);
    Watch(pid, address);
    return true;
}

size_t OpenersRunning() {
    Openers& o = GetOpeners();
    const std::lock_guard lock(o.mutex);
    return o.running.size();
}

} // namespace platform
