// level_picture.h: the level picture zooming in over the play area, and out again.
#pragma once

#include "platform/surface.h"
#include "ui/stage.h"

namespace ui {

// One second of zoom of `picture` (the size of the level picture's place) in, or out when
// `show` is false, presenting each frame and putting back from `saved` (the whole screen
// without the picture) what it drew on. Showing ends with the picture at its place in the
// back buffer, not yet presented.
void ZoomLevelPicture(const Stage& stage, const platform::Surface& picture,
                      const platform::Surface& saved, bool show);

} // namespace ui
