// stage.h: what the screen's animations draw and show with, handed to them by the main screen.
#pragma once

#include "platform/clock.h"
#include "platform/geometry.h"
#include "platform/surface.h"

#include <cstdint>
#include <functional>

namespace ui {

struct Stage {
    platform::Surface& backBuffer; // everything is composed here, in window coordinates
    platform::Rect playRect;       // the play area on it
    platform::Clock& clock;        // its counter paces the frames
    uint64_t counterFrequency;     // counts per second, as read at start-up
    std::function<void()> present; // shows the back buffer's present rectangle
};

} // namespace ui
