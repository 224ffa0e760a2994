// music.cpp: MP3 (and whatever else SDL2_mixer reads) played as background music.
#include "platform/music.h"

#include "platform/files.h"
#include "platform/services.h"
#include "platform/sound.h"
#include "platform/window.h"

#include <SDL_mixer.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

namespace platform {

namespace {

class MixerMusic;

struct MusicFree {
    void operator()(Mix_Music* music) const { Mix_FreeMusic(music); }
};

// How much of a track its decoder may read before it has made sense of the file. A decoder that
// has not found its way by then is refused the rest, as if the file ended there, instead of
// reading gigabytes; room enough for the largest cover picture an MP3 carries in its tags.
constexpr int64_t kProbeBytes = int64_t{16} << 20;

// A track read straight from its descriptor, kept open while it plays, so that it is decoded
// as it plays and never held in memory whole.
struct TrackFile {
    UniqueFd fd;
    int64_t allowance = kProbeBytes; // bytes still to be read while probing; -1: no limit
};

TrackFile& Track(SDL_RWops* rw) {
    return *static_cast<TrackFile*>(rw->hidden.unknown.data1);
}

Sint64 TrackSize(SDL_RWops* rw) {
    struct stat st {};
    if (::fstat(Track(rw).fd.Get(), &st) != 0) return SDL_SetError("cannot read the track's size");
    return st.st_size;
}

Sint64 TrackSeek(SDL_RWops* rw, Sint64 offset, int whence) {
    const int from = whence == RW_SEEK_SET ? SEEK_SET : whence == RW_SEEK_CUR ? SEEK_CUR : SEEK_END;
    const off_t at = ::lseek(Track(rw).fd.Get(), static_cast<off_t>(offset), from);
    if (at < 0) return SDL_SetError("cannot seek in the track");
    return at;
}

size_t TrackRead(SDL_RWops* rw, void* to, size_t size, size_t count) {
    TrackFile& track = Track(rw);
    if (size == 0) return 0;
    size_t want = std::min(count, SIZE_MAX / size) * size;
    if (track.allowance >= 0) want = std::min(want, static_cast<size_t>(track.allowance));
    size_t got = 0;
    while (got < want) {
        const ssize_t n = ::read(track.fd.Get(), static_cast<char*>(to) + got, want - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<size_t>(n);
    }
    if (track.allowance >= 0) track.allowance -= static_cast<int64_t>(got);
    return got / size;
}

size_t TrackWrite(SDL_RWops*, const void*, size_t, size_t) {
    SDL_SetError("a track is only read");
    return 0;
}

int TrackClose(SDL_RWops* rw) {
    delete &Track(rw);
    SDL_FreeRW(rw);
    return 0;
}

// A track is opened only if it is a regular file: see OpenRegularFile.
[[nodiscard]] SDL_RWops* OpenTrack(const std::string& path) {
    UniqueFd fd = OpenRegularFile(path);
    if (!fd) return nullptr;
    SDL_RWops* rw = SDL_AllocRW();
    if (!rw) return nullptr;
    rw->size = TrackSize;
    rw->seek = TrackSeek;
    rw->read = TrackRead;
    rw->write = TrackWrite;
    rw->close = TrackClose;
    rw->type = SDL_RWOPS_UNKNOWN;
    rw->hidden.unknown.data1 = new TrackFile{std::move(fd)};
    return rw;
}

// Whether SDL_mixer decodes a file that begins so as it plays: wave, AIFF, Ogg, FLAC and MP3
// it does. A file it does not recognise it takes for a tracker module (and "MThd" for MIDI),
// which it reads whole into memory first: two gigabytes for a large file that is not music.
bool DecodedAsItPlays(const uint8_t* h) {
    auto is = [h](size_t at, const char* text) {
        return std::memcmp(h + at, text, std::strlen(text)) == 0;
    };
    return (is(0, "RIFF") && is(8, "WAVE")) || is(0, "FORM") || is(0, "OggS") || is(0, "fLaC") ||
           is(0, "ID3") || (h[0] == 0xFF && (h[1] & 0xE6) == 0xE2);
}

// Loads a track for playing from the file; null when its decoder cannot make sense of it.
[[nodiscard]] Mix_Music* LoadTrack(const std::string& path) {
    SDL_RWops* rw = OpenTrack(path);
    if (!rw) return nullptr;
    uint8_t head[12] = {};
    const bool known = SDL_RWread(rw, head, 1, sizeof head) == sizeof head &&
                       SDL_RWseek(rw, 0, RW_SEEK_SET) == 0 && DecodedAsItPlays(head);
    TrackFile& track = Track(rw);
    // Anything else is a track only if the MP3 decoder finds its frames (it gives up after
    // 64 KiB that are not).
    Mix_Music* music = Mix_LoadMUSType_RW(rw, known ? MUS_NONE : MUS_MP3, 1);
    if (music) track.allowance = -1; // found its way: the whole file plays
    return music;
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
        m_music.reset(LoadTrack(path));
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
