// settings.h: the sound and music switches and the window's place under the game's settings
// key.
#pragma once

#include "platform/geometry.h"

#include <optional>
#include <string>

namespace media {

struct Switches {
    bool soundOn = true;
    bool musicOn = true;
};

// "SoundEffect" and "PlayMusic" of the game `gameName`: anything but "Off", a missing value
// included, is on.
Switches ReadSwitches(const std::string& gameName);
// How the game was last shown: "FullScreen" ("Off": in a window of its own) and "WindowSize"
// ("1000x750", kept also while the display is covered). Without them: the display covered,
// and a size of 0 x 0 (one that suits the display).
struct WindowPlace {
    bool windowed = false;
    platform::Size size;
};
WindowPlace ReadWindowPlace(const std::string& gameName);

// Writes both switches as "On" or "Off", and the window's place when there is one to keep, in
// one write. A failure leaves the old values and is told on stderr: at exit nobody is left to
// see a box, and a switch is no reason for one.
void WriteSettings(const std::string& gameName, const Switches& switches,
                   const std::optional<WindowPlace>& place);
// "1000x750" → {1000, 750}; 0 x 0 when the text is no size of at least 800 x 600 (and at most
// 16384 a side).
platform::Size ParseWindowSize(const std::string& text);

} // namespace media
