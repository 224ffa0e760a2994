// input.cpp: mouse and key routing through the overlays, the menu, the board and the link.
#include "app/interface.h"

#include "app/internet_link.h"
#include "ui/pic_button.h"

#include <string>

using platform::Point;

void CInterface::OnMouseMove(uint32_t flags, Point point) {
    if (m_pictureShown || OverlayShown()) return;
    // The mouse is at work on the board: the keyboard's cursor steps aside.
    if (m_cursorShown && m_game && m_game->m_boardRect.Contains(point)) ShowCursor(false);
    if (m_hovered && !m_hovered->m_rect.Contains(point)) {
        m_hovered->m_fade = 10;
        m_hovered->Draw(m_backBuffer.get(), m_backBuffer.get());
        m_hovered = nullptr;
        ShowBanner("M_CLEAR");
        Present();
    }
    for (const auto& owned : m_menuButtons) {
        CPicButton* b = owned.get();
        if (!b->m_rect.Contains(point)) continue;
        if (!m_pressed) {
            b->m_state = CPicButton::kHighlighted;
            b->m_fade = 0;
            ShowBanner(BannerName(b->m_id));
        } else if (b == m_pressed) {
            b->m_state = CPicButton::kPressed;
        }
        b->Draw(m_backBuffer.get(), m_backBuffer.get());
        Present();
        m_hovered = b;
    }
    FrameWindow::OnMouseMove(flags, point);
}

void CInterface::OnLButtonDown(uint32_t flags, Point point) {
    if (m_pictureShown) return;
    if (m_helpShown) {
        ShowHelp(false);
        return;
    }
    if (m_bestShown) {
        ShowBest(false);
        return;
    }
    if (m_game && m_game->m_boardRect.Contains(point)) {
        // The cursor goes where the mouse pressed, out of sight until a key is used.
        m_cursorCell = {(point.x - m_game->m_boardRect.left) / layout::kCellSize,
                        (point.y - m_game->m_boardRect.top) / layout::kCellSize};
        ShowCursor(false);
        m_game->OnLeftButton(flags, point.x, point.y);
    }
    m_pressed = m_hovered;
    if (m_pressed) {
        m_pressed->m_state = CPicButton::kPressed;
        m_pressed->Draw(m_backBuffer.get(), m_backBuffer.get());
        Present();
    }
    if (m_currentLink && m_currentLink->m_rect.Contains(point)) OpenLink(*m_currentLink);
    FrameWindow::OnLButtonDown(flags, point);
}

void CInterface::OnLButtonUp(uint32_t flags, Point point) {
    if (OverlayShown()) return;
    if (m_pictureShown) {
        m_pictureShown = false;
        ShowLevelPicture(false);
        return;
    }
    if (m_pressed) {
        CPicButton* pressed = m_pressed;
        pressed->m_state = CPicButton::kNormal;
        pressed->Draw(m_backBuffer.get(), m_backBuffer.get());
        Present();
        if (pressed == m_hovered) {
            PlaySoundEffect(m_clickSound);
            RunMenuCommand(pressed->m_id);
        }
        m_pressed = nullptr;
    }
    FrameWindow::OnLButtonUp(flags, point);
}

void CInterface::OnKeyDown(uint32_t key, uint32_t repeat, uint32_t flags) {
    // A key held down runs its command once; only the arrows count its repeats.
    const bool fresh = (flags & platform::kFlagKeyWasDown) == 0;
    // The window's mode changes no picture of the game: whatever is shown.
    if (IsWindowModeKey(key, flags)) {
        if (fresh) ToggleWindowMode();
        return;
    }
    if (m_bestShown) {
        if (fresh && (key == platform::kKeyEscape || key == platform::kKeyF2)) ShowBest(false);
        return;
    }
    if (m_helpShown) {
        if (fresh && (key == platform::kKeyEscape || key == platform::kKeyF1)) ShowHelp(false);
        return;
    }
    if (key == platform::kKeySpace && m_game && m_game->m_pictureUnlocked)
        ShowLevelPicture(!m_pictureShown);
    else if (!m_pictureShown && !(fresh && RunMenuKey(key, flags)))
        UseBoardKey(key, repeat, flags);
    FrameWindow::OnKeyDown(key, repeat, flags);
}

void CInterface::OnRButtonDown(uint32_t flags, Point point) {
    if (m_game) m_game->OnRightButton(flags, point.x, point.y);
    FrameWindow::OnRButtonDown(flags, point);
}
