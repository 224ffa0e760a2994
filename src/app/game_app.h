// game_app.h: CGameApp, the application: start-up order and shutdown order.
#pragma once

#include "platform/window.h"

class CInterface;

class CGameApp : public platform::Application {
public:
    // Creates the main screen, shows it, creates the game and applies the settings.
    bool InitInstance() override;
    // Destroys the game, then the main screen; returns the quit code.
    int ExitInstance() override;
    // Writes the switches: the closing sequence cannot run without a display.
    void OnDisplayLost() override;

    CInterface* MainScreen() const;
};
