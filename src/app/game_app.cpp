// game_app.cpp: start-up (main screen, then game, then settings) and shutdown.
#include "app/game_app.h"

#include "app/interface.h"
#include "game/board_game.h"
#include "media/settings.h"

CGameApp::CGameApp() = default;

CGameApp::~CGameApp() {
    m_game.reset(); // first: it frees its surfaces through the main screen
    m_screen.reset();
}

bool CGameApp::InitInstance() {
    // Read before the window is made, which needs it; the switches wait for the game.
    const media::WindowPlace saved = media::ReadWindowPlace(CBoardGame::kName);
    platform::WindowMode mode{saved.windowed, saved.size};
    if (m_startMode != StartMode::kSaved) mode.windowed = m_startMode == StartMode::kWindow;
    if (m_startSize.width > 0) mode.size = m_startSize;
    m_screen = std::make_unique<CInterface>("RanquaWindow", mode);
    m_mainWindow = m_screen.get();
    m_screen->OnPaint(); // the forced repaint shows the menu buttons
    m_game = std::make_unique<CBoardGame>(m_screen.get());
    m_screen->m_game = m_game.get();
    m_screen->LoadSettings();
    return true;
}

int CGameApp::ExitInstance() {
    if (m_screen) {
        m_game.reset(); // first: it frees its surfaces through the main screen
        m_screen->m_game = nullptr;
        m_screen.reset();
        m_mainWindow = nullptr;
    }
    return Application::ExitInstance();
}

CInterface* CGameApp::MainScreen() const {
    return static_cast<CInterface*>(m_mainWindow);
}
