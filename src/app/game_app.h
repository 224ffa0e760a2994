// game_app.h: CGameApp, the application: start-up order and shutdown order.
#pragma once

#include "app/command_line.h"
#include "platform/window.h"

#include <memory>

class CGame;
class CInterface;

class CGameApp : public platform::Application {
public:
    // Creates the main screen, shows it, creates the game and applies the settings.
    [[nodiscard]] bool InitInstance() override;
    // Destroys the game, then the main screen; returns the quit code.
    int ExitInstance() override;

    CInterface* MainScreen() const;
    CGameApp();
    ~CGameApp() override;

    // What the command line asked of the window (the settings file decides the rest).
    StartMode m_startMode = StartMode::kSaved;
    platform::Size m_startSize;

    // The main screen (also m_mainWindow, which does not own it) and the game, which the main
    // screen uses through its m_game. The game goes first: it frees its surfaces through the
    // main screen.
    std::unique_ptr<CInterface> m_screen;
    std::unique_ptr<CGame> m_game;
};
