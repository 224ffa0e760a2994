// main.cpp: the process entry: set up the platform, run the application, tear down.
#include "app/game_app.h"

int main() {
    if (!platform::InitPlatform()) return 1;
    int code = 0;
    {
        CGameApp app;
        code = app.Run();
    }
    platform::ShutdownPlatform();
    return code;
}
