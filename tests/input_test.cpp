// input_test.cpp: how presses, releases, moves and keys find buttons, board and overlays (the
// help and the level picture), and thousands of random ones that leave the screen consistent.
#include "screen_probe.h"

#include <SDL.h>

#include <csignal>
#include <cstdlib>
#include <random>

using namespace testing_support;

namespace {

// The real board game, which also notes every press that reaches it.
class SpyGame : public CBoardGame {
public:
    using CBoardGame::CBoardGame;
    void OnLeftButton(uint32_t flags, int32_t x, int32_t y) override {
        lefts.push_back({x, y});
        CBoardGame::OnLeftButton(flags, x, y);
    }
    void OnRightButton(uint32_t, int32_t x, int32_t y) override { rights.push_back({x, y}); }
    std::vector<Point> lefts, rights;
};

std::vector<int32_t> Colours(const Board& board) {
    std::vector<int32_t> out;
    for (const auto& column : board)
        for (const BoardCell& cell : column)
            out.push_back(cell.colour);
    return out;
}

class InputTest : public ScreenProbeTest {
protected:
    void SetUp() override {
        ScreenProbeTest::SetUp();
        StartAndSettle();
        app.m_game.reset();
        spy = new SpyGame(screen);
        app.m_game.reset(spy);
        screen->m_game = game = spy;
    }

    // The middle of a cell that holds a ball.
    Point ABall() const {
        for (int32_t c = 0; c < kColumns; ++c)
            for (int32_t r = 0; r < kRows; ++r)
                if (game->m_cells[c][r].colour != 0)
                    return Centre(layout::CellRect(c, r).Offset(game->m_boardRect.left,
                                                                game->m_boardRect.top));
        ADD_FAILURE() << "no ball on the board";
        return {};
    }

