// music.cpp: the music folder's files played in random order while the switch is on.
#include "app/interface.h"

#include "platform/files.h"
#include "platform/rand.h"

void CInterface::CollectMusicFiles() {
    // Each name goes to the front: the list ends up in the reverse of the listing order.
    for (const std::string& name : platform::ListFiles(kMusicFolder, ".mp3"))
        m_musicFiles.push_front(name);
}

void CInterface::PlayRandomTrack() {
    if (m_musicFiles.empty() || !m_musicWnd) return;
    // draw: see platform::Rand
    const size_t n = static_cast<size_t>(platform::Rand()) % m_musicFiles.size();
    m_musicWnd->Open(std::string(kMusicFolder) + m_musicFiles[n]);
    m_musicWnd->Play();
}

void CInterface::OnMciNotifyMode(const void* musicWindow, int32_t mode) {
    if (musicWindow == m_musicWnd.get() && mode == platform::kMciModeStop && m_musicOn)
        PlayRandomTrack();
}
