// link_file.cpp: the word reader behind the link list.
#include "app/link_file.h"

#include <cctype>

namespace {

bool ReadWord(std::istream& in, std::string& word) {
    word.clear();
    char c;
    while (in.get(c) && std::isspace(static_cast<unsigned char>(c))) {
    }
    if (!in) return false;
    do {
        if (word.size() < kMaxLinkWord) word += c;
    } while (in.get(c) && !std::isspace(static_cast<unsigned char>(c)));
    return true;
}

} // namespace

std::vector<std::pair<std::string, std::string>> ReadLinkPairs(std::istream& in, size_t maxPairs,
                                                               bool* more) {
    std::vector<std::pair<std::string, std::string>> pairs;
    std::string picture, address;
    if (more) *more = false;
    while (ReadWord(in, picture) && ReadWord(in, address)) {
        if (pairs.size() == maxPairs) {
            if (more) *more = true;
            break;
        }
        pairs.emplace_back(picture, address);
    }
    return pairs;
}
