// keyboard.cpp: the board cursor, the menu keys and the window's mode: the game played without
// the mouse, with every press, sound and random draw a click would give.
#include "app/interface.h"

#include "game/board.h"

#include <algorithm>
#include <optional>

using platform::Point;
using platform::Rect;

namespace {

// Each key does what a completed click on its button does. Shift makes no difference.
struct MenuKey {
    uint32_t key;
    uint32_t modifiers; // of platform::kFlagControl and kFlagAlt
    MenuCommand command;
};
constexpr MenuKey kMenuKeys[] = {
    {'N', platform::kFlagControl, MenuCommand::kNew},
    {'S', platform::kFlagControl, MenuCommand::kSave},
    {'O', platform::kFlagControl, MenuCommand::kLoad},
    {'L', platform::kFlagControl, MenuCommand::kLoad},
    {'Q', platform::kFlagControl, MenuCommand::kExit},
    {platform::kKeyF1, 0, MenuCommand::kHelp},
    {platform::kKeyF2, 0, MenuCommand::kBest},
    {'M', 0, MenuCommand::kMusic},
    {'E', 0, MenuCommand::kSound},
};

uint32_t Modifiers(uint32_t flags) {
    return flags & (platform::kFlagControl | platform::kFlagAlt);
}

// The cursor: a dark line, a bright one twice as wide and a dark one again, inside the cell's
// edge, so that it stands out on every ball, on the selection and on an empty cell alike.
constexpr struct {
    int32_t width;
    uint32_t colour;
} kCursorRings[] = {
    {1, platform::Rgb(8, 10, 16)},
    {2, platform::Rgb(255, 255, 255)},
    {1, platform::Rgb(8, 10, 16)},
};

void DrawCursor(platform::Surface& s, Rect r) {
    for (const auto& ring : kCursorRings) {
        const int32_t w = ring.width;
        s.Fill({r.left, r.top, r.right, r.top + w}, ring.colour);
        s.Fill({r.left, r.bottom - w, r.right, r.bottom}, ring.colour);
        s.Fill({r.left, r.top + w, r.left + w, r.bottom - w}, ring.colour);
        s.Fill({r.right - w, r.top + w, r.right, r.bottom - w}, ring.colour);
        r = {r.left + w, r.top + w, r.right - w, r.bottom - w};
    }
}

static_assert(platform::kPlayAreaSize == platform::Size{layout::kPlayWidth, layout::kPlayHeight});

// The whole of board cell `cell`, as the rules lay the cells out.
Rect CellRect(const Rect& board, Point cell) {
    return {board.left + layout::kCellSize * cell.x, board.top + layout::kCellSize * cell.y,
            board.left + layout::kCellSize * (cell.x + 1),
            board.top + layout::kCellSize * (cell.y + 1)};
}

} // namespace

Rect CInterface::CursorRect() const {
    if (!m_game) return {};
    // The last column and row show only what the board's picture holds of them.
    return CellRect(m_game->m_boardRect, m_cursorCell).Intersect(m_game->m_boardRect);
}

bool CInterface::CursorVisible() const {
    // Every overlay over the board, and the closing fade, hides it.
    return m_cursorShown && m_game && !OverlayShown() && !m_overlayMoving && !m_pictureShown &&
           !m_closing;
}

void CInterface::UpdateCursor() {
    if (CursorVisible())
        SetOverlay(CursorRect(), DrawCursor);
    else
        SetOverlay(std::nullopt);
}

void CInterface::ShowCursor(bool shown) {
    const bool before = CursorVisible();
    m_cursorShown = shown;
    UpdateCursor();
    // Only the board changes (the cell it left and the one it entered), in one present.
    if ((before || CursorVisible()) && m_windowDC && m_backBuffer)
        m_windowDC->Copy(*m_backBuffer, m_game->m_boardRect);
}

void CInterface::UseBoardKey(uint32_t key, uint32_t repeat, uint32_t flags) {
    if (Modifiers(flags) != 0) return;
    if (key == platform::kKeyLeft) MoveCursor(-1, 0, repeat);
    if (key == platform::kKeyRight) MoveCursor(1, 0, repeat);
    if (key == platform::kKeyUp) MoveCursor(0, -1, repeat);
    if (key == platform::kKeyDown) MoveCursor(0, 1, repeat);
    // One act a press: a held Return does not go on moving balls.
    if (key == platform::kKeyReturn && (flags & platform::kFlagKeyWasDown) == 0) ActAtCursor();
}

void CInterface::MoveCursor(int32_t dx, int32_t dy, uint32_t steps) {
    const auto n = static_cast<int32_t>(std::min<uint32_t>(steps, kColumns));
    m_cursorCell = {std::clamp(m_cursorCell.x + dx * n, 0, kColumns - 1),
                    std::clamp(m_cursorCell.y + dy * n, 0, kRows - 1)};
    ShowCursor(true);
}

void CInterface::ResetCursor() {
    m_cursorCell = {0, 0};
    ShowCursor(m_cursorShown);
}

void CInterface::ActAtCursor() {
    if (!m_game) return;
    ShowCursor(true);
    // The middle of the cell, as a click there would give it; no menu button and no link is
    // pressed, whatever the mouse rests on.
    const Rect cell = CellRect(m_game->m_boardRect, m_cursorCell);
    const Point p{cell.left + layout::kCellSize / 2, cell.top + layout::kCellSize / 2};
    if (m_game->m_boardRect.Contains(p)) m_game->OnLeftButton(platform::kFlagLButton, p.x, p.y);
}

bool CInterface::RunMenuKey(uint32_t key, uint32_t flags) {
    for (const MenuKey& k : kMenuKeys) {
        if (k.key != key || k.modifiers != Modifiers(flags)) continue;
        PlaySoundEffect(m_clickSound);
        RunMenuCommand(k.command);
        return true;
    }
    return false;
}

bool CInterface::IsWindowModeKey(uint32_t key, uint32_t flags) {
    return (key == platform::kKeyF11 && Modifiers(flags) == 0) ||
           (key == platform::kKeyReturn && Modifiers(flags) == platform::kFlagAlt);
}

void CInterface::ToggleWindowMode() {
    platform::WindowMode mode = GetWindowMode();
    mode.windowed = !mode.windowed;
    SetWindowMode(mode);
}

void CInterface::OnWindowModeChanged() {
    SaveSettings(); // with the switches, in one write
}
