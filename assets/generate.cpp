// generate.cpp: draws every picture and makes every sound the game carries.
#include "art.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: ranqua-assets OUTPUT-FOLDER\n");
        return 2;
    }
    const std::string dir = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(dir + "/Internet", ec);
    std::filesystem::create_directories(dir + "/icons", ec);

    // Every file is made on its own, so the work is shared out over the cores; the largest
    // drawings go first so that no core is left with one of them at the end.
    std::vector<std::function<bool()>> jobs;
    for (int factor = art::kLargestFactor; factor >= 1; --factor) {
        for (int i = 0; i < art::kLevelPictures; ++i)
            jobs.push_back([&dir, i, factor] { return art::MakeLevelPicture(dir, i, factor); });
        jobs.push_back([&dir, factor] { return art::MakeMenuArt(dir, factor); });
        jobs.push_back([&dir, factor] { return art::MakeBoardArt(dir, factor); });
        jobs.push_back([&dir, factor] { return art::MakeScreens(dir, factor); });
    }
    jobs.push_back([&dir] { return art::MakeSounds(dir); });
    jobs.push_back([&dir] { return art::MakeIcons(dir); });

    std::atomic<size_t> next{0};
    std::atomic<bool> ok{true};
    auto work = [&] {
        for (size_t j; (j = next++) < jobs.size();)
            if (!jobs[j]()) ok = false;
    };
    const unsigned cores = std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
    std::vector<std::thread> helpers;
    for (unsigned i = 1; i < cores; ++i)
        helpers.emplace_back(work);
    work();
    for (std::thread& t : helpers)
        t.join();
    if (!ok) {
        std::fprintf(stderr, "ranqua-assets: could not write every file to %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
