// level_picture.cpp: the level picture zooming in over the play area, and out again.
#include "ui/level_picture.h"

#include "layout/layout.h"

using platform::Rect;

namespace ui {

void ZoomLevelPicture(const Stage& stage, const platform::Surface& picture,
                      const platform::Surface& saved, bool show) {
    platform::Surface& back = stage.backBuffer;
    const Rect whole = saved.Bounds();
    const auto D = static_cast<double>(stage.counterFrequency);
    const uint64_t start = stage.clock.Counter();
    uint64_t now = start;
    const uint64_t end = start + stage.counterFrequency;
    const platform::Point o = stage.playRect.TopLeft();
    constexpr Rect from = layout::kLevelZoomStart, to = layout::kLevelZoomEnd;
    bool restoreWhole = !show;
    // A counter that went back before the start ends the animation rather than stalling it.
    while (now < end && now >= start) {
        const float rem = static_cast<float>(static_cast<double>(end - now) / D);
        const float f = show ? 1.0f - rem : rem;
        const auto x = static_cast<int32_t>(o.x + from.left - (from.left - to.left) * f);
        const auto y = static_cast<int32_t>(o.y + from.top - (from.top - to.top) * f);
        const auto w = static_cast<int32_t>(from.Width() + (to.Width() - from.Width()) * f);
        const auto h = static_cast<int32_t>(from.Height() + (to.Height() - from.Height()) * f);
        const Rect dst{x, y, x + w, y + h};
        if (f < 0.5f) {
            const auto a = static_cast<int>((f + 0.5f) * 205 + 50);
            back.Stretch(dst, picture, picture.Bounds(), static_cast<uint8_t>(a));
        } else {
            back.Stretch(dst, picture, picture.Bounds());
        }
        stage.present();
        // Only the picture's rectangle was drawn on: put back just that. Going out, the
        // first frame is drawn over the picture still in place, which goes too.
        back.Copy(restoreWhole ? whole : dst, saved,
                  restoreWhole ? whole.TopLeft() : dst.TopLeft());
        restoreWhole = false;
        // Rest between frames, as the transitions do, instead of drawing flat out.
        stage.clock.Pause(stage.counterFrequency / 100);
        now = stage.clock.Counter();
    }
    if (show) back.Copy(layout::kLevelPictureRect.Offset(o.x, o.y), picture, {0, 0});
}

} // namespace ui
