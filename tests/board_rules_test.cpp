// board_rules_test.cpp: runs, reachability, new-ball counts and the level rule on plain boards.
#include "game/board.h"
#include "game_fixture.h"
#include "platform/rand.h"

#include <gtest/gtest.h>

using testing_support::BoardFromText;
using testing_support::TextFromBoard;

namespace {

// Marks and removes the runs; returns how many balls went.
int Remove(Board& board) {
    const bool any = MarkRuns(board);
    const int removed = RemoveMarked(board);
    EXPECT_EQ(any, removed > 0);
    return removed;
}

struct RunCase {
    const char* what;
    const char* before;
    int removed;
    const char* after;
};

} // namespace

TEST(BoardRuns, RemovesExactlyTheRunsOfFourOrMore) {
    const RunCase cases[] = {
        {"row of 4 ending at the right edge", "....... ....... ....... ....... 2...... 2223333", 4,
         "....... ....... ....... ....... 2...... 222...."},
        {"column of 4 ending at the bottom edge", "......1 ......2 ......4 ......4 ......4 ......4",
         4, "......1 ......2 ....... ....... ....... ......."},
        {"down-right diagonal ending in the corner",
         "....... ....... ...5... ....5.. .....5. ......5", 4,
         "....... ....... ....... ....... ....... ......."},
        {"up-right diagonal ending in the top corner",
         "......3 .....3. ....3.. ...3... ..1.... .......", 4,
         "....... ....... ....... ....... ..1.... ......."},
        {"up-right diagonal from the bottom-left corner",
         "....... ....... ...2... ..2.... .2..... 2......", 4,
         "....... ....... ....... ....... ....... ......."},
        {"runs of 3, broken runs and mixed colours stay",
         "111.111 2222... 1...1.. 1....1. 1.....1 3434343", 4,
         "111.111 ....... 1...1.. 1....1. 1.....1 3434343"},
        {"diagonal of 3 and a gap stay", "4...... .4..... ..4.... ....... ....4.. .......", 0,
         "4...... .4..... ..4.... ....... ....4.. ......."},
        {"two runs crossing in one ball: 7 balls",
         "..1.... ..1.... 1111... ..1.... ....... .......", 7,
         "....... ....... ....... ....... ....... ......."},
        {"crossing diagonals: 7 balls", "5.....5 .5...5. ..5.5.. ...5... ....... .......", 7,
         "....... ....... ....... ....... ....... ......."},
        {"full row: 7", "1212121 2121212 3333333 ....... ....... .......", 7,
         "1212121 2121212 ....... ....... ....... ......."},
        {"full column: 6", "4...... 4...... 4...... 4...... 4...... 4......", 6,
         "....... ....... ....... ....... ....... ......."},
        {"a run of 5 goes whole", "....... ....... ....... .22222. ....... .......", 5,
         "....... ....... ....... ....... ....... ......."},
    };
    for (const RunCase& c : cases) {
        SCOPED_TRACE(c.what);
        Board board = BoardFromText(c.before);
        EXPECT_EQ(Remove(board), c.removed);
        EXPECT_EQ(TextFromBoard(board), c.after);
    }
}

TEST(BoardRuns, MarksLeftFromReachabilityDoNotRemoveBalls) {
    Board board = BoardFromText("12..... 34..... ....... ....... ....... .......");
    for (auto& column : board)
        for (BoardCell& cell : column)
            cell.mark = true;
    EXPECT_EQ(Remove(board), 0);
    EXPECT_EQ(CountEmpty(board), 38);
}

