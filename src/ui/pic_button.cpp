// pic_button.cpp: drawing a button's row and its fade back to rest.
#include "ui/pic_button.h"

#include "app/interface.h"
#include "gfx/jpeg_image.h"
#include "platform/rand.h"

CPicButton::CPicButton(const platform::Rect& rect, const platform::Rect& srcRect,
                       CJpegImage* picture, MenuCommand id)
    : m_rect(rect), m_srcRect(srcRect), m_id(id), m_picture(picture) {}

void CPicButton::Draw(platform::Surface* target, CInterface* screen) {
    // A fade exists only in the highlighted state.
    if (m_state != kHighlighted && m_fade != 0) m_fade = 0;
    m_picture->DrawStretched(target, m_rect, RowRect(m_state));
    if (m_fade != 0) {
        const platform::Rect cell = RowRect(m_restState);
        const platform::SurfacePtr overlay = screen->CreateSurface(cell);
        m_picture->DrawStretched(overlay.get(), {0, 0, cell.Width(), cell.Height()}, cell);
        screen->BlendSurface(m_rect, overlay.get(), {0, 0}, static_cast<uint8_t>(m_fade), nullptr);
    }
}

void CPicButton::AdvanceFade(CInterface* screen) {
    m_fade = m_fade + 30 + platform::Rand() % 30; // draw: see platform::Rand
    if (m_fade > 244) m_state = m_restState;
    Draw(screen->m_backBuffer.get(), screen);
}
