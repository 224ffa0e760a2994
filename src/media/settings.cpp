// settings.cpp: the sound and music switches, read at start-up, written when they change and
// at exit.
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
    // One write for both: a run cut short leaves both old or both new.
    if (!store.WriteStrings({{"SoundEffect", switches.soundOn ? "On" : "Off"},
                             {"PlayMusic", switches.musicOn ? "On" : "Off"}},
                            &reason))
        std::fprintf(stderr, "ranqua: the switches could not be saved to %s: %s\n",
                     store.FilePath().c_str(), reason.c_str());
}

} // namespace media
