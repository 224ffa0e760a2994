// music.h: the music folder's tracks, played in random order.
#pragma once

#include "platform/music.h"

#include <deque>
#include <string>

namespace media {

// Puts each "*.mp3" file of `folder` at the front of `tracks`: they end up in the reverse of
// the listing order.
void CollectTracks(std::deque<std::string>& tracks, const std::string& folder);
// Opens a track of `tracks` drawn at random from `folder` and plays it; nothing without
// tracks or a player.
void PlayRandomTrack(const std::deque<std::string>& tracks, platform::MusicPlayer* player,
                     const std::string& folder);

} // namespace media
