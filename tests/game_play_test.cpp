// game_play_test.cpp: new games, clicks and moves through the real main screen and game.
#include "game_fixture.h"
#include "screen_probe.h"

using platform::Point;
using platform::Rect;
using testing_support::GameTest;

namespace {

using Sounds = std::vector<std::string>;

// The first `balls` cells, row by row, of a pattern in which no two neighbours in any
// direction share a colour, so that no single new ball can complete a run.
std::string Pattern(int balls) {
    Board board{};
    for (int k = 0; k < balls; ++k)
        board[k % kColumns][k / kColumns].colour =
            1 + (k % kColumns + 2 * (k / kColumns)) % kBallColours;
    return testing_support::TextFromBoard(board);
}

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
