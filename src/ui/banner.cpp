// banner.cpp: a message picture prepared for the status banner, and its fade step.
#include "ui/banner.h"

#include "gfx/jpeg_image.h"

namespace ui {

void StartBanner(const std::string& name, platform::Surface& picture, platform::Surface& under,
                 const platform::Surface& backBuffer, platform::Rect place) {
    CJpegImage image;
    // A picture that fails to load leaves the previous banner picture, which fades in again.
    image.LoadFromResource(name);
    image.Draw(&picture);
    under.Copy({0, 0, place.Width(), place.Height()}, backBuffer, place.TopLeft());
}

int32_t StepBanner(int32_t alpha, platform::Surface& backBuffer, platform::Rect place,
                   const platform::Surface& picture, const platform::Surface& under) {
    alpha += kBannerStep;
    backBuffer.Copy(place, under, {0, 0});
    backBuffer.Blend(place, picture, {0, 0}, static_cast<uint8_t>(alpha));
    return alpha;
}

} // namespace ui
