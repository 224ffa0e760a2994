// screen_fixture.h: the real main screen and game, headless, with a stepped clock and
// recorders in place of the sound player, music player, message box and shell.
#pragma once

#include "app/game_app.h"
#include "app/interface.h"
#include "game/board_game.h"
#include "platform/clock.h"
#include "platform/display.h"
#include "platform/message_box.h"
#include "platform/music.h"
#include "platform/resources.h"
#include "platform/services.h"
#include "platform/shell.h"
#include "platform/sound.h"
#include "platform/window.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

// Remembers which embedded WAVE each effect was, by name.
class RecordingSoundPlayer : public platform::SoundPlayer {
public:
    void PlayWave(const uint8_t* data, size_t) override { played.push_back(NameOf(data)); }
    static std::string NameOf(const uint8_t* data) {
        for (const char* n :
             {"LOGO", "BTN", "W_NEW", "W_LOAD", "W_SAVE", "W_MOVE", "W_LOSE", "W_BDMOVE"})
            if (platform::FindResource("WAVE", n).data == data) return n;
        return "?";
    }
    std::vector<std::string> played;
};

struct MusicLog {
    std::vector<std::string> calls; // "open <path>", "play", "stop"
};

class RecordingMusicPlayer : public platform::MusicPlayer {
public:
    explicit RecordingMusicPlayer(MusicLog* log) : m_log(log) {}
    void Open(const std::string& path) override { m_log->calls.push_back("open " + path); }
    void Play() override { m_log->calls.push_back("play"); }
    void Stop() override {
        m_log->calls.push_back("stop");
        platform::SendMusicNotify(this, platform::kMciModeStop);
    }

private:
    MusicLog* m_log;
};

// A fresh temporary HOME (settings) and working folder for each test.
class ScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        m_oldCwd = std::filesystem::current_path();
        m_root = std::filesystem::temp_directory_path() /
                 ("ranqua-test-" + std::to_string(::getpid()) + "-" + std::to_string(s_counter++));
        std::filesystem::remove_all(m_root);
        std::filesystem::create_directories(m_root / "home");
        std::filesystem::create_directories(m_root / "game");
        setenv("HOME", (m_root / "home").c_str(), 1);
        unsetenv("XDG_CONFIG_HOME");
        unsetenv("XDG_DATA_HOME");
        // One logical pixel a physical one, as the pixel tables assume; tests of other
        // scales set it themselves.
        setenv("RANQUA_SCALE", "1", 1);
        std::filesystem::current_path(m_root / "game");
        PrepareFolders();

        m_services.emplace(platform::Services{
            .clock = &clock,
            .sounds = &sounds,
            .music = [this] { return std::make_unique<RecordingMusicPlayer>(&music); },
            .messageBox = [this](const std::string& t) { messages.push_back(t); },
            .shell = [this](const std::string& a) { opened.push_back(a); },
            .display = displaySize,
            .manualTimers = true,
        });
        clock.SetSeconds(seed);
        ASSERT_TRUE(platform::InitPlatform());
    }

    void TearDown() override {
        if (started) {
            app.ExitInstance();
            started = false;
        }
        platform::ShutdownPlatform();
        m_services.reset();
        std::filesystem::current_path(m_oldCwd);
        std::filesystem::remove_all(m_root);
    }

    // The recorders above in place of the real services, from SetUp to TearDown; a test may
    // change them meanwhile.
    platform::Services& services() { return **m_services; }

    // Override to lay out Internet/ or ../MUSIC/GAME/ before start-up.
    virtual void PrepareFolders() {}

    // Start-up as the application does it: main screen, game, settings.
    void Start() {
        ASSERT_TRUE(app.InitInstance());
        started = true;
        screen = app.MainScreen();
        game = static_cast<CBoardGame*>(screen->m_game);
    }

    // Handles every queued message (input posted with platform::Post*).
    void Pump() { app.PumpMessages(); }

    std::filesystem::path Root() const { return m_root; }
    std::string SettingsPath() const {
        return (m_root / "home/.config/Brindlewood/Quorvale/Marbalo/Ranqua.conf").string();
    }
    std::string BestGamesPath() const {
        return (m_root / "home/.local/share/ranqua/scores").string();
    }

    // Click the middle of board cell (column, row).
    void ClickCell(int column, int row) {
        const platform::Rect cell = layout::CellRect(column, row);
        const platform::Point p{game->m_boardRect.left + (cell.left + cell.right) / 2,
                                game->m_boardRect.top + (cell.top + cell.bottom) / 2};
        screen->OnLButtonDown(0, p);
        screen->OnLButtonUp(0, p);
    }

    // A stepped clock: each counter read moves 1/10 s on, so a 1-second transition takes 10
    // frames and a board redraw 5.
    platform::ManualClock clock{1000, 100};
    RecordingSoundPlayer sounds;
    MusicLog music;
    std::vector<std::string> messages;
    std::vector<std::string> opened;
    platform::Size displaySize{1024, 768};
    int64_t seed = 12345;
    CGameApp app;
    bool started = false;
    CInterface* screen = nullptr;
    CBoardGame* game = nullptr;

private:
    std::optional<platform::ServicesScope> m_services;
    std::filesystem::path m_oldCwd;
    std::filesystem::path m_root;
    static inline int s_counter = 0;
};

} // namespace testing_support
