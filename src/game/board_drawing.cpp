// board_drawing.cpp: the board composed from whole-board pictures, and the score digits.
#include "game/board_game.h"

#include "app/interface.h"
#include "gfx/jpeg_image.h"

using platform::Rect;

void CBoardGame::DrawBoard() {
    const platform::SurfacePtr board = m_screen->CreateSurface(m_boardRect);
    const int32_t w = m_boardRect.Width(), h = m_boardRect.Height();
    board->Copy({0, 0, w, h}, *m_colourSurfaces[0], {0, 0});
    for (int32_t c = 0; c < kColumns; ++c)
        for (int32_t r = 0; r < kRows; ++r) {
            const int32_t k = m_cells[c][r].colour;
            if (k == 0) continue;
            const int32_t x = kCellSize * c + m_cellOrigin.x;
            const int32_t y = kCellSize * r + m_cellOrigin.y;
            const Rect cell{x, y, x + kCellSize, y + kCellSize};
            if (k > 0 && k < 7) board->Copy(cell, *m_colourSurfaces[k], {x, y});
            if (m_selected.x == c && m_selected.y == r)
                m_screen->BlendSurface(cell, m_colourSurfaces[6].get(), {x, y}, 205, board.get());
        }
    m_screen->ShowTransition(board.get(), 255, m_boardRect, {0, 0}, 0.5f);
    m_screen->DrawScore(m_score);
}

void CInterface::DrawScore(int32_t value) {
    // The background keeps only its score field (see the end of start-up).
    m_backPicture->DrawStretched(m_backBuffer.get(), ToScreenRect(layout::kScoreField),
                                 {0, 0, layout::kScoreField.Width(), layout::kScoreField.Height()});
    CJpegImage digits;
    digits.LoadFromResource("DIGITS");
    const bool negative = value < 0;
    // Unsigned, so that the most negative number is drawn rather than overflowing.
    uint32_t v = negative ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    Rect digit = layout::kLastDigitPlace;
    do {
        const int32_t d = static_cast<int32_t>(v % 10);
        v /= 10;
        digits.DrawStretched(m_backBuffer.get(), ToScreenRect(digit), layout::DigitCell(d));
        digit = digit.Offset(-layout::kDigitWidth, 0);
    } while (v != 0);
    if (negative) {
        digits.DrawStretched(m_backBuffer.get(), ToScreenRect(digit),
                             layout::DigitCell(layout::kMinusDigit));
        digit = digit.Offset(-layout::kDigitWidth, 0);
    }
}
