// robustness_test.cpp: the settings file survives being killed mid-write; thousands of random
// inputs through the real main screen leave it consistent; large displays scale by whole pixels.
#include "screen_fixture.h"

#include "platform/config_file.h"
#include "platform/rand.h"
#include "ui/pic_button.h"

#include <SDL.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <random>

using testing_support::ScreenTest;

namespace {

// Long values widen the window in which a kill can land inside a write.
std::string Value(char c) {
    return std::string(20000, c);
}

int SoakClicks() {
    const char* env = std::getenv("RANQUA_SOAK_CLICKS");
    return env ? std::atoi(env) : 2000;
}

} // namespace

TEST(SettingsCrashSafety, KilledWriterLeavesOldOrNewValues) {
    const std::string dir =
        std::filesystem::temp_directory_path() / ("ranqua-crash-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    const platform::ConfigFile file(dir + "/sub/Ranqua.conf");
    ASSERT_TRUE(file.Write("Game", Value('a')));
    ASSERT_TRUE(file.Write("SoundEffect", "On"));
    std::mt19937 random(20261208); // fixed seed: a failure can be replayed
    for (int round = 0; round < 200; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i) {
                file.Write("Game", Value(i % 2 ? 'b' : 'a'));
                file.Write("SoundEffect", i % 2 ? "Off" : "On");
            }
        }
        ::usleep(std::uniform_int_distribution<useconds_t>(0, 3000)(random));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        const auto game = file.Read("Game");
        const auto sound = file.Read("SoundEffect");
        ASSERT_TRUE(game && (*game == Value('a') || *game == Value('b'))) << "round " << round;
        ASSERT_TRUE(sound && (*sound == "On" || *sound == "Off")) << "round " << round;
    }
    std::filesystem::remove_all(dir);
}

class SoakTest : public ScreenTest {};

TEST_F(SoakTest, RandomClicksKeepTheScreenConsistent) {
    clock.SetStep(250); // a transition in a handful of frames keeps thousands of moves quick
    Start();
    std::mt19937 random(4242);
    const platform::Rect play = screen->m_playRect;
    const platform::Rect board = game->m_boardRect;
    int commands = 0;
    for (int i = 0; i < SoakClicks(); ++i) {
        const int kind = std::uniform_int_distribution<int>(0, 9)(random);
        platform::Point p;
        if (kind <= 5) { // the board, now and then just beside it
            p = {std::uniform_int_distribution<int>(board.left - 5, board.right + 5)(random),
                 std::uniform_int_distribution<int>(board.top - 5, board.bottom + 5)(random)};
        } else if (kind <= 7) { // a menu button other than Exit, hovered first
            CPicButton* b = screen->m_menuButtons[std::uniform_int_distribution<size_t>(
                1, screen->m_menuButtons.size() - 1)(random)];
            p = {b->m_rect.left + 3, b->m_rect.top + 3};
            ++commands;
        } else {
            p = {std::uniform_int_distribution<int>(play.left, play.right - 1)(random),
                 std::uniform_int_distribution<int>(play.top, play.bottom - 1)(random)};
        }
        platform::PostMouseMove(p);
        if (kind == 8) {
            platform::PostKeyDown(platform::kKeySpace);
        } else if (kind == 9) {
            platform::PostMouseButton(false, true, p);
        } else {
            platform::PostMouseButton(true, true, p);
            platform::PostMouseButton(true, false, p);
        }
        if (i % 7 == 0) {
            clock.AdvanceTicks(80);
            platform::PostTimerTick();
        }
        Pump();
        ASSERT_FALSE(app.QuitPosted());
        // What the game holds stays within its rules.
        for (const auto& column : game->m_cells)
            for (const BoardCell& cell : column)
                ASSERT_TRUE(cell.colour >= 0 && cell.colour <= 5);
        ASSERT_GE(game->m_score, 0);
        ASSERT_TRUE(screen->m_bannerAlpha == 255 || (screen->m_bannerAlpha - 5) % 50 == 0);
    }
    EXPECT_GT(commands, 0);
    // Leaving still works after all that.
    if (screen->m_helpShown) screen->OnLButtonDown(0, {0, 0});
    if (screen->m_pictureShown) screen->OnLButtonUp(0, {0, 0});
    screen->RunMenuCommand(MenuCommand::kExit);
    EXPECT_TRUE(app.QuitPosted());
}

class LargeDisplayTest : public ScreenTest {};

TEST_F(LargeDisplayTest, TwiceTheSizeDrawsEveryPixelAsABlock) {
    displaySize = {1600, 1200};
    platform::SetDisplaySizeOverride(displaySize);
    Start();
    EXPECT_EQ(screen->Scale(), 2);
    EXPECT_EQ(screen->m_displayRect, (platform::Rect{0, 0, 800, 600}));
    EXPECT_EQ(screen->m_playRect, (platform::Rect{0, 0, 800, 600}));
    // A press at a physical point reaches the logical one: (700, 380) on the 2x screen is
    // (350, 190), the board's top-left cell.
    game->NewGame();
    game->m_selected = {-1, 0};
    for (auto& column : game->m_cells)
        for (BoardCell& cell : column)
            cell.colour = 0;
    game->m_cells[0][0].colour = 3;
    SDL_Event e{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.x = 700;
    e.button.y = 380;
    SDL_PushEvent(&e);
    Pump();
    EXPECT_EQ(game->m_selected, (platform::Point{0, 0}));
}

TEST_F(LargeDisplayTest, UltraHighDefinitionScalesByThree) {
    displaySize = {3840, 2160};
    platform::SetDisplaySizeOverride(displaySize);
    Start();
    EXPECT_EQ(screen->Scale(), 3);
    EXPECT_EQ(screen->m_displayRect, (platform::Rect{0, 0, 1280, 720}));
    EXPECT_EQ(screen->m_playRect, (platform::Rect{240, 60, 1040, 660}));
    // The window shows the back buffer block by block.
    screen->OnPaint();
    EXPECT_EQ(screen->WindowPixel(5, 5), platform::Rgb(2, 30, 27));
    EXPECT_EQ(screen->WindowPixel(400, 300), screen->m_backBuffer->Pixel(400, 300));
}

TEST_F(ScreenTest, WaitingForThePlayerLetsTheScreenSaverRun) {
    Start();
    EXPECT_TRUE(SDL_IsScreenSaverEnabled());
}
