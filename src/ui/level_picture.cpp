// level_picture.cpp: the level picture zooming in over the play area, and out again.
#include "app/interface.h"

#include "gfx/jpeg_image.h"
#include "platform/clock.h"

#include <string>

using platform::Rect;

void CInterface::ShowLevelPicture(bool show) {
    if (!m_game) return;
    if (m_game->m_gameOver && show) return;
    m_pictureShown = show;
    const Rect whole{0, 0, m_displayWidth, m_displayHeight};
    if (show) m_savedScreen->Copy(whole, *m_backBuffer, {0, 0});
    if (m_game->m_ownPicture) {
        m_game->ShowPicture(show);
    } else {
        const auto D = static_cast<double>(m_counterFrequency);
        const platform::SurfacePtr P = CreateSurface(
            {0, 0, layout::kLevelPictureRect.Width(), layout::kLevelPictureRect.Height()});
        CJpegImage picture;
        picture.LoadFromResource("PIC" + std::to_string(m_game->m_level));
        picture.Draw(P.get());
        const uint64_t start = ReadCounter();
        uint64_t now = start;
        const uint64_t end = start + m_counterFrequency;
        const platform::Point o = m_playRect.TopLeft();
        bool restoreWhole = !show;
        // A counter that went back before the start ends the animation rather than stalling it.
        while (now < end && now >= start) {
            const float rem = static_cast<float>(static_cast<double>(end - now) / D);
            const float f = show ? 1.0f - rem : rem;
            const auto x = static_cast<int32_t>(o.x + 214 - 22 * f);
            const auto y = static_cast<int32_t>(o.y + 17 - 2 * f);
            const auto w =
                static_cast<int32_t>(110 + (layout::kLevelPictureRect.Width() - 110) * f);
            const auto h =
                static_cast<int32_t>(150 + (layout::kLevelPictureRect.Height() - 150) * f);
            const Rect dst{x, y, x + w, y + h};
            if (f < 0.5f) {
                const auto a = static_cast<int>((f + 0.5f) * 205 + 50);
                m_backBuffer->Stretch(dst, *P, P->Bounds(), static_cast<uint8_t>(a));
            } else {
                m_backBuffer->Stretch(dst, *P, P->Bounds());
            }
            Present();
            // Only the picture's rectangle was drawn on: put back just that. Going out, the
            // first frame is drawn over the picture still in place, which goes too.
            m_backBuffer->Copy(restoreWhole ? whole : dst, *m_savedScreen,
                               restoreWhole ? whole.TopLeft() : dst.TopLeft());
            restoreWhole = false;
            // Rest between frames, as the transitions do, instead of drawing flat out.
            platform::GetClock().Pause(m_counterFrequency / 100);
            now = ReadCounter();
        }
        if (show) m_backBuffer->Copy(layout::kLevelPictureRect.Offset(o.x, o.y), *P, {0, 0});
    }
    if (!show) m_backBuffer->Copy(whole, *m_savedScreen, {0, 0});
    Present();
}
