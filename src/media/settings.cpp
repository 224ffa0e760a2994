// settings.cpp: the sound and music switches, read at start-up, written when they change and
// at exit.
#include "media/settings.h"

#include "game/registry_store.h"
#include "platform/window.h"

#include <cstdio>
#include <utility>
#include <vector>

namespace media {

Switches ReadSwitches(const std::string& gameName) {
    const RegistryStore store(gameName);
    Switches switches;
    switches.soundOn = store.ReadString("SoundEffect") != "Off";
    switches.musicOn = store.ReadString("PlayMusic") != "Off";
    return switches;
}

platform::Size ParseWindowSize(const std::string& text) {
    constexpr int32_t kMaxSide = 16384;
    int32_t side[2] = {0, 0};
    size_t i = 0;
    for (int k = 0; k < 2; ++k) {
        const size_t start = i;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
            side[k] = side[k] * 10 + (text[i] - '0');
            if (side[k] > kMaxSide) return {};
        }
        if (i == start) return {};
        if (k == 0) {
            if (i == text.size() || (text[i] != 'x' && text[i] != 'X')) return {};
            ++i;
        }
    }
    if (i != text.size() || side[0] < platform::kMinWindowSize.width ||
        side[1] < platform::kMinWindowSize.height)
        return {};
    return {side[0], side[1]};
}

WindowPlace ReadWindowPlace(const std::string& gameName) {
    const RegistryStore store(gameName);
    return {store.ReadString("FullScreen") == "Off",
            ParseWindowSize(store.ReadString("WindowSize"))};
}

void WriteSettings(const std::string& gameName, const Switches& switches,
                   const std::optional<WindowPlace>& place) {
    const RegistryStore store(gameName);
    std::vector<std::pair<std::string, std::string>> values{
        {"SoundEffect", switches.soundOn ? "On" : "Off"},
        {"PlayMusic", switches.musicOn ? "On" : "Off"}};
    if (place) {
        values.push_back({"FullScreen", place->windowed ? "Off" : "On"});
        if (place->size.width > 0 && place->size.height > 0)
            values.push_back({"WindowSize", std::to_string(place->size.width) + "x" +
                                                std::to_string(place->size.height)});
    }
    std::string reason;
    // One write for all: a run cut short leaves all old or all new.
    if (!store.WriteStrings(values, &reason))
        std::fprintf(stderr, "ranqua: the settings could not be saved to %s: %s\n",
                     store.FilePath().c_str(), reason.c_str());
}

} // namespace media
