// pic_button.h: CPicButton, a menu button cut from a strip picture with one row per state.
#pragma once

#include "platform/geometry.h"
#include "platform/surface.h"
#include "ui/menu_command.h"

#include <cstdint>

class CJpegImage;

// Final: it has a virtual Draw but no virtual destructor; its owner deletes it directly.
class CPicButton final {
public:
    // Rows of the strip: the state is the row drawn.
    static constexpr int32_t kNormal = 0;
    static constexpr int32_t kPressed = 1;
    static constexpr int32_t kHighlighted = 2;

    CPicButton(const platform::Rect& rect, const platform::Rect& srcRect, CJpegImage* picture,
               MenuCommand id);
    CPicButton(const CPicButton&) = delete;
    CPicButton& operator=(const CPicButton&) = delete;

    // Draws the row of m_state into `target` at m_rect and, while highlighted and fading,
    // blends the resting row over m_rect of `backBuffer` with alpha m_fade (every caller
    // draws into the back buffer). Does not present.
    virtual void Draw(platform::Surface* target, platform::Surface* backBuffer);
    // One fade step on a timer tick: +30..59; above 244 the button rests. Draws into the back
    // buffer.
    void AdvanceFade(platform::Surface* backBuffer);

    platform::Rect m_rect;    // window coordinates; also the hit rectangle
    platform::Rect m_srcRect; // row 0 cell in the strip
    int32_t m_state = kNormal;
    int32_t m_fade = 0; // 0: no fade
    MenuCommand m_id{}; // the command a click runs
    int32_t m_restState = kNormal;
    CJpegImage* m_picture = nullptr; // not owned

    // The cell of `row` in the strip.
    platform::Rect RowRect(int32_t row) const {
        return m_srcRect.Offset(0, row * m_srcRect.Height());
    }
};
