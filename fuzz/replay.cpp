// replay.cpp: the main of a fuzz target built without libFuzzer: feeds every file named, and
// every file in every folder named, to LLVMFuzzerTestOneInput once. A target aborts on a
// broken property, so a past crash that comes back fails the run.
#include "platform/files.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        std::error_code ec;
        if (fs::is_directory(argv[i], ec)) {
            for (const auto& entry : fs::directory_iterator(argv[i], ec))
                if (entry.is_regular_file()) inputs.push_back(entry.path());
        } else if (fs::is_regular_file(argv[i], ec)) {
            inputs.push_back(argv[i]);
        } else {
            std::fprintf(stderr, "%s: no such file or folder: %s\n", argv[0], argv[i]);
            return 1;
        }
    }
    // Some targets keep state from one input to the next: the same order every run.
    std::sort(inputs.begin(), inputs.end());
    if (inputs.empty()) {
        std::fprintf(stderr, "%s: no inputs\n", argv[0]);
        return 1;
    }
    for (const fs::path& path : inputs) {
        const auto bytes = platform::ReadFileBytes(path.string());
        if (!bytes) {
            std::fprintf(stderr, "%s: cannot read %s\n", argv[0], path.c_str());
            return 1;
        }
        std::fprintf(stderr, "%s\n", path.filename().c_str());
        LLVMFuzzerTestOneInput(bytes->data(), bytes->size());
    }
    std::fprintf(stderr, "%zu inputs, no failure\n", inputs.size());
    return 0;
}
