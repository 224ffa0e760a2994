// music.cpp: MP3 (and whatever else SDL2_mixer reads) played as background music.
#include "platform/music.h"

#include "platform/files.h"
#include "platform/services.h"
#include "platform/sound.h"
#include "platform/window.h"

#include <SDL_mixer.h>

#include <atomic>
#include <cstdio>
#include <memory>

namespace platform {

namespace {

class MixerMusic;

struct FileClose {
    void operator()(FILE* f) const {
        // A file only read from has nothing to report when it closes.
        static_cast<void>(std::fclose(f));
    }
};

struct MusicFree {
    void operator()(Mix_Music* music) const { Mix_FreeMusic(music); }
};

// A track is opened only if it is a regular file: see OpenRegularFile.
[[nodiscard]] SDL_RWops* OpenTrack(const std::string& path) {
    UniqueFd fd = OpenRegularFile(path);
    if (!fd) return nullptr;
    std::unique_ptr<FILE, FileClose> file(::fdopen(fd.Get(), "rb"));
    if (!file) return nullptr;
    static_cast<void>(fd.Release()); // the FILE closes it now
    SDL_RWops* rw = SDL_RWFromFP(file.get(), SDL_TRUE);
    if (rw) static_cast<void>(file.release()); // and the RWops the FILE
    return rw;
}

// The player whose track SDL_mixer is playing; the audio thread reads it when a track ends.
std::atomic<MixerMusic*> g_playing{nullptr};
// The current track's number; the audio thread tags the end of a track with it.
std::atomic<uint32_t> g_track{1};
std::atomic<uint32_t> g_lastTrack{1};

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
        WakeAudio(); // a track is read for the device's format
        Close();
        NewMusicTrack();
        // A file that is no track we can play plays nothing, as a media window shows nothing
        // for it: it is the player's own file in the music folder, no fault to report.
        if (SDL_RWops* file = OpenTrack(path)) m_music.reset(Mix_LoadMUS_RW(file, 1));
    }
    void Play() override {
        if (!m_music || !WakeAudio()) return;
        NewMusicTrack();
        g_playing = this;
        Mix_HookMusicFinished(MusicFinished);
        if (Mix_PlayMusic(m_music.get(), 0) < 0)
            std::fprintf(stderr, "ranqua: cannot play music: %s\n", Mix_GetError());
    }
    void Stop() override {
        // Whatever this track reported before is stale now, and the stop is reported at once,
        // while the caller's state (the switch just turned off) still holds.
        NewMusicTrack();
        if (g_playing != this || !Mix_PlayingMusic()) return;
        Mix_HookMusicFinished(nullptr);
        Mix_HaltMusic();
        Mix_HookMusicFinished(MusicFinished);
        SendMusicNotify(this, kMciModeStop);
    }

private:
    void Close() {
        if (!m_music) return;
        if (g_playing == this) Mix_HookMusicFinished(nullptr);
        m_music.reset();
        if (g_playing == this) Mix_HookMusicFinished(MusicFinished);
    }
    std::unique_ptr<Mix_Music, MusicFree> m_music;
};

// Runs on the audio thread: only queue the notification.
void MusicFinished() {
    if (MixerMusic* player = g_playing.load())
        PostMusicNotify(player, kMciModeStop, g_track.load());
}

} // namespace

uint32_t NewMusicTrack() {
    uint32_t n = ++g_lastTrack;
    if (n == 0) n = ++g_lastTrack; // 0 stands for "any track"
    g_track = n;
    return n;
}

uint32_t CurrentMusicTrack() {
    return g_track.load();
}

std::unique_ptr<MusicPlayer> CreateMusicPlayer() {
    if (const auto& replaced = CurrentServices().music) return replaced();
    return std::make_unique<MixerMusic>();
}

} // namespace platform
