// game_app.cpp: start-up (main screen, then game, then settings) and shutdown.
#include "app/game_app.h"

#include "app/interface.h"
#include "game/board_game.h"

bool CGameApp::InitInstance() {
    CInterface* screen = new CInterface("RanquaWindow");
    m_mainWindow = screen;
    screen->OnPaint(); // the forced repaint shows the menu buttons
    screen->m_game = new CBoardGame(screen);
    screen->LoadSettings();
    return true;
}

int CGameApp::ExitInstance() {
    if (CInterface* screen = MainScreen()) {
        delete screen->m_game; // first: it frees its surfaces through the main screen
        screen->m_game = nullptr;
        delete screen;
        m_mainWindow = nullptr;
    }
    return Application::ExitInstance();
}

void CGameApp::OnDisplayLost() {
    if (CInterface* screen = MainScreen()) screen->SaveSettings();
}

CInterface* CGameApp::MainScreen() const {
    return static_cast<CInterface*>(m_mainWindow);
}
