// settings.cpp: the sound and music switches, read at start-up and written at exit.
#include "app/interface.h"

#include "game/registry_store.h"
#include "ui/pic_button.h"

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
    for (int32_t id : {8, 7}) {
        CPicButton* b = FindButton(id);
        if (!b) continue;
        const bool on = id == 8 ? m_soundOn : m_musicOn;
        b->m_restState = b->m_state = on ? 1 : 0;
        b->Draw(m_backBuffer, this);
    }
    Present();
}

void CInterface::SaveSettings() {
    if (!m_game) return;
    const RegistryStore store(m_game->m_name);
    store.WriteString("SoundEffect", m_soundOn ? "On" : "Off");
    store.WriteString("PlayMusic", m_musicOn ? "On" : "Off");
}
