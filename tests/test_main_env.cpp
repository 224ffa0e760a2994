// test_main_env.cpp: every test runs headless, whatever the caller's environment says.
#include <cstdlib>

namespace {
struct HeadlessEnvironment {
    HeadlessEnvironment() {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
    }
} g_headless;
} // namespace
