// sound_effects.cpp: looking up WAVE resources and playing them, gated by the switch.
#include "app/interface.h"

#include "platform/resources.h"
#include "platform/sound.h"

SoundHandle CInterface::FindSound(const std::string& name) {
    return platform::FindResource("WAVE", name);
}

void CInterface::PlaySoundEffect(SoundHandle sound) {
    if (!m_soundOn) return;
    if (!sound) return;
    platform::PlayWave(sound.data, sound.size);
}
