// overlays.cpp: the main screen's transitions, banner, level picture, help and best games,
// drawn by ui/ with the back buffer, the clock and the present that the screen hands them.
#include "app/interface.h"

#include "gfx/jpeg_image.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "ui/banner.h"
#include "ui/best_table.h"
#include "ui/level_picture.h"
#include "ui/transitions.h"

#include <string>

using platform::Rect;

ui::Stage CInterface::MakeStage() {
    return {*m_backBuffer, m_playRect, platform::GetClock(), m_counterFrequency,
            [this] { Present(); }};
}

void CInterface::ShowTransition(platform::Surface* source, int alpha, Rect rect,
                                platform::Point sourcePoint, float seconds) {
    // The saved screen is free to keep the old picture while no help or level picture is up.
    platform::Surface* spare = OverlayShown() || m_pictureShown ? nullptr : m_savedScreen.get();
    ui::ShowTransition(MakeStage(), *source, alpha, rect, sourcePoint, seconds, spare);
}

void CInterface::ShowBanner(const std::string& pictureName) {
    ui::StartBanner(pictureName, *m_bannerSurface, *m_bannerBackground, *m_backBuffer,
                    ToScreenRect(layout::kBannerRect));
    m_bannerAlpha = ui::kBannerStartAlpha;
}

void CInterface::ShowLevelPicture(bool show) {
    if (!m_game) return;
    if (m_game->m_gameOver && show) return;
    m_pictureShown = show;
    const Rect whole{0, 0, m_displayWidth, m_displayHeight};
    if (show) m_savedScreen->Copy(whole, *m_backBuffer, {0, 0});
    if (m_game->m_ownPicture) {
        m_game->ShowPicture(show);
    } else {
        const platform::SurfacePtr P = CreateSurface(
            {0, 0, layout::kLevelPictureRect.Width(), layout::kLevelPictureRect.Height()});
        CJpegImage picture;
        picture.LoadFromResource("PIC" + std::to_string(m_game->m_level));
        picture.Draw(P.get());
        m_overlayMoving = true; // going out too, though m_pictureShown says it is gone
        ui::ZoomLevelPicture(MakeStage(), *P, *m_savedScreen, show);
        m_overlayMoving = false;
    }
    if (!show) m_backBuffer->Copy(whole, *m_savedScreen, {0, 0});
    Present();
}

void CInterface::ShowOverlay(bool& shown, bool show,
                             const std::function<void(platform::Surface&)>& draw) {
    const platform::Rect r = ToScreenRect(layout::kHelpRect);
    const platform::Rect whole{0, 0, m_displayWidth, m_displayHeight};
    if (show) {
        const platform::SurfacePtr S = CreateSurface(r);
        // Drawn before the saved copy is made, so that the decoded pictures and the copy need
        // not take memory at the same time.
        draw(*S);
        m_savedScreen->Copy(whole, *m_backBuffer, {0, 0});
        // Until the transition ends the saved screen is what its frames put back, so the
        // transition may use it as its own copy; it is the overlay's from then on.
        shown = false;
        m_overlayMoving = true;
        ShowTransition(S.get(), 255, r, {0, 0}, 1.0f);
        m_overlayMoving = false;
    }
    shown = show;
    if (!show) {
        m_backBuffer->Copy(whole, *m_savedScreen, {0, 0});
    }
    Present();
}

void CInterface::ShowHelp(bool show) {
    ShowOverlay(m_helpShown, show, [](platform::Surface& S) {
        CJpegImage picture;
        picture.LoadFromResource("HELP");
        picture.Draw(&S);
    });
}

void CInterface::ShowBest(bool show) {
    BestTable table;
    std::string reason;
    // A table that cannot be read is not shown as an empty one: the player is told why, and
    // nothing is lost, since a write never replaces a file it could not read.
    if (show && !BestGamesFile().Read(table, &reason)) {
        platform::MessageBox("The best games could not be read: " + reason);
        return;
    }
    ShowOverlay(m_bestShown, show, [&](platform::Surface& S) {
        ui::DrawBestTable(S, table, m_newestBest ? table.Find(*m_newestBest) : std::nullopt);
    });
}
