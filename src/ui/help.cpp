// help.cpp: the help picture over the play area, until the next left press.
#include "app/interface.h"

#include "gfx/jpeg_image.h"

void CInterface::ShowHelp(bool show) {
    const platform::Rect r = ToScreenRect(layout::kHelpRect);
    const platform::Rect whole{0, 0, m_displayWidth, m_displayHeight};
    if (show) {
        const platform::SurfacePtr S = CreateSurface(r);
        {
            // Drawn once, and gone before the saved copy is made: the decoded picture and
            // the copy need not take memory at the same time.
            CJpegImage picture;
            picture.LoadFromResource("HELP");
            picture.Draw(S.get());
        }
        m_savedScreen->Copy(whole, *m_backBuffer, {0, 0});
        // Until the transition ends the saved screen is what its frames put back, so the
        // transition may use it as its own copy; it is the help's from then on.
        m_helpShown = false;
        ShowTransition(S.get(), 255, r, {0, 0}, 1.0f);
    }
    m_helpShown = show;
    if (!show) {
        m_backBuffer->Copy(whole, *m_savedScreen, {0, 0});
    }
    Present();
}
