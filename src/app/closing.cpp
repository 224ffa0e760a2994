// closing.cpp: the one closing sequence, from the menu's Exit and from a close request.
#include "app/interface.h"

#include "platform/window.h"

void CInterface::ExitGame() {
    m_closing = true;
    {
        // The whole display fades to black.
        const platform::SurfacePtr black = CreateSurface(m_displayRect);
        ShowTransition(black.get(), 255, m_displayRect, {0, 0}, 2.0f);
    }
    SaveSettings();
    if (platform::Application* app = platform::Application::Current()) app->PostQuit(0);
}

void CInterface::OnClose() {
    ExitGame();
}
