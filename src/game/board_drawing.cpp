// board_drawing.cpp: the board composed from whole-board pictures and brought in by the host.
#include "game/board_game.h"

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
            if (k > 0 && k < layout::kBoardPictures)
                board->Copy(cell, *m_colourSurfaces[k], {x, y});
            if (m_selected.x == c && m_selected.y == r)
                m_screen->BlendSurface(cell, m_colourSurfaces[layout::kHighlightPicture].get(),
                                       {x, y}, 205, board.get());
        }
    m_screen->ShowTransition(board.get(), 255, m_boardRect, {0, 0}, 0.5f);
    m_screen->DrawScore(m_score);
}
