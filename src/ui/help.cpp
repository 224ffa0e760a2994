// help.cpp: the help picture over the play area, until the next left press.
#include "app/interface.h"

#include "gfx/jpeg_image.h"

void CInterface::ShowHelp(bool show) {
    const platform::Rect r = ToScreenRect(layout::kHelpRect);
    m_helpShown = show;
    const platform::Rect whole{0, 0, m_displayWidth, m_displayHeight};
    if (show) {
        m_savedScreen->Copy(whole, *m_backBuffer, {0, 0});
        platform::Surface* S = CreateSurface(r);
        CJpegImage picture;
        picture.LoadFromResource("HELP");
        picture.Draw(S);
        ShowTransition(S, 255, r, {0, 0}, 1.0f);
        FreeSurface(S);
    } else {
        m_backBuffer->Copy(whole, *m_savedScreen, {0, 0});
    }
    Present();
}
