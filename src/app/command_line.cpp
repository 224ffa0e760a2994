// command_line.cpp: --help, --version and the start mode, parsed without touching anything.
#include "app/command_line.h"

#include "media/settings.h"

#include <cstring>

#ifndef RANQUA_VERSION
#error "RANQUA_VERSION is set by the build, from debian/changelog"
#endif

CommandLine ParseCommandLine(int argc, const char* const* argv) {
    CommandLine c;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            c.action = CommandLine::Action::kHelp;
            return c; // whatever else is there: the player asked what to type
        }
        if (arg == "--version") {
            c.action = CommandLine::Action::kVersion;
        } else if (arg == "--fullscreen") {
            c.mode = StartMode::kFullScreen;
            c.windowSize = {};
        } else if (arg == "--window") {
            c.mode = StartMode::kWindow;
            c.windowSize = {};
        } else if (arg.rfind("--window=", 0) == 0) {
            const std::string size = arg.substr(std::strlen("--window="));
            c.windowSize = media::ParseWindowSize(size);
            if (c.windowSize.width == 0) {
                c.error = "bad window size '" + size + "' (WIDTHxHEIGHT, at least 800x600)";
                c.action = CommandLine::Action::kError;
                return c;
            }
            c.mode = StartMode::kWindow;
        } else {
            c.error =
                (arg.size() > 1 && arg[0] == '-' ? "unknown option '" : "unexpected argument '") +
                arg + "' (ranqua --help lists the options)";
            c.action = CommandLine::Action::kError;
            return c;
        }
    }
    return c;
}

std::string VersionText() {
    return "ranqua " RANQUA_VERSION "\n";
}

std::string UsageText() {
    return "Usage: ranqua [--fullscreen | --window[=WIDTHxHEIGHT]]\n"
           "Line up four balls of one colour on a 7 by 6 board to clear them.\n"
           "\n"
           "Options:\n"
           "  --fullscreen             cover the primary display (the default)\n"
           "  --window[=WIDTHxHEIGHT]  play in a window of that size (at least 800x600);\n"
           "                           without a size, the last one used\n"
           "  -h, --help               show this help and exit\n"
           "  --version                show the version and exit\n"
           "The game remembers the last mode and window size.\n"
           "\n"
           "Keys:\n"
           "  arrow keys               move the cursor over the board\n"
           "  Return                   select a ball, or move it, at the cursor\n"
           "  Ctrl+N                   new game\n"
           "  Ctrl+S                   save the game\n"
           "  Ctrl+O, Ctrl+L           load the saved game\n"
           "  Ctrl+Q                   exit\n"
           "  F1                       help (F1 or Escape closes it)\n"
           "  F2                       the best games (F2 or Escape closes them)\n"
           "  M, E                     music on or off, sound effects on or off\n"
           "  Space                    the level picture, once the score passes 40\n"
           "  F11, Alt+Return          switch between full screen and a window\n"
           "\n"
           "Files:\n"
           "  ${XDG_CONFIG_HOME:-~/.config}/Brindlewood/Quorvale/Marbalo/Ranqua.conf\n"
           "      the saved game, the switches, the mode and the window's size\n"
           "  ${XDG_DATA_HOME:-~/.local/share}/ranqua/scores\n"
           "      the ten best games, one a line: SCORE YYYY-MM-DD LEVEL\n"
           "  ${XDG_DATA_HOME:-~/.local/share}/ranqua/MUSIC/GAME/\n"
           "      the music: MP3 files, at first links to the game's own tracks\n"
           "  ${XDG_DATA_HOME:-~/.local/share}/ranqua/game/Internet/internet.txt\n"
           "      the link pictures and their addresses\n";
}
