// sound.cpp: effects through SDL2_mixer on one channel; no device means silence.
#include "platform/sound.h"

#include "platform/services.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_stdinc.h>
#include <dlfcn.h>

#include <cstdio>
#include <memory>

namespace platform {

namespace {

struct ChunkFree {
    void operator()(Mix_Chunk* chunk) const { Mix_FreeChunk(chunk); }
};

class MixerPlayer : public SoundPlayer {
public:
    void PlayWave(const uint8_t* data, size_t size) override {
        if (!g_open || !data || size == 0) return;
        Mix_HaltChannel(0);
        m_chunk.reset(); // before the next one is made, as only one sounds at a time
        m_chunk.reset(Mix_LoadWAV_RW(SDL_RWFromConstMem(data, static_cast<int>(size)), 1));
        // The game goes on without the sound; a player at a terminal learns why.
        if (!m_chunk || Mix_PlayChannel(0, m_chunk.get(), 0) < 0)
            std::fprintf(stderr, "ranqua: cannot play a sound: %s\n", Mix_GetError());
    }
    void Release() {
        if (!m_chunk) return;
        Mix_HaltChannel(0);
        m_chunk.reset();
    }
    static inline bool g_open = false;

private:
    std::unique_ptr<Mix_Chunk, ChunkFree> m_chunk;
};

MixerPlayer g_mixer;

[[nodiscard]] bool OpenMixer() {
    return Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 2048) == 0;
}

// libasound reports every failed probe on stderr (a machine without a sound card gets a dozen
// lines), although SDL handles the failure. SDL loads the library at run time, so we load it
// first, keep it loaded, and give it a handler that says nothing. Without the library there is
// nothing to quiet.
using AlsaErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
using AlsaSetErrorHandler = int (*)(AlsaErrorHandler);

extern "C" void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

void* g_alsa = nullptr;

void QuietAlsa() {
    if (g_alsa) return;
    g_alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!g_alsa) return;
    auto set = reinterpret_cast<AlsaSetErrorHandler>(dlsym(g_alsa, "snd_lib_error_set_handler"));
    if (set) set(IgnoreAlsaError);
}

} // namespace

void PlayWave(const uint8_t* data, size_t size) {
    SoundPlayer* replaced = CurrentServices().sounds;
    (replaced ? *replaced : g_mixer).PlayWave(data, size);
}

void InitAudio() {
    QuietAlsa();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0 && OpenMixer()) {
        MixerPlayer::g_open = true;
    } else {
        // No usable device: the dummy driver keeps the mixer (and music timing) running silently.
        // The environment variable outranks a hint, and a broken one is the usual cause here.
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
        MixerPlayer::g_open = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0 && OpenMixer();
        std::fprintf(stderr, "ranqua: no sound device; playing without sound\n");
    }
    if (MixerPlayer::g_open) Mix_AllocateChannels(1);
}

void ShutdownAudio() {
    g_mixer.Release();
    if (MixerPlayer::g_open) Mix_CloseAudio();
    MixerPlayer::g_open = false;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

} // namespace platform
