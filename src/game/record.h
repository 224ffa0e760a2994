// record.h: the saved-game record: 42 cell characters and a 4-digit base-224 score.
#pragma once

#include "game/board.h"

#include <cstdint>
#include <string>
#include <string_view>

constexpr size_t kRecordLength = kColumns * kRows + 4;

// Least significant digit first, each digit as code 32..255; unused digits are spaces.
std::string EncodeBase224(uint32_t value);
// Reads the first 4 characters; `text` must hold at least 4.
uint32_t DecodeBase224(std::string_view text);

// Cells row by row from the top (character k is cell (k mod 7, k div 7)), colour + 32 each,
// then the score.
std::string BuildRecord(const Board& board, int32_t score);

// Checks a whole record before anything is used: 46 characters, every cell a space or one of
// the five ball colours, a score that fits a signed 32-bit number. On success fills `colours`
// (column-major like Board) and `score`.
bool ParseRecord(std::string_view text, std::array<std::array<int32_t, kRows>, kColumns>& colours,
                 uint32_t& score);
