// game_play_test.cpp: new games, clicks and moves through the real main screen and game, and
// the games that enter the table of the best.
#include "game/record.h"
#include "game_fixture.h"
#include "scoped_env.h"
#include "screen_probe.h"

using platform::Point;
using platform::Rect;
using testing_support::GameTest;

namespace {

using Sounds = std::vector<std::string>;
using testing_support::Pattern;

} // namespace

using GamePlay = GameTest;

TEST_F(GamePlay, NewGameShowsFourBallsOfTheFiveColoursAndResetsTheGame) {
    StartQuiet();
    for (uint32_t s : {1u, 2u, 77u, 12345u, 0xFFFFFFFFu}) {
        SCOPED_TRACE("seed " + std::to_string(s));
        sounds.played.clear();
        NewGameSeeded(s);
        EXPECT_EQ(BallCount(), 4);
        for (const auto& column : game->m_cells)
            for (const BoardCell& cell : column) {
                EXPECT_GE(cell.colour, 0);
                EXPECT_LE(cell.colour, 5);
            }
        EXPECT_FALSE(game->m_gameOver);
        EXPECT_EQ(game->m_score, 0);
        EXPECT_EQ(game->m_level, 0u);
        EXPECT_FALSE(game->m_pictureUnlocked);
        EXPECT_EQ(game->m_selected.x, -1);
        EXPECT_EQ(sounds.played, Sounds{"W_NEW"});
        // Leave a game in full swing for the next new game to reset.
        game->m_score = 333;
        game->m_level = 7;
        game->m_pictureUnlocked = true;
        game->m_selected = {3, 3};
    }
}

TEST_F(GamePlay, ClicksSelectBallsAndTheMoveSoundNeedsASelection) {
    StartQuiet();
    NewGameSeeded(1);
    SetBoard("1...... ....... ..2.... ....... ....... ......3");
    const std::string before = BoardText();
    sounds.played.clear();

    platform::SeedRand(500);
    ClickCell(3, 3); // empty, nothing selected: ignored, not even redrawn
    EXPECT_TRUE(sounds.played.empty());
    EXPECT_EQ(game->m_selected.x, -1);
    EXPECT_EQ(DrawsSinceSeed(500), 0);

    platform::SeedRand(501);
    ClickCell(2, 2); // selects, silently, with one board redraw
    EXPECT_EQ(game->m_selected, (Point{2, 2}));
    EXPECT_TRUE(sounds.played.empty());
    const int draws = DrawsSinceSeed(501);
    EXPECT_TRUE(draws == 2 || draws == 3) << draws;

    ClickCell(2, 2); // the selected ball again
    EXPECT_EQ(game->m_selected, (Point{2, 2}));
    EXPECT_EQ(sounds.played, Sounds{"W_MOVE"});

    ClickCell(6, 5); // another ball
    EXPECT_EQ(game->m_selected, (Point{6, 5}));
    EXPECT_EQ(sounds.played, (Sounds{"W_MOVE", "W_MOVE"}));
    EXPECT_EQ(BoardText(), before);
    EXPECT_EQ(game->m_score, 0);
}

TEST_F(GamePlay, UnreachableTargetKeepsTheSelectionAndChangesNothing) {
    StartQuiet();
    NewGameSeeded(2);
    SetBoard("12..... 3...... ....... ....... ....... .......");
    ClickCell(0, 0);
    const std::string before = BoardText();
    sounds.played.clear();
    platform::SeedRand(7);
    ClickCell(1, 1); // diagonal neighbour
    ClickCell(6, 5);
    EXPECT_EQ(sounds.played, (Sounds{"W_MOVE", "W_MOVE"}));
    EXPECT_EQ(game->m_selected, (Point{0, 0}));
    EXPECT_EQ(BoardText(), before);
    EXPECT_EQ(DrawsSinceSeed(7), 0);
}

TEST_F(GamePlay, AMoveThatCompletesARunScoresAndBringsNoBalls) {
    StartQuiet();
    NewGameSeeded(3);
    SetBoard("...1... ....... ....... ....... ....2.. 111....");
    ClickCell(3, 0);
    sounds.played.clear();
    ClickCell(3, 5);
    EXPECT_EQ(sounds.played, Sounds{"W_MOVE"});
    EXPECT_EQ(BoardText(), ("....... ....... ....... ....... ....2.. ......."));
    EXPECT_EQ(game->m_score, 4);
    EXPECT_EQ(game->m_selected.x, -1);
    EXPECT_FALSE(game->m_gameOver);
}

