// main.cpp: the process entry: set up the platform, run the application, tear down.
#include "app/game_app.h"
#include "platform/message_box.h"

#include <cstring>

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], platform::kMessageBoxHelperArgument) == 0)
        return platform::RunMessageBoxHelper(argv[2]);
    if (!platform::InitPlatform()) return 1;
    int code = 0;
    {
        CGameApp app;
        code = app.Run();
    }
    platform::ShutdownPlatform();
    return code;
}
