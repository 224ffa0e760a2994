// link_file.h: reading "internet.txt": white-space separated words taken in pairs.
#pragma once

#include <istream>
#include <string>
#include <utility>
#include <vector>

// Longer words are cut to this length, so a hostile file cannot grow a word without bound.
constexpr size_t kMaxLinkWord = 255;

// (picture file, address) for every complete pair, in file order; a last word without its
// partner adds nothing.
std::vector<std::pair<std::string, std::string>> ReadLinkPairs(std::istream& in);
