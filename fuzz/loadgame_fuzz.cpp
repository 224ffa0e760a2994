// loadgame_fuzz.cpp: libFuzzer target: any text stored as the saved game, then loaded by the
// real board game on a headless main screen, with and without a game in progress.
#include "app/game_app.h"
#include "app/interface.h"
#include "game/board_game.h"
#include "game/record.h"
#include "game/registry_store.h"
#include "platform/clock.h"
#include "platform/services.h"
#include "platform/sound.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

std::string g_configDir;

class SilentPlayer : public platform::SoundPlayer {
public:
    void PlayWave(const uint8_t*, size_t) override {}
};

struct Harness {
    // Each counter read moves a whole second on: every transition is a single frame.
    platform::ManualClock clock{1000, 1000};
    SilentPlayer silent;
    platform::ServicesScope services{{
        .clock = &clock,
        .sounds = &silent,
        .messageBox = [](const std::string&) {},
        .manualTimers = true,
    }};
    CGameApp app;
    CBoardGame* game = nullptr;

    Harness() {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        // Memory-backed settings where there are, so each input's write costs nothing.
        g_configDir = std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") +
                      "/ranqua-fuzz-" + std::to_string(::getpid());
        setenv("XDG_CONFIG_HOME", g_configDir.c_str(), 1);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(g_configDir, ec);
        });
        if (!platform::InitPlatform() || !app.InitInstance()) std::abort();
        game = static_cast<CBoardGame*>(app.MainScreen()->m_game);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Harness* h = new Harness;
    if (size < 2 || size > 64) return 0;
    CBoardGame& game = *h->game;
    // The first byte chooses whether a game is in progress; the rest is the record.
    game.m_gameOver = (data[0] & 1) != 0;
    const std::string record(reinterpret_cast<const char*>(data + 1), size - 1);
    RegistryStore(game.m_name).WriteString("Game", record);

    const Board before = game.m_cells;
    const int32_t scoreBefore = game.m_score;
    const bool overBefore = game.m_gameOver;
    game.LoadGame();

    std::array<std::array<int32_t, kRows>, kColumns> colours{};
    uint32_t score = 0;
    const bool accepted = ParseRecord(record.substr(0, record.find('\0')), colours, score);
    for (int32_t c = 0; c < kColumns; ++c)
        for (int32_t r = 0; r < kRows; ++r) {
            const int32_t now = game.m_cells[c][r].colour;
            if (now < 0 || now > kBallColours) std::abort();
            if (accepted && now != colours[c][r]) std::abort();
            if (!accepted && now != before[c][r].colour) std::abort();
        }
    if (game.m_score < 0) std::abort();
    if (accepted && (game.m_gameOver || game.m_score != static_cast<int32_t>(score))) std::abort();
    if (!accepted && (game.m_score != scoreBefore || game.m_gameOver != overBefore)) std::abort();
    return 0;
}
