// music.cpp: MP3 (and whatever else SDL2_mixer reads) played as background music.
#include "platform/music.h"

#include "platform/window.h"

#include <SDL_mixer.h>

#include <atomic>

namespace platform {

namespace {

class MixerMusic;
// The player whose track SDL_mixer is playing; the audio thread reads it when a track ends.
std::atomic<MixerMusic*> g_playing{nullptr};

void MusicFinished();

class MixerMusic : public MusicPlayer {
public:
    ~MixerMusic() override {
        if (g_playing == this) {
            g_playing = nullptr;
            Mix_HookMusicFinished(nullptr);
            Mix_HaltMusic();
        }
        Close();
    }
    void Open(const std::string& path) override {
        Close();
        m_music = Mix_LoadMUS(path.c_str());
    }
    void Play() override {
        if (!m_music) return;
        g_playing = this;
        Mix_HookMusicFinished(MusicFinished);
        Mix_PlayMusic(m_music, 0);
    }
    void Stop() override {
        // Halting calls the finished hook, which reports the stop.
        if (g_playing == this && Mix_PlayingMusic()) Mix_HaltMusic();
    }

private:
    void Close() {
        if (m_music) {
            if (g_playing == this) Mix_HookMusicFinished(nullptr);
            Mix_FreeMusic(m_music);
            if (g_playing == this) Mix_HookMusicFinished(MusicFinished);
        }
        m_music = nullptr;
    }
    Mix_Music* m_music = nullptr;
};

// Runs on the audio thread (or inside Mix_HaltMusic): only queue the notification.
void MusicFinished() {
    if (MixerMusic* player = g_playing.load()) PostMusicNotify(player, kMciModeStop);
}

MusicPlayerFactory g_factory;

} // namespace

std::unique_ptr<MusicPlayer> CreateMusicPlayer() {
    if (g_factory) return g_factory();
    return std::make_unique<MixerMusic>();
}

void SetMusicPlayerFactory(MusicPlayerFactory factory) {
    g_factory = std::move(factory);
}

} // namespace platform
