// surfaces.cpp: the back buffer, off-screen surfaces and presentation to the window.
#include "app/interface.h"

using platform::Point;
using platform::Rect;
using platform::Surface;

platform::SurfacePtr CInterface::CreateSurface(const Rect& r) {
    // A rectangle of width 0 stands for the play area.
    const Rect size = r.Width() == 0 ? m_playRect : r;
    return std::make_unique<Surface>(size.Width(), size.Height());
}

void CInterface::FreeSurface(platform::SurfacePtr& surface) {
    surface.reset();
}

Rect CInterface::ToScreenRect(const Rect& r) const {
    return {m_playRect.left + r.left, m_playRect.top + r.top, m_playRect.left + r.left + r.Width(),
            m_playRect.top + r.top + r.Height()};
}

void CInterface::Present() {
    UpdateCursor(); // an overlay coming or going takes the cursor with it in this very present
    if (m_windowDC && m_backBuffer) m_windowDC->Copy(*m_backBuffer, m_presentRect);
}

void CInterface::BlendSurface(const Rect& dst, Surface* source, Point srcPoint, uint8_t alpha,
                              Surface* target) {
    Surface* to = target ? target : m_backBuffer.get();
    if (!to || !source) return;
    to->Blend(dst, *source, srcPoint, alpha);
}

void CInterface::OnPaint() {
    // The whole display, border included, comes back from the back buffer.
    m_presentRect = m_displayRect;
    Present();
    m_presentRect = m_playRect;
}
