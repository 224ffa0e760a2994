// transitions.h: the five animated ways a new picture comes into the screen.
#pragma once

#include "platform/geometry.h"
#include "platform/surface.h"
#include "ui/stage.h"

namespace ui {

// Brings the part of `source` at `sourcePoint` into `rect` of the back buffer (the play area
// when empty) with an effect drawn at random, presenting each frame, over `seconds`; returns
// when the new picture is in place and presented. `alpha` limits the cross-fade only. `spare`,
// when given, is a display-sized surface that the blending effects may use to keep the old
// picture instead of a copy of their own.
void ShowTransition(const Stage& stage, const platform::Surface& source, int alpha,
                    platform::Rect rect, platform::Point sourcePoint, float seconds,
                    platform::Surface* spare);

} // namespace ui
