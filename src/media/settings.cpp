// settings.cpp: the sound and music switches, read at start-up and written at exit.
#include "app/interface.h"

#include "game/registry_store.h"

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
    store.WriteString("SoundEffect", m_soundOn ? "On" : "Off");
    store.WriteString("PlayMusic", m_musicOn ? "On" : "Off");
}
