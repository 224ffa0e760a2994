// record_fuzz.cpp: libFuzzer target: any text as a saved-game record; an accepted record must
// rebuild to one with the same cells, and scores that fit four digits must survive.
#include "game/record.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void Require(bool ok) {
    if (!ok) std::abort();
}

constexpr uint64_t kFourDigits = 224ull * 224 * 224 * 224;

// Parses `text`; when it is accepted, rebuilds it from what was parsed and checks the result.
void CheckRecord(std::string_view text) {
    std::array<std::array<int32_t, kRows>, kColumns> colours{};
    uint32_t score = 0;
    if (!ParseRecord(text, colours, score)) return;
    Require(text.size() == kRecordLength);

    Board board{};
    for (int32_t c = 0; c < kColumns; ++c)
        for (int32_t r = 0; r < kRows; ++r) {
            Require(colours[c][r] >= 0 && colours[c][r] <= kBallColours);
            board[c][r].colour = colours[c][r];
        }
    const std::string rebuilt = BuildRecord(board, static_cast<int32_t>(score));
    Require(rebuilt.compare(0, 42, text.substr(0, 42)) == 0);

    // A score of more than four digits is outside the format and cannot come back.
    if (score < kFourDigits) {
        std::array<std::array<int32_t, kRows>, kColumns> again{};
        uint32_t againScore = 0;
        Require(rebuilt.size() == kRecordLength);
        Require(ParseRecord(rebuilt, again, againScore));
        Require(again == colours);
        Require(againScore == score);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (size >= 4) {
        const uint32_t value = DecodeBase224(text);
        const std::string encoded = EncodeBase224(value);
        Require(encoded.size() == (value < kFourDigits ? 4u : 5u));
        Require(value >= kFourDigits || DecodeBase224(encoded) == value);
    }
    CheckRecord(text);

    // Random bytes are rarely a record: also fold the input onto cell characters (mostly
    // valid, one in eight out of range) and keep its last four bytes as the score.
    if (size >= kRecordLength) {
        std::string folded(text.substr(0, kRecordLength));
        for (size_t k = 0; k < 42; ++k) {
            const uint8_t b = data[k];
            folded[k] = static_cast<char>((b & 7) == 7 ? b : 32 + (b >> 3) % 6);
        }
        CheckRecord(folded);
    }
    return 0;
}
