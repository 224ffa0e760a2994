// media.cpp: the main screen's sound effects, music and switches, played and kept by media/.
#include "app/interface.h"

#include "media/music.h"
#include "media/settings.h"
#include "media/sound_effects.h"

SoundHandle CInterface::FindSound(const std::string& name) {
    return media::FindSound(name);
}

void CInterface::PlaySoundEffect(SoundHandle sound) {
    media::PlaySoundEffect(sound, m_soundOn);
}

void CInterface::CollectMusicFiles() {
    media::CollectTracks(m_musicFiles, kMusicFolder);
}

void CInterface::PlayRandomTrack() {
    media::PlayRandomTrack(m_musicFiles, m_musicWnd.get(), kMusicFolder);
}

void CInterface::OnMciNotifyMode(const void* musicWindow, int32_t mode) {
    if (musicWindow == m_musicWnd.get() && mode == platform::kMciModeStop && m_musicOn)
        PlayRandomTrack();
}

void CInterface::LoadSettings() {
    if (!m_game) return;
    const media::Switches switches = media::ReadSwitches(m_game->m_name);
    m_soundOn = switches.soundOn;
    m_musicOn = switches.musicOn;
    if (m_musicOn) PlayRandomTrack();
    SetSwitchButton(MenuCommand::kSound, m_soundOn);
    SetSwitchButton(MenuCommand::kMusic, m_musicOn);
    Present();
}

void CInterface::SaveSettings() {
    if (!m_game) return;
    media::WriteSwitches(m_game->m_name, {m_soundOn, m_musicOn});
}