    SpyGame* spy = nullptr;
};

using Input = InputTest;
using LevelPicture = InputTest;

TEST_F(Input, ClickCompletesOnlyOnTheButtonItStartedOn) {
    CPicButton* sound = Button(MenuCommand::kSound);
    // Pressed, moved off, released elsewhere: no click, no command, and the normal row even
    // on a switched-on toggle.
    Move(Centre(sound->m_rect));
    Press(Centre(sound->m_rect));
    EXPECT_EQ(screen->m_pressed, sound);
    Move(kNowhere);
    Release(kNowhere);
    EXPECT_EQ(sounds.played, std::vector<std::string>{"LOGO"});
    EXPECT_TRUE(screen->m_soundOn);
    EXPECT_EQ(sound->m_state, 0);
    EXPECT_EQ(sound->m_restState, 1);
    EXPECT_TRUE(SamePixels(OnWindow(sound->m_rect), ButtonRow(sound, 0)));
    EXPECT_EQ(screen->m_pressed, nullptr);

    // Off and back on again before the release: the click completes.
    CPicButton* newGame = Button(MenuCommand::kNew);
    Move(Centre(newGame->m_rect));
    Press(Centre(newGame->m_rect));
    Move(kNowhere);
    Move(Centre(newGame->m_rect));
    EXPECT_EQ(newGame->m_state, CPicButton::kPressed); // the held button shows pressed
    Release(Centre(newGame->m_rect));
    EXPECT_EQ(sounds.played, (std::vector<std::string>{"LOGO", "BTN", "W_NEW"}));
    EXPECT_FALSE(game->m_gameOver);

    // Pressed on save, released on load: neither runs, and load waits for the next move to
    // light up.
    CPicButton* save = Button(MenuCommand::kSave);
    CPicButton* load = Button(MenuCommand::kLoad);
    Move(Centre(save->m_rect));
    Press(Centre(save->m_rect));
    Move(Centre(load->m_rect));
    EXPECT_EQ(load->m_state, CPicButton::kNormal);
    Release(Centre(load->m_rect));
    EXPECT_EQ(sounds.played.size(), 3u);
    EXPECT_EQ(screen->m_hovered, load);
    EXPECT_EQ(load->m_state, CPicButton::kNormal);
    Move(Centre(load->m_rect));
    EXPECT_EQ(load->m_state, CPicButton::kHighlighted);
    EXPECT_TRUE(SamePixels(*screen->m_bannerSurface, Picture("M_BUTT2")));
}

// The help and the best games' table, opened by their buttons or F2 and closed by a press or
// (the table) Escape or F2: the closing press goes nowhere else, and the release after it
// releases nothing.
TEST_F(Input, PressThatClosesAnOverlayGoesNowhereElse) {
    Click(MenuCommand::kNew);
    const std::vector<int32_t> board = Colours(game->m_cells);
    const Point ball = ABall(), onNew = Centre(Button(MenuCommand::kNew)->m_rect);
    const uint32_t none = 0;
    const struct {
        const char* what;
        MenuCommand button; // opened by its click, or by F2 when kBest and `byKey`
        bool byKey;
        uint32_t closeKey; // or by a press at `where`
        Point where;
    } cases[] = {
        {"help, press on a ball", MenuCommand::kHelp, false, none, ball},
        {"help, press on a button", MenuCommand::kHelp, false, none, onNew},
        {"best, press on a ball", MenuCommand::kBest, false, none, ball},
        {"best by F2, press on a button", MenuCommand::kBest, true, none, onNew},
        {"best by F2, Escape", MenuCommand::kBest, true, platform::kKeyEscape, ball},
        {"best, F2", MenuCommand::kBest, false, platform::kKeyF2, ball},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const bool help = c.button == MenuCommand::kHelp;
        const bool& shown = help ? screen->m_helpShown : screen->m_bestShown;
        sounds.played.clear();
        if (c.byKey) {
            Move(kNowhere);
            platform::PostKeyDown(platform::kKeyF2);
            Pump();
        } else {
            Click(c.button);
        }
        ASSERT_TRUE(shown);
        EXPECT_EQ(sounds.played, std::vector<std::string>{"BTN"}); // the click's, either way
        Move(Centre(Button(MenuCommand::kSave)->m_rect));          // ignored while it is up
        EXPECT_EQ(Button(MenuCommand::kSave)->m_state, CPicButton::kNormal);
        // Other keys, a held key's repeat, and F2 over the help change nothing.
        platform::PostKeyDown(platform::kKeySpace);
        platform::PostKeyDown(platform::kKeyF2, true);
        if (help) platform::PostKeyDown(platform::kKeyF2);
        Pump();
        ASSERT_TRUE(shown);
        EXPECT_FALSE(help ? screen->m_bestShown : screen->m_helpShown);
        if (c.closeKey != none) {
            platform::PostKeyDown(c.closeKey);
            Pump();
        } else {
            Press(c.where);
        }
        EXPECT_FALSE(shown);
        EXPECT_EQ(screen->m_pressed, nullptr);
        Release(c.where);
        EXPECT_EQ(sounds.played.size(), 1u);
    }
    EXPECT_TRUE(spy->lefts.empty());
    EXPECT_EQ(game->m_selected.x, -1);
    EXPECT_EQ(Colours(game->m_cells), board);

    // F2 does nothing while the level picture is up: the two would share one saved screen.
    game->m_pictureUnlocked = true;
    Move(kNowhere);
    platform::PostKeyDown(platform::kKeySpace);
    platform::PostKeyDown(platform::kKeyF2);
    Pump();
    EXPECT_TRUE(screen->m_pictureShown);
    EXPECT_FALSE(screen->m_bestShown);
}

TEST_F(LevelPicture, NeedsAGameAndTheUnlockAndHidesOnSpaceOrRelease) {
    const Point o = screen->m_playRect.TopLeft();
    const Rect placed{o.x + 192, o.y + 20, o.x + 192 + 358, o.y + 20 + 469};
    // No game in progress: refused, though the picture is unlocked.
    ASSERT_TRUE(game->m_pictureUnlocked);
    platform::PostKeyDown(platform::kKeySpace);
    Pump();
    EXPECT_FALSE(screen->m_pictureShown);

    Click(MenuCommand::kNew);
    Move(kNowhere);
    ASSERT_FALSE(game->m_pictureUnlocked); // a new game locks it
    platform::PostKeyDown(platform::kKeySpace);
    Pump();
    EXPECT_FALSE(screen->m_pictureShown);

    game->m_pictureUnlocked = true;
    const Surface before = OnWindow(screen->m_playRect);
    platform::PostKeyDown(platform::kKeySpace);
    Pump();
    ASSERT_TRUE(screen->m_pictureShown);
    EXPECT_TRUE(SamePixels(OnWindow(placed), Picture("PIC" + std::to_string(game->m_level))));
    platform::PostKeyDown(platform::kKeySpace);
    Pump();
    EXPECT_FALSE(screen->m_pictureShown);
    EXPECT_TRUE(SamePixels(OnWindow(screen->m_playRect), before));

    // While shown: moves and presses are ignored, right presses still reach the game, and the
    // left release hides the picture.
    platform::PostKeyDown(platform::kKeySpace);
    Pump();
    ASSERT_TRUE(screen->m_pictureShown);
    Move(Centre(Button(MenuCommand::kNew)->m_rect));
    EXPECT_EQ(screen->m_hovered, nullptr);
    Press(ABall());
    EXPECT_TRUE(screen->m_pictureShown);
    EXPECT_TRUE(spy->lefts.empty());
    platform::PostMouseButton(false, true, {300, 300});
    Pump();
    EXPECT_EQ(spy->rights, (std::vector<Point>{{300, 300}}));
    Release(ABall());
    EXPECT_FALSE(screen->m_pictureShown);
    EXPECT_TRUE(SamePixels(OnWindow(screen->m_playRect), before));
    EXPECT_EQ(sounds.played.back(), "W_NEW");
}

TEST_F(Input, RightPressReachesTheGameWhateverIsShown) {
    Click(MenuCommand::kHelp);
    ASSERT_TRUE(screen->m_helpShown);
    platform::PostMouseButton(false, true, {10, 20});
    Pump();
    EXPECT_TRUE(screen->m_helpShown);
    EXPECT_EQ(spy->rights, (std::vector<Point>{{10, 20}}));
    platform::PostMouseButton(false, true, Centre(Button(MenuCommand::kExit)->m_rect));
    Pump();
    EXPECT_EQ(spy->rights.size(), 2u);
    EXPECT_FALSE(app.QuitPosted());
}

// A close request goes before the input still queued, which is dropped: 200 queued clicks on
// a ball, each a board redraw, would otherwise hold SIGTERM back for nearly two minutes.
TEST_F(Input, ACloseRequestGoesBeforeQueuedClicksWhichAreDropped) {
    Click(MenuCommand::kNew);
    const Point ball = ABall();
    for (int i = 0; i < 200; ++i) {
        platform::PostMouseButton(true, true, ball);
        platform::PostMouseButton(true, false, ball);
    }
    ::raise(SIGTERM);
    const int reads = probe.reads;
    Pump();
    EXPECT_TRUE(app.QuitPosted());
    EXPECT_TRUE(spy->lefts.empty());
    EXPECT_EQ(probe.reads - reads, 21); // the closing transition's 2 seconds, and nothing else
}

using Help = ScreenProbeTest;

// The help and the best games come in with a transition; the next press puts back the whole
// back buffer as it was, whatever the timer drew meanwhile.
TEST_F(Help, CoversTheScreenUntilTheNextPressRestoresIt) {
    LayOutLinks(kThreeLinks);
    StartAndSettle();
    for (const auto& [button, picture] :
         {std::pair{MenuCommand::kHelp, "HELP"}, std::pair{MenuCommand::kBest, "NOBEST"}}) {
        SCOPED_TRACE(picture);
        Surface before;
        int frames = 0;
        probe.onRead = [&] {
            if (frames++ == 0) before = Region(*screen->m_backBuffer, screen->m_displayRect);
        };
        Click(button);
        probe.onRead = nullptr;
        const bool& shown =
            button == MenuCommand::kHelp ? screen->m_helpShown : screen->m_bestShown;
        ASSERT_TRUE(shown);
        EXPECT_EQ(frames, 11); // start and 10 frames of a 1-second transition
        const Rect help = screen->ToScreenRect(layout::kHelpRect);
        EXPECT_TRUE(SamePixels(OnWindow(help), Picture(picture)));
        EXPECT_TRUE(SamePixels(*screen->m_savedScreen, before));

        // Meanwhile the banner goes on fading in and a link is drawn; moves are ignored.
        probe.AdvanceTicks(8000);
        for (int i = 0; i < 5; ++i)
            Tick();
        ASSERT_NE(screen->m_currentLink, nullptr);
        EXPECT_FALSE(SamePixels(*screen->m_backBuffer, before));
        Move(Centre(Button(MenuCommand::kExit)->m_rect));
        EXPECT_EQ(Button(MenuCommand::kExit)->m_state, CPicButton::kNormal);

        const size_t heard = sounds.played.size();
        Press(kNowhere);
        EXPECT_FALSE(shown);
        EXPECT_TRUE(SamePixels(*screen->m_backBuffer, before));
        EXPECT_TRUE(SamePixels(OnWindow(screen->m_playRect), Region(before, screen->m_playRect)));
        Release(kNowhere);
        EXPECT_EQ(sounds.played.size(), heard);
    }
}

} // namespace

