// main.cpp: the process entry: read the options, set up the platform, run, tear down.
#include "app/command_line.h"
#include "app/game_app.h"
#include "platform/message_box.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Help and version go to stdout; a failed write (a closed pipe, a full disk) is an error.
int Print(const std::string& text) {
    if (std::fputs(text.c_str(), stdout) < 0 || std::fflush(stdout) != 0) {
        std::perror("ranqua: cannot write to standard output");
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], platform::kMessageBoxHelperArgument) == 0)
        return platform::RunMessageBoxHelper(argv[2]);
    // Before anything opens: --help and --version touch neither the display nor the settings.
    const CommandLine options = ParseCommandLine(argc, argv);
    switch (options.action) {
    case CommandLine::Action::kHelp:
        return Print(UsageText());
    case CommandLine::Action::kVersion:
        return Print(VersionText());
    case CommandLine::Action::kError:
        std::fprintf(stderr, "ranqua: %s\n", options.error.c_str());
        return 2;
    case CommandLine::Action::kRun:
        break;
    }
    if (!platform::InitPlatform()) return 1;
    int code = 0;
    {
        CGameApp app;
        app.m_startMode = options.mode;
        app.m_startSize = options.windowSize;
        code = app.Run();
    }
    platform::ShutdownPlatform();
    return code;
}
