// art.h: the groups of pictures and sounds that the generator writes into its output folder.
#pragma once

#include <string>

namespace art {

// Each writes its files below dir and reports false when one could not be written.
bool MakeBoardArt(const std::string& dir);      // COL0..COL6, DIGITS
bool MakeMenuArt(const std::string& dir);       // BACK, BUT, the M_ banners, Internet/*.jpg
bool MakeScreens(const std::string& dir);       // HELP, LOGO
bool MakeLevelPictures(const std::string& dir); // PIC0..PIC15
bool MakeSounds(const std::string& dir);        // every WAVE
bool MakeIcons(const std::string& dir);         // PRG_ICON.bmp, icons/*

} // namespace art
