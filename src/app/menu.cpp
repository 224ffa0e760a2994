// menu.cpp: the menu commands, the switch buttons and the internet links.
#include "app/interface.h"

#include "app/internet_link.h"
#include "platform/message_box.h"
#include "platform/rand.h"
#include "platform/shell.h"
#include "ui/pic_button.h"

void CInterface::RunMenuCommand(MenuCommand id) {
    switch (id) {
    case MenuCommand::kNew:
        ResetCursor();
        if (m_game) m_game->NewGame();
        break;
    case MenuCommand::kLoad:
        ResetCursor();
        if (m_game) m_game->LoadGame();
        break;
    case MenuCommand::kSave:
        if (m_game && !m_game->m_gameOver) m_game->SaveGame();
        break;
    case MenuCommand::kHelp:
        ShowHelp(true);
        break;
    case MenuCommand::kBest:
        ShowBest(true);
        break;
    case MenuCommand::kExit:
        ExitGame();
        break;
    case MenuCommand::kMusic:
        m_musicOn = !m_musicOn;
        // The switch changes before the stop, so the stop notification starts nothing.
        if (m_musicOn)
            PlayRandomTrack();
        else if (m_musicWnd)
            m_musicWnd->Stop();
        FlipSwitchButton(id);
        // Kept at once: a run that ends without the closing sequence (a lost display, a signal
        // that ends the game) must not lose a switch.
        SaveSettings();
        break;
    case MenuCommand::kSound:
        m_soundOn = !m_soundOn;
        FlipSwitchButton(id);
        SaveSettings();
        break;
    }
}

CPicButton* CInterface::FindButton(MenuCommand id) const {
    for (const auto& b : m_menuButtons)
        if (b->m_id == id) return b.get();
    return nullptr;
}

void CInterface::SetSwitchButton(MenuCommand id, bool on) {
    CPicButton* b = FindButton(id);
    if (!b) return;
    b->m_restState = b->m_state = on ? 1 : 0;
    b->Draw(m_backBuffer.get(), m_backBuffer.get());
}

void CInterface::FlipSwitchButton(MenuCommand id) {
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
    m_currentLink =
        m_links[static_cast<size_t>(platform::Rand() % n)].get(); // draw: see platform::Rand
}

void CInterface::OpenLink(const CInternetLink& link) {
    if (!platform::OpenAddress(link.m_address))
        platform::MessageBox("The link could not be opened: " + link.m_address);
}
