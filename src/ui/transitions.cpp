// transitions.cpp: ShowTransition, the five animated ways a new picture comes in.
#include "ui/transitions.h"

#include "platform/rand.h"

#include <algorithm>
#include <memory>

using platform::Point;
using platform::Rect;
using platform::Surface;

namespace {

enum Effect { kCrossFade = 0, kOpeningBox = 1, kWipe = 2, kFallingStrips = 3, kStripFade = 4 };

// A piece of the source: the part at sourcePoint plus b's offset from rect, copied into b.
void CopyPart(Surface& back, const Surface& source, const Rect& rect, Point sourcePoint,
              const Rect& b) {
    if (b.IsEmpty()) return;
    back.Copy(b, source,
              {sourcePoint.x + (b.left - rect.left), sourcePoint.y + (b.top - rect.top)});
}

} // namespace

namespace ui {

void ShowTransition(const Stage& stage, const Surface& source, int alpha, Rect rect,
                    Point sourcePoint, float seconds, Surface* spare) {
    platform::Clock& clock = stage.clock;
    Surface& back = stage.backBuffer;
    const auto D = static_cast<int64_t>(static_cast<double>(stage.counterFrequency) * seconds);
    const uint64_t F = stage.counterFrequency / 100;
    if (rect.IsEmpty()) rect = stage.playRect;
    const int32_t W = rect.Width(), H = rect.Height();

    int effect = 0; // draw: see platform::Rand
    if (platform::Rand() % 2 != 0) effect = platform::Rand() % 5;
    const int direction = platform::Rand() % 4;

    // Only the blends draw over what the frame before drew; the other effects cover a growing
    // part of the rectangle, so each frame paints over all of the last one and nothing needs
    // putting back. A spare display-sized surface (the saved screen while no help or level
    // picture is up) keeps the copy, rather than a new surface as large as the rectangle.
    const bool blends = effect == kCrossFade || effect == kStripFade;
    const bool borrow = spare && rect.Intersect(spare->Bounds()) == rect;
    // Either the borrowed spare or a copy of our own, freed on return.
    platform::SurfacePtr own;
    Surface* saved = nullptr;
    Point savedAt{0, 0};
    if (blends && borrow) {
        saved = spare;
        savedAt = rect.TopLeft();
        saved->Copy(rect, back, rect.TopLeft());
    } else if (blends) {
        own = std::make_unique<Surface>(W, H);
        saved = own.get();
        saved->Copy({0, 0, W, H}, back, rect.TopLeft());
    }

    const int32_t n = W < 30 ? W : 30;
    const int32_t s = n > 0 ? W / n : 0;
    const int32_t q = H / 4;

    const uint64_t start = clock.Counter();
    uint64_t last = start, now = start;
    const uint64_t end = start + static_cast<uint64_t>(D > 0 ? D : 0);
    // A counter that went back before the start ends the animation rather than stalling it.
    while (D > 0 && now < end && now >= start) {
        const float rem = static_cast<float>(end - now) / static_cast<float>(D);
        const float p = 1.0f - rem;
        Rect b = rect;
        switch (effect) {
        case kCrossFade:
            back.Blend(rect, source, sourcePoint,
                       static_cast<uint8_t>(std::clamp(static_cast<int>(alpha * p), 0, 255)));
            break;
        case kOpeningBox: {
            const auto dx = static_cast<int32_t>(W * rem / 2);
            const auto dy = static_cast<int32_t>(H * rem / 2);
            b = {rect.left + dx, rect.top + dy, rect.right - dx, rect.bottom - dy};
            CopyPart(back, source, rect, sourcePoint, b);
            break;
        }
        case kWipe:
            if (direction == 0)
                b.left = static_cast<int32_t>(rect.left + W * rem);
            else if (direction == 1)
                b.top = static_cast<int32_t>(rect.top + H * rem);
            else if (direction == 2)
                b.right = static_cast<int32_t>(rect.right - W * rem);
            else
                b.bottom = static_cast<int32_t>(rect.bottom - H * rem);
            CopyPart(back, source, rect, sourcePoint, b);
            break;
        case kFallingStrips:
            for (int32_t i = 0; i < n; ++i) {
                const int32_t h = std::min(static_cast<int32_t>(H * p + (q * i) / n), H);
                const Rect strip{rect.left + s * i, rect.top, rect.left + s * i + s, rect.top + h};
                CopyPart(back, source, rect, sourcePoint, strip);
            }
            break;
        case kStripFade:
            for (int32_t i = 0; i < n; ++i) {
                const int a = std::clamp(static_cast<int>(355 * p - (75 * i) / n), 0, 255);
                const Rect strip{rect.left + s * i, rect.top, rect.left + s * (i + 1), rect.bottom};
                back.Blend(strip, source, {sourcePoint.x + s * i, sourcePoint.y},
                           static_cast<uint8_t>(a));
            }
            break;
        default:
            break;
        }
        stage.present();
        if (saved) back.Copy(rect, *saved, savedAt);
        // Frames at least 1/100 s apart; sleep rather than spin while waiting.
        for (;;) {
            now = clock.Counter();
            if (now < last || now - last >= F) break;
            clock.Pause(F - (now - last));
        }
        last = now;
    }
    back.Copy(rect, source, sourcePoint);
    stage.present();
}

} // namespace ui
