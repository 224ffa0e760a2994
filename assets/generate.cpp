// generate.cpp: draws every picture and makes every sound the game carries.
#include "art.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: ranqua-assets OUTPUT-FOLDER\n");
        return 2;
    }
    const std::string dir = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(dir + "/Internet", ec);
    std::filesystem::create_directories(dir + "/icons", ec);
    bool ok = art::MakeMenuArt(dir);
    ok &= art::MakeBoardArt(dir);
    ok &= art::MakeScreens(dir);
    ok &= art::MakeLevelPictures(dir);
    ok &= art::MakeSounds(dir);
    ok &= art::MakeIcons(dir);
    if (!ok) {
        std::fprintf(stderr, "ranqua-assets: could not write every file to %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
