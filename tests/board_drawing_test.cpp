// board_drawing_test.cpp: the board and score as they land in the back buffer and window.
#include "game_fixture.h"
#include "screen_probe.h"

#include <array>

using platform::Point;
using platform::Rect;
using platform::Surface;
using testing_support::BoardFromText;
using testing_support::Centre;
using testing_support::GameTest;
using testing_support::Picture;
using testing_support::RecordingHost;
using testing_support::Region;
using testing_support::SamePixels;

namespace {

using Colours = std::array<Surface, layout::kBoardPictures>;

Colours ColourPictures() {
    Colours colours;
    for (int k = 0; k < layout::kBoardPictures; ++k)
        colours[k] = Picture("COL" + std::to_string(k));
    return colours;
}

// The board as the pictures say it should look: COL0, each ball's square from its own
// picture, the highlight at 205/255 over the selected ball only.
Surface ExpectedBoard(const Board& cells, Point selected, const Colours& colours) {
    Surface board(layout::kBoardRect.Width(), layout::kBoardRect.Height());
    board.Copy(board.Bounds(), colours[0], {0, 0});
    for (int c = 0; c < kColumns; ++c)
        for (int r = 0; r < kRows; ++r) {
            const int k = cells[c][r].colour;
            if (k == 0) continue;
            const Rect cell = layout::CellRect(c, r);
            board.Copy(cell, colours[k], cell.TopLeft());
            if (selected == Point{c, r})
                board.Blend(cell, colours[layout::kHighlightPicture], cell.TopLeft(), 205);
        }
    return board;
}

class BoardDrawing : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        StartQuiet();
        colours = ColourPictures();
    }

    Surface Expected(Point selected) const {
        return ExpectedBoard(game->m_cells, selected, colours);
    }

    // The board's part of the back buffer against the top-left of `expected`.
    ::testing::AssertionResult BoardShows(const Surface& expected) const {
        const Rect b = game->m_boardRect;
        return SamePixels(Region(*screen->m_backBuffer, b),
                          Region(expected, {0, 0, b.Width(), b.Height()}));
    }

    Colours colours;
};

// The game on a recording host: the rules and the drawing with no window and no main screen.
class BoardOnHost : public ::testing::Test {
protected:
    using Calls = std::vector<std::string>;
    void Click(int c, int r) {
        const Point p =
            Centre(layout::CellRect(c, r).Offset(game.m_boardRect.left, game.m_boardRect.top));
        game.OnLeftButton(0, p.x, p.y);
    }
    // One board drawing with `score` on the board.
    static Calls Drawing(int score) {
        return {"CreateSurface 277x237", "ShowTransition 0.5",
                "DrawScore " + std::to_string(score)};
    }
    static Calls Then(Calls a, const Calls& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    }
    RecordingHost host;
    CBoardGame game{&host};
    Colours colours = ColourPictures();
};

} // namespace

TEST_F(BoardDrawing, EmptyBoardIsTheEmptyBoardPicture) {
    NewGameSeeded(1);
    SetBoard("....... ....... ....... ....... ....... .......");
    game->DrawBoard();
    EXPECT_TRUE(BoardShows(colours[0]));
    // It reached the window too.
    const Rect b = game->m_boardRect;
    EXPECT_TRUE(SamePixels(testing_support::WindowRegion(screen, b),
                           Region(colours[0], {0, 0, b.Width(), b.Height()})));
}

TEST_F(BoardDrawing, BallsComeFromTheirPicturesAndOnlyTheSelectedOneIsHighlighted) {
    NewGameSeeded(2);
    SetBoard("1.....5 .2..... ..3.... ...4... ....5.. 1.....2");
    game->DrawBoard();
    EXPECT_TRUE(BoardShows(Expected({-1, 0})));

    ClickCell(2, 2);
    EXPECT_TRUE(BoardShows(Expected({2, 2})));
    // The highlight moves; the cut square in the corner gets it too.
    ClickCell(6, 5);
    EXPECT_TRUE(BoardShows(Expected({6, 5})));
    ASSERT_FALSE(BoardShows(Expected({-1, 0})));

    // A selected cell that a load has emptied shows no highlight.
    game->m_cells[6][5].colour = 0;
    game->DrawBoard();
    EXPECT_TRUE(BoardShows(Expected({-1, 0})));
}