TEST_F(GamePlay, AMoveThatRemovesNothingBringsThreeOrFourBalls) {
    struct Case {
        int balls;
        uint32_t level;
        int added;
    };
    // More than 30 - level empty cells bring 4 balls, otherwise 3.
    const Case cases[] = {{11, 0, 4}, {12, 0, 3}, {16, 5, 4}, {17, 5, 3}, {30, 15, 3}};
    StartQuiet();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.balls) + " balls at level " + std::to_string(c.level));
        NewGameSeeded(40 + static_cast<uint32_t>(c.balls));
        SetBoard(Pattern(c.balls));
        game->m_level = c.level;
        // The last ball of the pattern goes to the far corner.
        const int last = c.balls - 1;
        const int colour = game->m_cells[last % kColumns][last / kColumns].colour;
        ClickCell(last % kColumns, last / kColumns);
        ClickCell(6, 5);
        EXPECT_EQ(BallCount(), c.balls + c.added);
        EXPECT_EQ(game->m_score, 0);
        EXPECT_EQ(game->m_cells[6][5].colour, colour);
        EXPECT_EQ(game->m_level, c.level);
    }
}

TEST_F(GamePlay, NewBallsThatCompleteARunAreRemovedInTheSameMove) {
    StartQuiet();
    NewGameSeeded(4);
    // Whatever colour lands on the one free cell (3, 2) after the move, it completes a run
    // of 4: left 1s, right 2s, 3s below, 4s down-right, 5s down-left.
    SetBoard("5335142 121.342 1111222 4553415 2513244 5323424");
    ClickCell(3, 2);
    sounds.played.clear();
    ClickCell(3, 1);
    EXPECT_EQ(sounds.played, Sounds{"W_MOVE"});
    EXPECT_EQ(game->m_score, 4);
    EXPECT_EQ(BallCount(), 38);
    EXPECT_EQ(game->m_cells[3][1].colour, 1);
    EXPECT_EQ(game->m_cells[3][2].colour, 0);
    EXPECT_FALSE(game->m_gameOver);
}

TEST_F(GamePlay, FillingTheBoardEndsTheGameSilentlyWithTheLossBanner) {
    StartQuiet();
    NewGameSeeded(5);
    std::string text = Pattern(kColumns * kRows);
    text.back() = '.';
    SetBoard(text);
    ClickCell(5, 5);
    sounds.played.clear();
    ClickCell(6, 5); // the one new ball takes the cell just left
    EXPECT_EQ(BallCount(), kColumns * kRows);
    EXPECT_TRUE(game->m_gameOver);
    EXPECT_EQ(sounds.played, Sounds{"W_MOVE"});
    EXPECT_EQ(screen->m_bannerAlpha, 5);
    EXPECT_TRUE(
        testing_support::SamePixels(*screen->m_bannerSurface, testing_support::Picture("M_LOSE")));

    // A lost game ignores the board, refuses to save and keeps the board as it was.
    const std::string lost = BoardText();
    ClickCell(0, 0);
    ClickCell(1, 0);
    screen->RunMenuCommand(MenuCommand::kSave);
    EXPECT_EQ(sounds.played, Sounds{"W_MOVE"});
    EXPECT_EQ(game->m_selected.x, -1);
    EXPECT_EQ(BoardText(), lost);
    EXPECT_FALSE(SavedGame().has_value());
}

TEST_F(GamePlay, ClicksBesideTheBoardPictureNeverReachTheGame) {
    StartQuiet();
    NewGameSeeded(6);
    SetBoard("1.....2 ....... ....... ....... ....... 4.....3");
    ClickCell(0, 0);
    sounds.played.clear();
    const Rect b = game->m_boardRect;
    ASSERT_EQ(b.Width(), 277);
    ASSERT_EQ(b.Height(), 237);
    // The hit area is 280 x 240, but the strips beyond the picture are not the board's.
    const Point outside[] = {{b.right, b.top + 5},        {b.right + 2, b.bottom - 1},
                             {b.left + 3, b.bottom},      {b.right - 1, b.bottom + 2},
                             {b.right + 1, b.bottom + 1}, {b.left - 1, b.top},
                             {b.left, b.top - 1}};
    for (const Point& p : outside) {
        SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.y));
        ClickAt(p.x, p.y);
        EXPECT_TRUE(sounds.played.empty());
        EXPECT_EQ(game->m_selected, (Point{0, 0}));
    }
    ClickAt(b.right - 1, b.bottom - 1); // the last pixel of the picture is cell (6, 5)
    EXPECT_EQ(sounds.played, Sounds{"W_MOVE"});
    EXPECT_EQ(game->m_selected, (Point{6, 5}));
    ClickAt(b.right - 1, b.top);
    EXPECT_EQ(game->m_selected, (Point{6, 0}));
    ClickAt(b.left, b.bottom - 1);
    EXPECT_EQ(game->m_selected, (Point{0, 5}));
}

