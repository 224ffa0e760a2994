// command_line.h: the options the program takes, read before anything is opened.
#pragma once

#include "platform/geometry.h"

#include <string>

// How the game shows itself at start; kSaved takes what the settings file says (full
// screen when it says nothing).
enum class StartMode { kSaved, kFullScreen, kWindow };

struct CommandLine {
    enum class Action { kRun, kHelp, kVersion, kError };
    Action action = Action::kRun;
    StartMode mode = StartMode::kSaved;
    // The window's size asked for with --window=WIDTHxHEIGHT; 0 x 0 when none was.
    platform::Size windowSize;
    // Why the command line was refused (Action::kError), one line without the program's name.
    std::string error;
};

CommandLine ParseCommandLine(int argc, const char* const* argv);
// What --help prints, and what --version prints ("ranqua 1.0.0"), each ending in a newline.
std::string UsageText();
std::string VersionText();
