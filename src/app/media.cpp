// media.cpp: the main screen's sound effects, music and switches, played and kept by media/.
#include "app/interface.h"

#include "media/music.h"
#include "media/settings.h"
#include "media/sound_effects.h"

#include <optional>

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
    // The window's mode and size go along (the mode chosen on the command line too): they are
    // the next start's. A player who never had a window keeps the file as it was.
    const platform::WindowMode mode = GetWindowMode();
    std::optional<media::WindowPlace> place;
    if (mode.windowed || mode.size.width > 0) place = media::WindowPlace{mode.windowed, mode.size};
    media::WriteSettings(m_game->m_name, {m_soundOn, m_musicOn}, place);
}
