// timer.cpp: the 80 ms tick (button fades, banner fades, link rotation) and the counter.
#include "app/interface.h"

#include "app/internet_link.h"
#include "gfx/jpeg_image.h"
#include "platform/clock.h"
#include "ui/banner.h"
#include "ui/pic_button.h"

void CInterface::OnTimer(uint32_t id) {
    bool changed = false;
    for (const auto& owned : m_menuButtons) {
        CPicButton* b = owned.get();
        if (b->m_fade != 0) {
            b->AdvanceFade(m_backBuffer.get());
            changed = true;
        }
    }
    if (m_bannerAlpha != ui::kBannerIdleAlpha) {
        m_bannerAlpha =
            ui::StepBanner(m_bannerAlpha, *m_backBuffer, ToScreenRect(layout::kBannerRect),
                           *m_bannerSurface, *m_bannerBackground);
        changed = true;
        // A waiting banner gives the one fading in its whole time to be read once opaque.
        m_followTicks = layout::kFollowBannerTicks;
    } else if (!m_followBanner.empty() && m_followTicks-- <= 0) {
        // It fades in from the next tick on, as any banner does.
        ShowBanner(m_followBanner);
        m_followBanner.clear();
    }
    // Elapsed time as a signed difference, so the 49.7-day wrap of the tick count is harmless.
    const uint32_t now = platform::GetClock().TickCount();
    if (m_currentLink && static_cast<int32_t>(now - m_nextLinkTime) > 0) {
        ChooseLink();
        if (m_currentLink) {
            m_currentLink->Draw(m_backBuffer.get());
            // The field reaches the window at once, so that a click opens the link the player
            // sees; not over an overlay, which takes the clicks and puts back what it covered.
            if (!changed && !m_pictureShown && !OverlayShown()) {
                const platform::Rect playArea = m_presentRect;
                m_presentRect = ToScreenRect(layout::kLinkRect);
                Present();
                m_presentRect = playArea;
            }
        }
        m_nextLinkTime = platform::GetClock().TickCount() + layout::kLinkPeriodMs;
    }
    if (changed) Present();
    FrameWindow::OnTimer(id);
}

platform::TimerWork CInterface::PendingTimerWork() const {
    for (const auto& b : m_menuButtons)
        if (b->m_fade != 0) return {};
    if (m_bannerAlpha != ui::kBannerIdleAlpha || !m_followBanner.empty()) return {};
    if (m_currentLink) return {platform::TimerWork::kAfter, m_nextLinkTime};
    return {platform::TimerWork::kNone};
}

bool CInterface::HasPendingWork() const {
    return PendingTimerWork().kind == platform::TimerWork::kEveryTick;
}

uint64_t CInterface::ReadCounter() const {
    return platform::GetClock().Counter();
}
