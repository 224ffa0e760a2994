// link_fuzz.cpp: libFuzzer target: any bytes as the link list "internet.txt".
#include "app/link_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    for (const auto& [picture, address] : ReadLinkPairs(in)) {
        // Words are never empty, never longer than the limit, and hold no white space.
        if (picture.empty() || address.empty()) std::abort();
        if (picture.size() > kMaxLinkWord || address.size() > kMaxLinkWord) std::abort();
        for (char c : picture + address)
            if (c == ' ' || c == '\n' || c == '\t' || c == '\r') std::abort();
    }
    return 0;
}
