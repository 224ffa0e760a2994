// board_game.cpp: new game, clicks and moves, runs and levels, saving and loading.
#include "game/board_game.h"

#include "game/record.h"
#include "game/registry_store.h"
#include "gfx/jpeg_image.h"
#include "platform/message_box.h"

#include <algorithm>
#include <limits>
#include <string>

using platform::Point;
using platform::Rect;

CBoardGame::CBoardGame(CGameHost* screen) : CGame(screen) {
    m_name = kName;
    m_boardRect = screen->ToScreenRect(layout::kBoardRect);
    m_cellOrigin = {0, 0};
    for (int k = 0; k < layout::kBoardPictures; ++k) {
        m_colourSurfaces[k] = screen->CreateSurface(m_boardRect);
        CJpegImage picture;
        picture.LoadFromResource("COL" + std::to_string(k));
        picture.Draw(m_colourSurfaces[k].get());
    }
    m_sndMove = screen->FindSound("W_MOVE");
    m_gameOver = true;
}

CBoardGame::~CBoardGame() {
    for (platform::SurfacePtr& s : m_colourSurfaces)
        m_screen->FreeSurface(s);
    m_sndMove = {};
}

void CBoardGame::NewGame() {
    m_gameOver = false;
    m_score = 0;
    m_level = 0;
    m_pictureUnlocked = false;
    m_selected = {-1, 0};
    m_screen->ShowTransition(m_colourSurfaces[0].get(), 255, m_boardRect, {0, 0}, 1.0f);
    for (auto& column : m_cells)
        for (BoardCell& cell : column)
            cell.colour = 0;
    AddBalls();
    m_screen->PlaySoundEffect(m_sndNew);
    DrawBoard();
}

void CBoardGame::AddBalls() {
    ::AddBalls(m_cells, m_level);
}

bool CBoardGame::RemoveRuns() {
    const bool any = MarkRuns(m_cells);
    // Held at the top rather than overflowing: a loaded record may sit just below it.
    const int64_t score = int64_t{m_score} + RemoveMarked(m_cells);
    m_score = static_cast<int32_t>(std::min<int64_t>(score, std::numeric_limits<int32_t>::max()));
    UpdatePicture();
    return any;
}

void CBoardGame::UpdatePicture() {
    UpdateLevel(m_level, m_pictureUnlocked, m_score);
}

void CBoardGame::CheckBoardFull() {
    if (CountEmpty(m_cells) != 0) return;
    m_gameOver = true;
    m_screen->ShowBanner("M_LOSE");
    m_screen->GameEnded(m_score, m_level);
}

bool CBoardGame::CanReach(Point from, Point to) {
    return ::CanReach(m_cells, from, to);
}

void CBoardGame::OnLeftButton(uint32_t, int32_t x, int32_t y) {
    if (m_gameOver) return;
    const int32_t left = m_boardRect.left + m_cellOrigin.x;
    const int32_t top = m_boardRect.top + m_cellOrigin.y;
    const Rect hit{left, top, left + kColumns * kCellSize, top + kRows * kCellSize};
    if (!hit.Contains({x, y})) return;
    const int32_t column = (x - left) / kCellSize;
    const int32_t row = (y - top) / kCellSize;
    BoardCell& target = m_cells[column][row];

    if (m_selected.x == -1) {
        if (target.colour != 0) {
            m_selected = {column, row};
            DrawBoard();
        }
        return;
    }
    m_screen->PlaySoundEffect(m_sndMove);
    if (target.colour != 0) {
        m_selected = {column, row};
        DrawBoard();
        return;
    }
    if (!CanReach(m_selected, {column, row})) return;
    BoardCell& from = m_cells[m_selected.x][m_selected.y];
    target.colour = from.colour;
    from.colour = 0;
    DrawBoard();
    if (RemoveRuns()) {
        DrawBoard();
        m_screen->DrawScore(m_score);
    } else {
        AddBalls();
        RemoveRuns();
    }
    m_selected.x = -1;
    DrawBoard();
    CheckBoardFull();
}

void CBoardGame::SaveGame() {
    const std::string record = BuildRecord(m_cells, m_score);
    std::string reason;
    // A save that did not reach the disk must not look like one: the player would later load
    // an older game believing it was this one.
    if (!RegistryStore(m_name).WriteString("Game", record, &reason)) {
        platform::MessageBox("The game could not be saved: " + reason);
        return;
    }
    m_screen->PlaySoundEffect(m_sndSave);
    m_screen->ShowBanner("M_SAVED");
}

void CBoardGame::LoadGame() {
    const std::string text = RegistryStore(m_name).ReadString("Game");
    std::array<std::array<int32_t, kRows>, kColumns> colours{};
    uint32_t score = 0;
    // The whole record is checked first: a bad one changes nothing, not even the game state.
    if (!ParseRecord(text, colours, score)) return;
    if (m_gameOver) NewGame();
    for (int32_t c = 0; c < kColumns; ++c)
        for (int32_t r = 0; r < kRows; ++r)
            m_cells[c][r].colour = colours[c][r];
    m_score = static_cast<int32_t>(score);
    // A selection kept on a cell the loaded board leaves empty would let the next click "move"
    // nothing and still bring new balls.
    if (m_selected.x != -1 && m_cells[m_selected.x][m_selected.y].colour == 0) m_selected.x = -1;
    m_screen->PlaySoundEffect(m_sndLoad);
    DrawBoard();
}
