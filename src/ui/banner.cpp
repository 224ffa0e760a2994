// banner.cpp: ShowBanner prepares a message picture; the timer fades it in.
#include "app/interface.h"

#include "gfx/jpeg_image.h"

void CInterface::ShowBanner(const std::string& pictureName) {
    const platform::Rect r = ToScreenRect(layout::kBannerRect);
    CJpegImage picture;
    // A picture that fails to load leaves the previous banner picture, which fades in again.
    picture.LoadFromResource(pictureName);
    picture.Draw(m_bannerSurface.get());
    m_bannerBackground->Copy({0, 0, r.Width(), r.Height()}, *m_backBuffer, r.TopLeft());
    m_bannerAlpha = 5;
}
