// sound_effects.cpp: looking up WAVE resources and playing them, gated by the switch.
#include "media/sound_effects.h"

#include "platform/sound.h"

namespace media {

platform::ResourceData FindSound(const std::string& name) {
    return platform::FindResource("WAVE", name);
}

void PlaySoundEffect(const platform::ResourceData& sound, bool switchedOn) {
    if (!switchedOn) return;
    if (!sound) return;
    platform::PlayWave(sound.data, sound.size);
}

} // namespace media
