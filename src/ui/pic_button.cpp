// pic_button.cpp: drawing a button's row and its fade back to rest.
#include "ui/pic_button.h"

#include "gfx/jpeg_image.h"
#include "platform/rand.h"

CPicButton::CPicButton(const platform::Rect& rect, const platform::Rect& srcRect,
                       CJpegImage* picture, MenuCommand id)
    : m_rect(rect), m_srcRect(srcRect), m_id(id), m_picture(picture) {}

void CPicButton::Draw(platform::Surface* target, platform::Surface* backBuffer) {
    // A fade exists only in the highlighted state.
    if (m_state != kHighlighted && m_fade != 0) m_fade = 0;
    m_picture->DrawStretched(target, m_rect, RowRect(m_state));
    if (m_fade != 0) {
        const platform::Rect cell = RowRect(m_restState);
        platform::Surface overlay(cell.Width(), cell.Height());
        m_picture->DrawStretched(&overlay, overlay.Bounds(), cell);
        if (backBuffer) backBuffer->Blend(m_rect, overlay, {0, 0}, static_cast<uint8_t>(m_fade));
    }
}

void CPicButton::AdvanceFade(platform::Surface* backBuffer) {
    m_fade = m_fade + 30 + platform::Rand() % 30; // draw: see platform::Rand
    if (m_fade > 244) m_state = m_restState;
    Draw(backBuffer, backBuffer);
}
