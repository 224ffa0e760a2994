// shell.cpp: opens an address with xdg-open, as one argument and never through a shell.
#include "platform/shell.h"

#include "platform/services.h"

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
    pid_t pid = 0;
    if (::posix_spawnp(&pid, "xdg-open", nullptr, nullptr, argv.data(), environ) != 0) return false;
    g_children.push_back(pid);
    return true;
}

} // namespace platform
