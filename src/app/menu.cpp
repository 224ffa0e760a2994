// menu.cpp: the menu commands, the switch buttons and the internet links.
#include "app/interface.h"

#include "app/internet_link.h"
#include "platform/rand.h"
#include "platform/shell.h"
#include "ui/pic_button.h"

void CInterface::RunMenuCommand(int32_t id) {
    switch (id) {
    case 1:
        if (m_game) m_game->NewGame();
        break;
    case 2:
        if (m_game) m_game->LoadGame();
        break;
    case 3:
        if (m_game && !m_game->m_gameOver) m_game->SaveGame();
        break;
    case 4:
        ShowHelp(true);
        break;
    case 5:
        ExitGame();
        break;
    case 7:
        m_musicOn = !m_musicOn;
        // The switch changes before the stop, so the stop notification starts nothing.
        if (m_musicOn)
            PlayRandomTrack();
        else if (m_musicWnd)
            m_musicWnd->Stop();
        FlipSwitchButton(id);
        break;
    case 8:
        m_soundOn = !m_soundOn;
        FlipSwitchButton(id);
        break;
    default:
        break;
    }
}

CPicButton* CInterface::FindButton(int32_t id) const {
    for (CPicButton* b : m_menuButtons)
        if (b->m_id == id) return b;
    return nullptr;
}

void CInterface::SetSwitchButton(int32_t id, bool on) {
    CPicButton* b = FindButton(id);
    if (!b) return;
    b->m_restState = b->m_state = on ? 1 : 0;
    b->Draw(m_backBuffer, this);
}

void CInterface::FlipSwitchButton(int32_t id) {
    // The button follows its own resting state, flipped alongside the switch.
    if (CPicButton* b = FindButton(id)) SetSwitchButton(id, b->m_restState != 1);
    Present();
}

void CInterface::ChooseLink() {
    const int n = static_cast<int>(m_links.size());
    if (n <= 0) {
        m_currentLink = nullptr;
        return;
    }
    m_currentLink = m_links[static_cast<size_t>(platform::Rand() % n)];
}

void CInterface::OpenLink(const CInternetLink& link) {
    platform::OpenAddress(link.m_address);
}