TEST_F(BoardDrawing, ScoreShowsItsDigitsAndNothingStale) {
    const auto back = Picture("BACK");
    const auto digits = Picture("DIGITS");
    // Cells of the six-digit field, rightmost first, against the expected glyphs.
    auto check = [&](const std::string& shown) {
        SCOPED_TRACE("showing " + shown);
        for (int i = 0; i < 6; ++i) {
            const Rect cell = screen->ToScreenRect({334 - 12 * i, 506, 346 - 12 * i, 527});
            const int at = static_cast<int>(shown.size()) - 1 - i;
            if (at >= 0) {
                const char ch = shown[static_cast<size_t>(at)];
                const int glyph = ch == '-' ? 11 : ch - '0';
                EXPECT_TRUE(SamePixels(Region(*screen->m_backBuffer, cell),
                                       Region(digits, {12 * glyph, 0, 12 * glyph + 12, 21})))
                    << "cell " << i;
            } else {
                EXPECT_TRUE(SamePixels(Region(*screen->m_backBuffer, cell),
                                       Region(back, {334 - 12 * i, 506, 346 - 12 * i, 527})))
                    << "cell " << i;
            }
        }
    };
    for (int32_t value : {0, 1234, 7, 999999, 5, -42, 100, 0}) {
        screen->DrawScore(value);
        check(std::to_string(value));
    }
    // A seven-digit score spills left of the field; the field itself is still right.
    screen->DrawScore(1234567);
    check("234567");
}

TEST_F(BoardDrawing, AScoringMoveRedrawsBoardAndScore) {
    NewGameSeeded(3);
    SetBoard("...1... ....... ....... ....... ....2.. 111....");
    ClickCell(3, 0);
    ClickCell(3, 5);
    ASSERT_EQ(game->m_score, 4);
    EXPECT_TRUE(BoardShows(Expected({-1, 0})));
    const auto digits = Picture("DIGITS");
    const Rect last = screen->ToScreenRect({334, 506, 346, 527});
    EXPECT_TRUE(SamePixels(Region(*screen->m_backBuffer, last), Region(digits, {48, 0, 60, 21})));
}

TEST_F(BoardDrawing, NewGameFadesInOverOneSecondAndEachRedrawOverHalfASecond) {
    // The clock moves 1/10 s at each read: a transition of d seconds reads it 1 + 10 d times.
    const uint64_t start = clock.counterReads();
    NewGameSeeded(4);
    EXPECT_EQ(clock.counterReads() - start, 11u + 6u);
    const uint64_t before = clock.counterReads();
    game->DrawBoard();
    EXPECT_EQ(clock.counterReads() - before, 6u);
}

TEST_F(BoardOnHost, RulesAndDrawingAskTheHostInTheOrderOfTheirSteps) {
    Calls built{"FindSound W_NEW", "FindSound W_LOAD", "FindSound W_SAVE"};
    built.insert(built.end(), 7, "CreateSurface 277x237");
    EXPECT_EQ(host.calls, Then(built, {"FindSound W_MOVE"}));
    EXPECT_EQ(game.m_boardRect, layout::kBoardRect.Offset(112, 84));

    host.calls.clear();
    platform::SeedRand(3);
    game.NewGame();
    EXPECT_EQ(host.calls, Then({"ShowTransition 1", "PlaySoundEffect W_NEW"}, Drawing(0)));
    EXPECT_EQ(CountEmpty(game.m_cells), kColumns * kRows - 4);

    // Selecting blends the highlight; the move makes a row of four: drawn, scored, deselected.
    game.m_cells = BoardFromText("...1... ....... ....... ....... ....2.. 111....");
    host.calls.clear();
    Click(3, 0);
    EXPECT_EQ(host.calls, (Calls{"CreateSurface 277x237", "BlendSurface 205", "ShowTransition 0.5",
                                 "DrawScore 0"}));
    EXPECT_EQ(host.shownAt, game.m_boardRect);
    EXPECT_TRUE(SamePixels(host.shown, ExpectedBoard(game.m_cells, {3, 0}, colours)));
    host.calls.clear();
    Click(3, 5);
    EXPECT_EQ(host.calls, Then(Then(Then({"PlaySoundEffect W_MOVE"}, Drawing(0)), Drawing(4)),
                               Then({"DrawScore 4"}, Drawing(4))));
    EXPECT_TRUE(SamePixels(host.shown, ExpectedBoard(game.m_cells, {-1, 0}, colours)));

    // No two neighbours alike: the move removes nothing, the new ball fills the board; the
    // host hears of the end after the loss banner.
    game.m_cells = BoardFromText("1234512 3451234 5123451 2345123 4512345 123451.");
    Click(5, 5);
    host.calls.clear();
    Click(6, 5);
    EXPECT_EQ(host.calls, Then(Then(Then({"PlaySoundEffect W_MOVE"}, Drawing(4)), Drawing(4)),
                               {"ShowBanner M_LOSE", "GameEnded 4 0"}));
    EXPECT_TRUE(game.m_gameOver);
}
