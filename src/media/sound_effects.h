// sound_effects.h: the WAVE resources, played one at a time while the switch is on.
#pragma once

#include "platform/resources.h"

#include <string>

namespace media {

// The WAVE resource `name` the program carries; empty when there is none.
platform::ResourceData FindSound(const std::string& name);
// Starts `sound` in place of the one sounding and returns at once; nothing while the switch is
// off or for an empty sound.
void PlaySoundEffect(const platform::ResourceData& sound, bool switchedOn);

} // namespace media
