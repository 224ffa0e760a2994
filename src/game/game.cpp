// game.cpp: the bodies that CGame itself gives its operations.
#include "game/game.h"

CGame::CGame(CGameHost* screen) : m_screen(screen) {
    m_ownPicture = false;
    m_pictureUnlocked = true;
    m_sndNew = screen->FindSound("W_NEW");
    m_sndLoad = screen->FindSound("W_LOAD");
    m_sndSave = screen->FindSound("W_SAVE");
}

CGame::~CGame() {
    // Resource handles need no release: the data lives in the program for the whole run.
    m_sndNew = m_sndLoad = m_sndSave = {};
}

void CGame::OnRightButton(uint32_t, int32_t, int32_t) {}

void CGame::ShowPicture(bool) {}

void CGame::OnSpareEvent(int32_t, int32_t, int32_t) {}
