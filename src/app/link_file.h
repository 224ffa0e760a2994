// link_file.h: reading "internet.txt": white-space separated words taken in pairs.
#pragma once

#include <istream>
#include <string>
#include <utility>
#include <vector>

// Longer words are cut to this length, so a hostile file cannot grow a word without bound.
constexpr size_t kMaxLinkWord = 255;

// More pairs than this are not a link list of ours: the rest is left unread.
constexpr size_t kMaxLinkPairs = 1000;
// The link file is read no further than this (room for kMaxLinkPairs pairs of long words).
constexpr size_t kMaxLinkFileBytes = 1u << 20;

// (picture file, address) for every complete pair, in file order, at most `maxPairs`; a last
// word without its partner adds nothing. `more` tells whether pairs were left unread.
std::vector<std::pair<std::string, std::string>>
ReadLinkPairs(std::istream& in, size_t maxPairs = kMaxLinkPairs, bool* more = nullptr);
