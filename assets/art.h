// art.h: the groups of pictures and sounds that the generator writes into its output folder.
#pragma once

#include <string>

namespace art {

constexpr int kLevelPictures = 16;
constexpr int kLargestFactor = 3; // pictures are drawn at 1x, 2x and 3x their size

// Each writes its files below dir and reports false when one could not be written. The
// pictures are drawn at the given factor (see PictureFile).
bool MakeBoardArt(const std::string& dir, int factor);            // COL0..COL6, DIGITS
bool MakeMenuArt(const std::string& dir, int factor);             // BACK, BUT, M_*, Internet/*
bool MakeScreens(const std::string& dir, int factor);             // HELP, BEST*, NOBEST, LOGO
bool MakeLevelPicture(const std::string& dir, int i, int factor); // PIC<i>
bool MakeSounds(const std::string& dir);                          // every WAVE
bool MakeIcons(const std::string& dir);                           // PRG_ICON.bmp, icons/*

} // namespace art