TEST_F(GamePlay, RightPressesReachTheGameAndChangeNothing) {
    StartQuiet();
    NewGameSeeded(8);
    SetBoard("1...... ....... ..2.... ....... ....... .......");
    ClickCell(2, 2);
    const std::string before = BoardText();
    sounds.played.clear();
    platform::SeedRand(11);
    const Rect b = game->m_boardRect;
    for (const Point& p : {Point{b.left + 20, b.top + 20}, Point{b.left + 100, b.top + 100},
                           Point{b.left + 60, b.top + 200}, Point{5, 5}})
        screen->OnRButtonDown(platform::kFlagRButton, p);
    EXPECT_TRUE(sounds.played.empty());
    EXPECT_EQ(game->m_selected, (Point{2, 2}));
    EXPECT_EQ(BoardText(), before);
    EXPECT_EQ(game->m_score, 0);
    EXPECT_EQ(DrawsSinceSeed(11), 0);
}

namespace {

// Ten entries, 100 down to 10, one a day.
std::string FullTable() {
    std::string text;
    for (int i = 0; i < 10; ++i)
        text += std::to_string(100 - 10 * i) + " 2026-01-" + (i < 9 ? "0" : "") +
                std::to_string(i + 1) + " " + std::to_string(i) + "\n";
    return text;
}

// How the game of a case is left.
enum class Leave { kLost, kLoadedThenLost, kNew, kLoad, kExit };

struct BestCase {
    const char* what;
    std::string before; // the file's text; empty: no file
    Leave leave;
    int32_t score;      // of the game when it is left
    const char* banner; // the one that follows the loss banner, if any
    std::string after;
};

} // namespace

// Every way of leaving a game, with the table before and after. The level is the one the game
// reached: 164 points reach level 2, 700 level 15.
TEST_F(GamePlay, OnlyFinishedGamesEnterTheBestTableByTheirScore) {
    testing_support::ScopedEnv tz("TZ", "UTC0");
    StartQuiet();
    clock.SetSeconds(1796760000); // 2026-12-08 20:00 UTC
    const std::string full = FullTable();
    const std::string nine = full.substr(0, full.rfind("10 2026"));
    const std::string nearlyFull = Pattern(41);
    const BestCase cases[] = {
        {"the first game", "", Leave::kLost, 164, "M_BEST", "164 2026-12-08 2\n"},
        {"a zero score", "", Leave::kLost, 0, "", ""},
        {"a tie goes below the older", "164 2026-01-01 3\n", Leave::kLost, 164, "M_TOPTEN",
         "164 2026-01-01 3\n164 2026-12-08 2\n"},
        {"between two", "700 2026-01-01 15\n100 2026-01-02 0\n", Leave::kLost, 164, "M_TOPTEN",
         "700 2026-01-01 15\n164 2026-12-08 2\n100 2026-01-02 0\n"},
        {"a new best", "164 2026-01-01 2\n", Leave::kLost, 700, "M_BEST",
         "700 2026-12-08 15\n164 2026-01-01 2\n"},
        {"the tenth", nine, Leave::kLost, 3, "M_TOPTEN", nine + "3 2026-12-08 0\n"},
        {"the eleventh below the tenth", full, Leave::kLost, 9, "", full},
        {"the eleventh as good as the tenth", full, Leave::kLost, 10, "", full},
        {"the eleventh beating the tenth", full, Leave::kLost, 11, "M_TOPTEN",
         nine + "11 2026-12-08 0\n"},
        {"a loaded game, then lost", "", Leave::kLoadedThenLost, 164, "M_BEST",
         "164 2026-12-08 2\n"},
        {"left by New", "", Leave::kNew, 164, "", ""},
        {"left by Load", "", Leave::kLoad, 164, "", ""},
        {"left by Exit", "", Leave::kExit, 164, "", ""}, // the last: the screen goes black
    };
    for (const BestCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(BestGamesPath());
        if (!c.before.empty()) testing_support::WriteFile(BestGamesPath(), c.before);
        screen->m_followBanner.clear();
        game->m_gameOver = true; // every case starts with no game in progress
        WriteSavedGame(BuildRecord(testing_support::BoardFromText(nearlyFull), c.score));
        if (c.leave == Leave::kLoadedThenLost || c.leave == Leave::kLoad) {
            screen->RunMenuCommand(MenuCommand::kLoad);
        } else {
            NewGameSeeded(5);
            SetBoard(nearlyFull);
            game->m_score = c.score;
        }
        if (c.leave == Leave::kLost || c.leave == Leave::kLoadedThenLost) {
            PlayTheLastMove();
            ASSERT_TRUE(game->m_gameOver);
        } else {
            screen->RunMenuCommand(c.leave == Leave::kNew    ? MenuCommand::kNew
                                   : c.leave == Leave::kLoad ? MenuCommand::kLoad
                                                             : MenuCommand::kExit);
            ASSERT_FALSE(game->m_gameOver);
        }
        EXPECT_EQ(testing_support::ReadFile(BestGamesPath()), c.after);
        EXPECT_EQ(screen->m_followBanner, c.banner);
        EXPECT_TRUE(messages.empty());
    }
}

