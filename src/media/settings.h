// settings.h: the sound and music switches under the game's settings key.
#pragma once

#include <string>

namespace media {

struct Switches {
    bool soundOn = true;
    bool musicOn = true;
};

// "SoundEffect" and "PlayMusic" of the game `gameName`: anything but "Off", a missing value
// included, is on.
Switches ReadSwitches(const std::string& gameName);
// Writes both as "On" or "Off", in one write. A failure leaves the old values and is told on
// stderr: at exit nobody is left to see a box, and a switch is no reason for one.
void WriteSwitches(const std::string& gameName, const Switches& switches);

} // namespace media