// A held space bar sends auto-repeats faster than a one-second zoom can answer them: those the
// program has not read yet come as one key-down, so they toggle the picture once, not 29 times.
// A fresh press is never folded: two presses 1 ms apart come as a press and a repeat.
TEST_F(LevelPicture, QueuedAutoRepeatsOfAHeldKeyToggleItOnce) {
    Click(MenuCommand::kNew);
    Move(kNowhere);
    game->m_pictureUnlocked = true;
    using Keys = std::vector<std::pair<uint32_t, bool>>; // key, auto-repeat
    const uint32_t space = platform::kKeySpace;
    const Keys held = [&] {
        Keys k{{space, false}};
        k.insert(k.end(), 29, {space, true});
        return k;
    }();
    const struct {
        const char* name;
        Keys keys;
        bool shown;
        int zooms;
    } cases[] = {
        {"a press and 29 repeats", held, false, 2},
        {"29 repeats alone", Keys(held.begin() + 1, held.end()), true, 1},
        {"two presses 1 ms apart, the release between them lost",
         {{space, false}, {space, true}},
         false,
         2},
        {"another key between the repeats",
         {{space, true}, {space, true}, {'A', false}, {space, true}, {space, true}},
         false,
         2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (screen->m_pictureShown) screen->ShowLevelPicture(false);
        for (const auto& [key, repeat] : c.keys)
            platform::PostKeyDown(key, repeat);
        const int before = probe.pauses;
        Pump();
        EXPECT_EQ(screen->m_pictureShown, c.shown);
        // Every zoom rests between its frames instead of spinning; 10 frames a zoom here.
        EXPECT_GE(probe.pauses - before, 9 * c.zooms);
        EXPECT_LE(probe.pauses - before, 11 * c.zooms);
    }
}

// RANQUA_SOAK_CLICKS sets a longer run.
static int SoakClicks() {
    const char* env = std::getenv("RANQUA_SOAK_CLICKS");
    return env ? std::atoi(env) : 2000;
}

using Soak = ScreenTest;

TEST_F(Soak, RandomClicksKeepTheScreenConsistent) {
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
            const CPicButton* b = screen
                                      ->m_menuButtons[std::uniform_int_distribution<size_t>(
                                          1, screen->m_menuButtons.size() - 1)(random)]
                                      .get();
            p = {b->m_rect.left + 3, b->m_rect.top + 3};
            ++commands;
        } else {
            p = {std::uniform_int_distribution<int>(play.left, play.right - 1)(random),
                 std::uniform_int_distribution<int>(play.top, play.bottom - 1)(random)};
        }
        platform::PostMouseMove(p);
        if (kind == 8) {
            platform::PostKeyDown(i % 3 ? platform::kKeySpace : platform::kKeyF2);
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
                ASSERT_TRUE(cell.colour >= 0 && cell.colour <= kBallColours);
        ASSERT_GE(game->m_score, 0);
        ASSERT_TRUE(screen->m_bannerAlpha == 255 || (screen->m_bannerAlpha - 5) % 50 == 0);
    }
    EXPECT_GT(commands, 0);
    // Leaving still works after all that.
    if (screen->m_helpShown || screen->m_bestShown) screen->OnLButtonDown(0, {0, 0});
    if (screen->m_pictureShown) screen->OnLButtonUp(0, {0, 0});
    screen->RunMenuCommand(MenuCommand::kExit);
    EXPECT_TRUE(app.QuitPosted());
}

// The keypad's arrows and Enter are the arrows and Return (with Num Lock on too): Enter
// presses the middle of the cursor's cell for the board, and nothing else, though the mouse
// rests on a button.
TEST_F(Input, KeypadArrowsMoveTheCursorAndEnterPressesItsCell) {
    Click(MenuCommand::kNew);
    ASSERT_EQ(screen->m_hovered, Button(MenuCommand::kNew));
    for (const SDL_Keycode k :
         {SDLK_KP_6, SDLK_KP_2, SDLK_KP_6, SDLK_KP_8, SDLK_KP_4, SDLK_KP_ENTER}) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.keysym.sym = k;
        e.key.keysym.mod = KMOD_NUM;
        SDL_PushEvent(&e);
    }
    sounds.played.clear();
    Pump();
    EXPECT_EQ(screen->m_cursorCell, (Point{1, 0}));
    EXPECT_EQ(spy->lefts,
              (std::vector<Point>{{game->m_boardRect.left + 60, game->m_boardRect.top + 20}}));
    EXPECT_EQ(screen->m_pressed, nullptr);
    EXPECT_TRUE(sounds.played.empty()); // no click: no button ran
}