// One seeded game, played once with the mouse (clicks on the cells, the save button) and once
// with the keys (arrows and Return, Ctrl+S): the same records, save by save, and the same
// sounds. Each move takes the first ball, from a place that turns with the move, that can
// reach an empty cell.
TEST_F(GamePlay, TheKeysPlayTheSameGameAsTheMouse) {
    StartQuiet();
    auto plan = [this](int move) -> std::pair<Point, Point> {
        for (int k = 0; k < kColumns * kRows; ++k) {
            const int i = (k + 11 * move) % (kColumns * kRows);
            const Point from{i % kColumns, i / kColumns};
            if (game->m_cells[from.x][from.y].colour == 0) continue;
            for (int j = 0; j < kColumns * kRows; ++j) {
                const Point to{j % kColumns, j / kColumns};
                if (game->m_cells[to.x][to.y].colour == 0 && game->CanReach(from, to))
                    return {from, to};
            }
        }
        return {{-1, -1}, {-1, -1}};
    };
    auto key = [this](uint32_t k, uint32_t flags = 0) {
        platform::PostKeyDown(k, false, flags);
        Pump();
    };
    auto keysTo = [&](Point cell) {
        while (screen->m_cursorCell.x != cell.x)
            key(screen->m_cursorCell.x < cell.x ? platform::kKeyRight : platform::kKeyLeft);
        while (screen->m_cursorCell.y != cell.y)
            key(screen->m_cursorCell.y < cell.y ? platform::kKeyDown : platform::kKeyUp);
        key(platform::kKeyReturn);
    };
    auto CellCentre = [this](Point cell) {
        return Point{game->m_boardRect.left + 40 * cell.x + 20,
                     game->m_boardRect.top + 40 * cell.y + 20};
    };
    const Point save = testing_support::Centre(screen->ToScreenRect(layout::kSaveButton.place));
    std::vector<std::string> records[2];
    Sounds played[2];
    for (int way = 0; way < 2; ++way) {
        platform::SeedRand(2024);
        if (way == 0)
            screen->RunMenuCommand(MenuCommand::kNew);
        else
            key('N', platform::kFlagControl);
        sounds.played.clear();
        for (int move = 0; move < 12 && !game->m_gameOver; ++move) {
            const auto [from, to] = plan(move);
            ASSERT_GE(from.x, 0) << "no move left";
            if (way == 0) {
                for (const Point p : {CellCentre(from), CellCentre(to), save}) {
                    platform::PostMouseMove(p);
                    platform::PostMouseButton(true, true, p);
                    platform::PostMouseButton(true, false, p);
                }
                Pump();
            } else {
                keysTo(from);
                keysTo(to);
                key('S', platform::kFlagControl);
            }
            records[way].push_back(SavedGame().value_or("(none)"));
        }
        played[way] = sounds.played;
    }
    EXPECT_EQ(records[0].size(), 12u);
    EXPECT_NE(records[0].front(), records[0].back());
    EXPECT_EQ(records[1], records[0]);
    EXPECT_EQ(played[1], played[0]);
}
