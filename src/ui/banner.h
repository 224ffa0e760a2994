// banner.h: the status banner, where a message picture fades in over a few timer ticks.
#pragma once

#include "platform/geometry.h"
#include "platform/surface.h"

#include <cstdint>
#include <string>

namespace ui {

// The fade runs 5, 55, ..., 255: each tick adds kBannerStep and lands on the idle value.
inline constexpr int32_t kBannerStartAlpha = 5;
inline constexpr int32_t kBannerStep = 50;
inline constexpr int32_t kBannerIdleAlpha = 255;

// Draws the picture `name` into `picture` and keeps what the back buffer shows at `place` in
// `under`; the fade then starts at kBannerStartAlpha. Nothing is drawn into the back buffer. A
// picture that cannot be loaded leaves the previous one, which fades in again.
void StartBanner(const std::string& name, platform::Surface& picture, platform::Surface& under,
                 const platform::Surface& backBuffer, platform::Rect place);
// One tick of the fade: `place` gets `under` back and `picture` over it at the next alpha,
// which is returned. Does not present.
int32_t StepBanner(int32_t alpha, platform::Surface& backBuffer, platform::Rect place,
                   const platform::Surface& picture, const platform::Surface& under);

} // namespace ui
