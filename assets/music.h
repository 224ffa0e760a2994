// music.h: the soundtrack's synthesiser, its tracks and their mastering.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace music {

constexpr int kRate = 44100;

// Float stereo at kRate, full scale = 1.
struct Stereo {
    std::vector<float> left, right;
    size_t Frames() const { return left.size(); }
};

struct TrackInfo {
    const char* title; // ID3 title
    const char* key;   // for people: "D major"
    int tempo;         // beats a minute
};

// The soundtrack, in play order.
const std::vector<TrackInfo>& Tracks();
// Length of a finished track in seconds.
double TrackSeconds(size_t track);

// Renders the part [from, to) seconds of a track, mastered: the same source gives the same
// samples. The whole track is Render(track, 0, TrackSeconds(track)); the level is set from the
// part rendered, so an excerpt is as loud as the whole.
Stereo Render(size_t track, double from, double to);

// Level targets of the master, in dBFS.
constexpr double kPeakCeilingDb = -1.6; // MP3 encoding adds a few tenths
constexpr double kRmsTargetDb = -16.5;
constexpr double kFadeInSeconds = 2.5;
constexpr double kFadeOutSeconds = 7.0;

double PeakDb(const Stereo& s);
double RmsDb(const Stereo& s);

// Encodes MP3 (VBR, 44.1 kHz stereo) with an ID3 title and "Ranqua" as artist and album.
bool WriteMp3(const Stereo& s, const std::string& path, const std::string& title);

} // namespace music
