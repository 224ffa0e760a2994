// menu_command.h: the commands of the menu buttons.
#pragma once

#include <cstdint>
#include <string>

// The number of each command is also its button's id and names its banner picture ("M_BUTT"
// + the number), so the values are fixed. 6 is no command: its picture is shown by no button.
enum class MenuCommand : int32_t {
    kNew = 1,
    kLoad = 2,
    kSave = 3,
    kHelp = 4,
    kExit = 5,
    kMusic = 7, // switch
    kSound = 8, // switch
    kBest = 9,  // the table of the best games; also the key F2
};

// "M_BUTT" + the command's number in decimal.
inline std::string BannerName(MenuCommand command) {
    return "M_BUTT" + std::to_string(static_cast<int32_t>(command));
}