TEST(BoardReach, EmptyPathsOnlyAndNoWrapping) {
    struct Case {
        const char* what;
        const char* board;
        platform::Point from, to;
        bool reachable;
    };
    const Case cases[] = {
        {"enclosed ball", "....... ...1... ..121.. ...1... ....... .......", {3, 2}, {0, 0}, false},
        {"enclosed ball, diagonal neighbour",
         "....... ...1... ..121.. ...1... ....... .......",
         {3, 2},
         {4, 3},
         false},
        {"ball in a corner behind two balls",
         "12..... 3...... ....... ....... ....... .......",
         {0, 0},
         {1, 1},
         false},
        {"diagonal neighbour, reachable round the wall",
         "....... ....... ..11... ..1.... ....... .......",
         {2, 2},
         {3, 3},
         true},
        {"diagonal neighbour, walled in",
         "..1.... .1.1... ..11... ..1.1.. ...1... .......",
         {2, 2},
         {3, 3},
         false},
        {"no wrap from the right edge to the left",
         "....... ......1 .....12 ......1 ....... .......",
         {6, 2},
         {0, 2},
         false},
        {"no wrap from the top edge to the bottom",
         "..121.. ...1... ....... ....... ....... .......",
         {3, 0},
         {3, 5},
         false},
        {"another ball blocks the only way",
         "131.2.. 1.1.... 1.1.... 1.1.... 1.1.... 1.1....",
         {4, 0},
         {1, 5},
         false},
        {"the starting ball's own cell is the way in",
         "131.2.. 1.1.... 1.1.... 1.1.... 1.1.... 1.1....",
         {1, 0},
         {1, 5},
         true},
        {"long winding path",
         "3...... 111111. ....... .222222 ....... 444444.",
         {0, 0},
         {0, 4},
         true},
        {"long winding path cut at its last bend",
         "3...... 111111. ....... .222222 4...... 4444441",
         {0, 0},
         {6, 4},
         false},
        {"from the middle of a wall of balls",
         "....... ....... 1111111 ....... ....... .......",
         {3, 2},
         {3, 5},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Board board = BoardFromText(c.board);
        EXPECT_EQ(CanReach(board, c.from, c.to), c.reachable);
        // The fill never changes a colour.
        EXPECT_EQ(TextFromBoard(board), c.board);
    }
}

TEST(BoardReach, FillMarksTheStartAndItsEmptyRegionOnly) {
    Board board = BoardFromText("1.2.... 1.2.... 112.... ..2.... ....... .......");
    MarkReachable(board, 0, 0);
    int marked = 0;
    for (const auto& column : board)
        for (const BoardCell& cell : column)
            marked += cell.mark;
    EXPECT_TRUE(board[0][0].mark);
    EXPECT_TRUE(board[1][0].mark && board[1][1].mark);
    EXPECT_FALSE(board[1][2].mark); // a ball
    EXPECT_EQ(marked, 3);
}

TEST(BoardNewBalls, CountFollowsTheEmptyCellsAndTheLevel) {
    EXPECT_EQ(BallsToAdd(42, 0), 4);
    EXPECT_EQ(BallsToAdd(31, 0), 4);
    EXPECT_EQ(BallsToAdd(30, 0), 3);
    EXPECT_EQ(BallsToAdd(4, 0), 3);
    EXPECT_EQ(BallsToAdd(3, 0), 3);
    EXPECT_EQ(BallsToAdd(2, 0), 2);
    EXPECT_EQ(BallsToAdd(1, 0), 1);
    EXPECT_EQ(BallsToAdd(16, 15), 4);
    EXPECT_EQ(BallsToAdd(15, 15), 3);
    EXPECT_EQ(BallsToAdd(24, 7), 4);
    EXPECT_EQ(BallsToAdd(23, 7), 3);
}

TEST(BoardNewBalls, PlacesOnlyOnEmptyCellsAndFillsTheLastOnes) {
    for (uint32_t seed = 1; seed <= 30; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        platform::SeedRand(seed);
        // Two free cells: both must be found, however many draws it takes.
        Board board = BoardFromText("1234512 3451234 5123451 23.5123 4512345 123451.");
        const Board before = board;
        AddBalls(board, 0);
        EXPECT_EQ(CountEmpty(board), 0);
        for (int c = 0; c < kColumns; ++c)
            for (int r = 0; r < kRows; ++r) {
                if (before[c][r].colour != 0) {
                    EXPECT_EQ(board[c][r].colour, before[c][r].colour);
                }
                EXPECT_GE(board[c][r].colour, 1);
                EXPECT_LE(board[c][r].colour, 5);
            }
    }
}

namespace {

struct LevelStep {
    int32_t score;
    uint32_t level;
    bool unlocked;
};

// Runs the level rule from (level, unlocked) at `score`; returns the draws it made.
int DrawsOfLevelRule(uint32_t& level, bool& unlocked, int32_t score) {
    platform::SeedRand(99);
    UpdateLevel(level, unlocked, score);
    const int next = platform::Rand();
    platform::SeedRand(99);
    for (int n = 0; n < 4; ++n)
        if (platform::Rand() == next) return n;
    return -1;
}

} // namespace

TEST(BoardLevel, FollowsTheScoreThroughAGame) {
    uint32_t level = 0;
    bool unlocked = false;
    const LevelStep steps[] = {
        {0, 0, false},   {40, 0, false},  {41, 0, true},   {60, 0, true},
        {119, 0, true},  {120, 1, true},  {159, 1, true},  {160, 2, true},
        {679, 14, true}, {680, 15, true}, {719, 15, true}, {719, 15, true},
    };
    for (const LevelStep& s : steps) {
        SCOPED_TRACE("score " + std::to_string(s.score));
        EXPECT_EQ(DrawsOfLevelRule(level, unlocked, s.score), 0);
        EXPECT_EQ(level, s.level);
        EXPECT_EQ(unlocked, s.unlocked);
    }
}

TEST(BoardLevel, From720EveryCallDrawsOneRandomLevel) {
    for (int32_t score : {720, 721, 800, 5000, 2000000000}) {
        for (uint32_t old : {0u, 7u, 15u}) {
            SCOPED_TRACE("score " + std::to_string(score) + " from level " + std::to_string(old));
            uint32_t level = old;
            bool unlocked = true;
            EXPECT_EQ(DrawsOfLevelRule(level, unlocked, score), 1);
            platform::SeedRand(99);
            EXPECT_EQ(level, static_cast<uint32_t>(platform::Rand() % 16));
            EXPECT_TRUE(unlocked);
        }
    }
}

TEST(BoardLevel, LockedPictureUnlocksAtLevelZeroWithoutDrawing) {
    // A locked picture at a high score (a record loaded into a fresh game) still starts at 0.
    uint32_t level = 0;
    bool unlocked = false;
    EXPECT_EQ(DrawsOfLevelRule(level, unlocked, 5000), 0);
    EXPECT_EQ(level, 0u);
    EXPECT_TRUE(unlocked);
    // Unlocked below 40 (a lower score loaded during a game) wraps far above 15 and draws.
    level = 3;
    EXPECT_EQ(DrawsOfLevelRule(level, unlocked, 10), 1);
    EXPECT_LT(level, 16u);
}
