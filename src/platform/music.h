// music.h: background music from files, and the stop notification that reaches the window.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace platform {

// Mode that a music window reports when a track has ended or was stopped.
constexpr int32_t kMciModeStop = 525;

class MusicPlayer {
public:
    virtual ~MusicPlayer() = default;
    // Closes what was open and opens the file; a file that cannot be opened plays nothing.
    virtual void Open(const std::string& path) = 0;
    // Plays the open file from its beginning.
    virtual void Play() = 0;
    // Stops playback; the main window gets OnMciNotifyMode(this, kMciModeStop) before Stop
    // returns, as a media window reports the stop it was sent.
    virtual void Stop() = 0;
};

// SDL_mixer's player, or one that the services in force make (services.h).
std::unique_ptr<MusicPlayer> CreateMusicPlayer();
using MusicPlayerFactory = std::function<std::unique_ptr<MusicPlayer>()>;

// Queues a mode-change notification for the main window (players call it; so may tests).
// A notification for `track` (see NewMusicTrack) is dropped when it comes out of the queue after
// another track has become the current one; track 0 is always delivered.
void PostMusicNotify(const void* musicWindow, int32_t mode, uint32_t track = 0);
// Delivers a mode-change notification to the main window at once.
void SendMusicNotify(const void* musicWindow, int32_t mode);
// Makes a new track the current one and returns its number (never 0); the notifications of
// every earlier track are dropped from then on.
uint32_t NewMusicTrack();
uint32_t CurrentMusicTrack();

} // namespace platform
