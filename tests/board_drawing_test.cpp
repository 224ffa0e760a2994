// board_drawing_test.cpp: the board and score as they land in the back buffer and window.
#include "game_fixture.h"
#include "gfx/jpeg_image.h"

#include <array>
#include <memory>

using platform::Point;
using platform::Rect;
using platform::Surface;
using testing_support::GameTest;

namespace {

// What the picture resource looks like once decoded and drawn whole.
std::unique_ptr<Surface> Picture(const std::string& name) {
    CJpegImage image;
    EXPECT_TRUE(image.LoadFromResource(name)) << name;
    auto s = std::make_unique<Surface>(image.m_width, image.m_height);
    image.Draw(s.get());
    return s;
}

// Pixels of `rect` of `actual` that differ from `expected` read from `from`.
int Differences(const Surface& actual, const Rect& rect, const Surface& expected, Point from) {
    int n = 0;
    for (int32_t y = 0; y < rect.Height(); ++y)
        for (int32_t x = 0; x < rect.Width(); ++x)
            n += (actual.Pixel(rect.left + x, rect.top + y) & 0xFFFFFF) !=
                 (expected.Pixel(from.x + x, from.y + y) & 0xFFFFFF);
    return n;
}

class BoardDrawing : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        StartQuiet();
        for (int k = 0; k < 7; ++k)
            colours[k] = Picture("COL" + std::to_string(k));
    }

    // The board as the pictures say it should look: COL0, each ball's square from its own
    // picture, the highlight at 205/255 over the selected ball only.
    Surface Expected(Point selected) const {
        Surface board(277, 237);
        board.Copy(board.Bounds(), *colours[0], {0, 0});
        for (int c = 0; c < kColumns; ++c)
            for (int r = 0; r < kRows; ++r) {
                const int k = game->m_cells[c][r].colour;
                if (k == 0) continue;
                const Rect cell{40 * c, 40 * r, 40 * c + 40, 40 * r + 40};
                board.Copy(cell, *colours[k], cell.TopLeft());
                if (selected == Point{c, r}) board.Blend(cell, *colours[6], cell.TopLeft(), 205);
            }
        return board;
    }

    int BoardDifferences(const Surface& expected) const {
        return Differences(*screen->m_backBuffer, game->m_boardRect, expected, {0, 0});
    }

    std::array<std::unique_ptr<Surface>, 7> colours;
};

} // namespace

TEST_F(BoardDrawing, EmptyBoardIsTheEmptyBoardPicture) {
    NewGameSeeded(1);
    SetBoard("....... ....... ....... ....... ....... .......");
    game->DrawBoard();
    EXPECT_EQ(BoardDifferences(*colours[0]), 0);
    // It reached the window too.
    const Rect b = game->m_boardRect;
    for (int32_t y = 0; y < b.Height(); y += 7)
        for (int32_t x = 0; x < b.Width(); x += 7)
            ASSERT_EQ(screen->WindowPixel(b.left + x, b.top + y) & 0xFFFFFF,
                      colours[0]->Pixel(x, y) & 0xFFFFFF)
                << x << "," << y;
}

TEST_F(BoardDrawing, BallsComeFromTheirPicturesAndOnlyTheSelectedOneIsHighlighted) {
    NewGameSeeded(2);
    SetBoard("1.....5 .2..... ..3.... ...4... ....5.. 1.....2");
    game->DrawBoard();
    EXPECT_EQ(BoardDifferences(Expected({-1, 0})), 0);

    ClickCell(2, 2);
    EXPECT_EQ(BoardDifferences(Expected({2, 2})), 0);
    // The highlight moves; the cut square in the corner gets it too.
    ClickCell(6, 5);
    EXPECT_EQ(BoardDifferences(Expected({6, 5})), 0);
    ASSERT_NE(BoardDifferences(Expected({-1, 0})), 0);

    // A selected cell that a load has emptied shows no highlight.
    game->m_cells[6][5].colour = 0;
    game->DrawBoard();
    EXPECT_EQ(BoardDifferences(Expected({-1, 0})), 0);
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
                EXPECT_EQ(Differences(*screen->m_backBuffer, cell, *digits, {12 * glyph, 0}), 0)
                    << "cell " << i;
            } else {
                EXPECT_EQ(Differences(*screen->m_backBuffer, cell, *back, {334 - 12 * i, 506}), 0)
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
    EXPECT_EQ(BoardDifferences(Expected({-1, 0})), 0);
    const auto digits = Picture("DIGITS");
    const Rect last = screen->ToScreenRect({334, 506, 346, 527});
    EXPECT_EQ(Differences(*screen->m_backBuffer, last, *digits, {48, 0}), 0);
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
