// music.cpp: the music folder's files played in random order.
#include "media/music.h"

#include "platform/files.h"
#include "platform/rand.h"

namespace media {

void CollectTracks(std::deque<std::string>& tracks, const std::string& folder) {
    for (const std::string& name : platform::ListFiles(folder, ".mp3"))
        tracks.push_front(name);
}

void PlayRandomTrack(const std::deque<std::string>& tracks, platform::MusicPlayer* player,
                     const std::string& folder) {
    if (tracks.empty() || !player) return;
    // draw: see platform::Rand
    const size_t n = static_cast<size_t>(platform::Rand()) % tracks.size();
    player->Open(folder + tracks[n]);
    player->Play();
}

} // namespace media
