// sound.cpp: effects through SDL2_mixer on one channel; no device means silence. While nothing
// sounds the device rests: closed, with its thread, and opened again for the next sound.
#include "platform/sound.h"

#include "platform/clock.h"
#include "platform/services.h"
#include "platform/window_internal.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_stdinc.h>
#include <dlfcn.h>

#include <cstdio>
#include <memory>
#include <optional>

namespace platform {

namespace {

struct ChunkFree {
    void operator()(Mix_Chunk* chunk) const { Mix_FreeChunk(chunk); }
};

// How long the device stays open after the last sound ended: a game's effects, a second or two
// apart, open it once, and a player who stops to think costs nothing after this.
constexpr uint32_t kRestAfterMs = 2000;

bool g_usable = false; // a device (or, without one, the silent one) could be opened
bool g_awake = false;  // it is open now
std::optional<uint32_t> g_quietSince;

// Runs on the audio thread when an effect has ended: the loop wakes and lets the device rest.
// Lost in a full queue, the device rests at the loop's next wake-up instead.
void EffectEnded(int) {
    (void)PushUser(kAudio);
}

class MixerPlayer : public SoundPlayer {
public:
    void PlayWave(const uint8_t* data, size_t size) override {
        if (!data || size == 0 || !WakeAudio()) return;
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

private:
    std::unique_ptr<Mix_Chunk, ChunkFree> m_chunk;
};

MixerPlayer g_mixer;

[[nodiscard]] bool OpenDevice() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 2048) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_AllocateChannels(1);
    Mix_ChannelFinished(EffectEnded);
    return true;
}

// The audio subsystem goes too: some drivers keep a thread of their own that watches for devices.
void CloseDevice() {
    g_mixer.Release();
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
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
    g_awake = OpenDevice();
    if (!g_awake) {
        // No usable device: the dummy driver keeps the mixer (and music timing) running
        // silently. The environment variable outranks a hint, and a broken one is the usual
        // cause here.
        SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
        g_awake = OpenDevice();
        std::fprintf(stderr, "ranqua: no sound device; playing without sound\n");
    }
    g_usable = g_awake;
    g_quietSince.reset();
}

void ShutdownAudio() {
    if (g_awake) CloseDevice();
    g_awake = g_usable = false;
}

bool WakeAudio() {
    g_quietSince.reset();
    if (!g_awake && g_usable) g_awake = OpenDevice();
    return g_awake;
}

int RestAudioWhenQuiet() {
    if (!g_awake) return -1;
    if (Mix_Playing(-1) > 0 || Mix_PlayingMusic()) {
        g_quietSince.reset();
        return -1; // the end of the sound wakes the loop
    }
    const uint32_t now = GetClock().TickCount();
    if (!g_quietSince) g_quietSince = now;
    const uint32_t quiet = now - *g_quietSince;
    if (quiet < kRestAfterMs) return static_cast<int>(kRestAfterMs - quiet);
    CloseDevice();
    g_awake = false;
    return -1;
}

} // namespace platform
