// sound.h: sound effects from WAVE images in memory, one at a time, and the audio device.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Starts the WAVE image without waiting; a new sound cuts off the one that sounds.
    virtual void PlayWave(const uint8_t* data, size_t size) = 0;
};

// Through the mixer, or the player that the services in force give (services.h).
void PlayWave(const uint8_t* data, size_t size);

// Opens the sound device; without one, falls back to silence. Called by InitPlatform.
void InitAudio();
void ShutdownAudio();
// The device rests (closed, and its thread with it) once nothing has sounded for two seconds.
// Every sound wakes it first; false when there is no device to play on.
bool WakeAudio();
// The message loop asks before it sleeps: lets a quiet device rest. Returns how long until it
// should ask again (ms; -1: not before the next message, which the end of a sound sends).
int RestAudioWhenQuiet();

} // namespace platform
