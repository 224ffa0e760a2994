// screen_input_test.cpp: how presses, releases, moves and keys find buttons, board and overlays.
#include "screen_probe.h"

using namespace testing_support;
using platform::Point;
using platform::Rect;
using platform::Surface;

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

constexpr Point kNowhere{150, 400};

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
                    return {game->m_boardRect.left + 40 * c + 20,
                            game->m_boardRect.top + 40 * r + 20};
        ADD_FAILURE() << "no ball on the board";
        return {};
    }

    SpyGame* spy = nullptr;
};

TEST_F(InputTest, ClickCompletesOnlyOnTheButtonItStartedOn) {
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

TEST_F(InputTest, PressThatClosesTheHelpGoesNowhereElse) {
    Click(MenuCommand::kNew);
    const std::vector<int32_t> board = Colours(game->m_cells);
    for (Point where : {ABall(), Centre(Button(MenuCommand::kNew)->m_rect)}) {
        Click(MenuCommand::kHelp);
        ASSERT_TRUE(screen->m_helpShown);
        const size_t heard = sounds.played.size();
        Move(Centre(Button(MenuCommand::kSave)->m_rect)); // ignored while the help is up
        EXPECT_EQ(Button(MenuCommand::kSave)->m_state, CPicButton::kNormal);
        Press(where);
        EXPECT_FALSE(screen->m_helpShown);
        EXPECT_EQ(screen->m_pressed, nullptr);
        Release(where);
        EXPECT_EQ(sounds.played.size(), heard);
    }
    EXPECT_TRUE(spy->lefts.empty());
    EXPECT_EQ(game->m_selected.x, -1);
    EXPECT_EQ(Colours(game->m_cells), board);
}

TEST_F(InputTest, LevelPictureNeedsAGameAndTheUnlockAndHidesOnSpaceOrRelease) {
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

TEST_F(InputTest, RightPressReachesTheGameWhateverIsShown) {
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

} // namespace

// A held space bar sends auto-repeats faster than a one-second zoom can answer them: those the
// program has not read yet come as one key-down, so the picture toggles once, not 30 times.
TEST_F(InputTest, QueuedAutoRepeatsOfAHeldKeyToggleThePictureOnce) {
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
        {"a press and 29 repeats", held, true, 1},
        {"29 repeats alone", Keys(held.begin() + 1, held.end()), true, 1},
        {"another key between the repeats",
         {{space, false}, {space, true}, {'A', false}, {space, true}, {space, true}},
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
