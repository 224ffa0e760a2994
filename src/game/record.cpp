// record.cpp: encoding and checking of the saved-game record.
#include "game/record.h"

#include <limits>

std::string EncodeBase224(uint32_t value) {
    std::string text;
    while (value != 0) {
        text += static_cast<char>(value % 224 + 32);
        value /= 224;
    }
    while (text.size() < 4)
        text += ' ';
    return text;
}

uint32_t DecodeBase224(std::string_view text) {
    uint32_t value = 0;
    for (int n = 3; n >= 0; --n)
        value = value * 224 + ((static_cast<uint8_t>(text[static_cast<size_t>(n)]) - 32u) % 256u);
    return value;
}

std::string BuildRecord(const Board& board, int32_t score) {
    std::string record;
    for (int32_t k = 0; k < kColumns * kRows; ++k)
        record += static_cast<char>(board[k % kColumns][k / kColumns].colour + 32);
    record += EncodeBase224(static_cast<uint32_t>(score));
    return record;
}

bool ParseRecord(std::string_view text, std::array<std::array<int32_t, kRows>, kColumns>& colours,
                 uint32_t& score) {
    if (text.size() != kRecordLength) return false;
    std::array<std::array<int32_t, kRows>, kColumns> parsed{};
    for (int32_t k = 0; k < kColumns * kRows; ++k) {
        // The character is taken as a signed 8-bit value, as the record was always read.
        const int32_t colour = static_cast<int8_t>(text[static_cast<size_t>(k)]) - 32;
        if (colour < 0 || colour > kBallColours) return false;
        parsed[k % kColumns][k / kColumns] = colour;
    }
    const uint32_t value = DecodeBase224(text.substr(kColumns * kRows));
    // The game keeps its score as a signed 32-bit number; it never saves a larger one.
    if (value > static_cast<uint32_t>(std::numeric_limits<int32_t>::max())) return false;
    colours = parsed;
    score = value;
    return true;
}
