// make_music.cpp: composes, masters and encodes one track of the soundtrack.
#include "music.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: ranqua-music TRACK-NUMBER OUTPUT.mp3\n");
        return 2;
    }
    const size_t track = static_cast<size_t>(std::strtoul(argv[1], nullptr, 10));
    if (track >= music::Tracks().size()) {
        std::fprintf(stderr, "ranqua-music: no track %s\n", argv[1]);
        return 2;
    }
    const music::Stereo s = music::Render(track, 0, music::TrackSeconds(track));
    // Written beside the target and renamed, so an interrupted build leaves no half track.
    const std::string out = argv[2], part = out + ".part";
    if (!music::WriteMp3(s, part, music::Tracks()[track].title) ||
        std::rename(part.c_str(), out.c_str()) != 0) {
        std::fprintf(stderr, "ranqua-music: could not write %s\n", argv[2]);
        std::remove(part.c_str());
        return 1;
    }
    return 0;
}
