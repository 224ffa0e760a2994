// settings.cpp: the sound and music switches, read at start-up and written at exit.
#include "app/interface.h"

#include "game/registry_store.h"

#include <cstdio>

void CInterface::LoadSettings() {
    if (!m_game) return;
    const RegistryStore store(m_game->m_name);
    m_soundOn = store.ReadString("SoundEffect") != "Off";
    if (store.ReadString("PlayMusic") == "Off") {
        m_musicOn = false;
    } else {
        m_musicOn = true;
        PlayRandomTrack();
    }
    SetSwitchButton(MenuCommand::kSound, m_soundOn);
    SetSwitchButton(MenuCommand::kMusic, m_musicOn);
    Present();
}

void CInterface::SaveSettings() {
    if (!m_game) return;
    const RegistryStore store(m_game->m_name);
    std::string reason;
    const bool sound = store.WriteString("SoundEffect", m_soundOn ? "On" : "Off", &reason);
    const bool music = store.WriteString("PlayMusic", m_musicOn ? "On" : "Off", &reason);
    // Nobody is left to see a box at exit; a terminal or log still learns of it.
    if (!sound || !music)
        std::fprintf(stderr, "ranqua: the switches could not be saved to %s: %s\n",
                     store.FilePath().c_str(), reason.c_str());
}
