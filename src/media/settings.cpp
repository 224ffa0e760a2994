// settings.cpp: the sound and music switches, read at start-up and written at exit.
#include "media/settings.h"

#include "game/registry_store.h"

#include <cstdio>

namespace media {

Switches ReadSwitches(const std::string& gameName) {
    const RegistryStore store(gameName);
    Switches switches;
    switches.soundOn = store.ReadString("SoundEffect") != "Off";
    switches.musicOn = store.ReadString("PlayMusic") != "Off";
    return switches;
}

void WriteSwitches(const std::string& gameName, const Switches& switches) {
    const RegistryStore store(gameName);
    std::string reason;
    const bool sound = store.WriteString("SoundEffect", switches.soundOn ? "On" : "Off", &reason);
    const bool music = store.WriteString("PlayMusic", switches.musicOn ? "On" : "Off", &reason);
    // Nobody is left to see a box at exit; a terminal or log still learns of it.
    if (!sound || !music)
        std::fprintf(stderr, "ranqua: the switches could not be saved to %s: %s\n",
                     store.FilePath().c_str(), reason.c_str());
}

} // namespace media
