// record_test.cpp: the saved-game record: base-224 score, cell characters and checking; the
// table of the best games and its lines.
#include "game/best_games.h"
#include "game/record.h"
#include "game_fixture.h"

#include <gtest/gtest.h>

#include <string>

using testing_support::BoardFromText;

namespace {

std::string Bytes(std::initializer_list<int> codes) {
    std::string s;
    for (int c : codes)
        s += static_cast<char>(c);
    return s;
}

using Colours = std::array<std::array<int32_t, kRows>, kColumns>;

} // namespace

TEST(RecordScore, EncodesLeastSignificantDigitFirst) {
    EXPECT_EQ(EncodeBase224(0), "    ");
    EXPECT_EQ(EncodeBase224(1), "!   ");
    EXPECT_EQ(EncodeBase224(41), "I   ");
    EXPECT_EQ(EncodeBase224(223), Bytes({255, 32, 32, 32}));
    EXPECT_EQ(EncodeBase224(224), " !  ");
    EXPECT_EQ(EncodeBase224(1000), Bytes({136, 36, 32, 32}));
    EXPECT_EQ(EncodeBase224(2517630975u), Bytes({255, 255, 255, 255})); // 224^4 - 1
}

TEST(RecordScore, DecodesWhatWasEncoded) {
    EXPECT_EQ(DecodeBase224("    "), 0u);
    EXPECT_EQ(DecodeBase224("I   "), 41u);
    EXPECT_EQ(DecodeBase224(" !  "), 224u);
    EXPECT_EQ(DecodeBase224(Bytes({136, 36, 32, 32})), 1000u);
    // Only the first four characters count.
    EXPECT_EQ(DecodeBase224("I   tail"), 41u);
    // Codes below 32 wrap round modulo 256.
    EXPECT_EQ(DecodeBase224(Bytes({31, 32, 32, 32})), 255u);
    uint32_t v = 0;
    for (int i = 0; i < 2000; ++i) {
        SCOPED_TRACE(v);
        EXPECT_EQ(DecodeBase224(EncodeBase224(v)), v);
        v = v * 7 + 13 + static_cast<uint32_t>(i);
        v %= 2517630976u;
    }
}

TEST(RecordCells, BuildsRowByRowThenTheScore) {
    const Board board = BoardFromText("1...... .2..... ..3.... ...4... ....5.. ......1");
    const std::string record = BuildRecord(board, 224);
    EXPECT_EQ(record, "!      "
                      " \"     "
                      "  #    "
                      "   $   "
                      "    %  "
                      "      !"
                      " !  ");
    Colours colours{};
    uint32_t score = 0;
    ASSERT_TRUE(ParseRecord(record, colours, score));
    EXPECT_EQ(score, 224u);
    for (int c = 0; c < kColumns; ++c)
        for (int r = 0; r < kRows; ++r)
            EXPECT_EQ(colours[c][r], board[c][r].colour);
}

TEST(RecordCells, RejectsWrongLengthsAndCellsOutsideTheColours) {
    const std::string good = std::string(kColumns * kRows, ' ') + "I   ";
    Colours colours{};
    colours[0][0] = 9;
    uint32_t score = 77;
    auto rejected = [&](const std::string& text) {
        const bool ok = ParseRecord(text, colours, score);
        // A rejected record leaves the outputs alone.
        return !ok && colours[0][0] == 9 && score == 77;
    };
    EXPECT_TRUE(rejected(""));
    EXPECT_TRUE(rejected(good.substr(0, 45)));
    EXPECT_TRUE(rejected(good + " "));
    // Colours 6 ('&') and 7, codes below the space, DEL and bytes that are negative as chars.
    for (int bad : {0x26, 0x27, 0x1F, 0x01, 0x7F, 0x80, 0xA5, 0xFF}) {
        for (size_t at : {size_t{0}, size_t{20}, size_t{41}}) {
            SCOPED_TRACE("code " + std::to_string(bad) + " at " + std::to_string(at));
            std::string text = good;
            text[at] = static_cast<char>(bad);
            EXPECT_TRUE(rejected(text));
        }
    }
    // The score digits may be any byte.
    std::string text = good;
    text[42] = static_cast<char>(0xFF);
    text[45] = static_cast<char>(0x80);
    ASSERT_TRUE(ParseRecord(text, colours, score));
    EXPECT_EQ(score, 223u + 96u * 224u * 224u * 224u);
    EXPECT_EQ(colours[0][0], 0);
}

TEST(RecordCells, RejectsScoresBeyondTheGamesRange) {
    const std::string cells(42, ' ');
    Colours colours{};
    uint32_t score = 0;
    EXPECT_TRUE(ParseRecord(cells + EncodeBase224(2147483647u), colours, score));
    EXPECT_EQ(score, 2147483647u);
    EXPECT_FALSE(ParseRecord(cells + EncodeBase224(2147483648u), colours, score));
    EXPECT_FALSE(ParseRecord(cells + Bytes({255, 255, 255, 255}), colours, score));
}

// The mark follows its entry as other games enter above it, and equal entries stay apart.
TEST(BestGames, TheMarkFollowsItsEntryUntilItLeaves) {
    BestTable table;
    const BestEntry same{50, "2026-12-08", 1};
    ASSERT_TRUE(table.Enter(same));
    const std::optional<BestMark> mine = table.Enter(same);
    ASSERT_TRUE(mine);
    EXPECT_EQ(mine->ofItsKind, 1);
    ASSERT_TRUE(table.Enter(same)); // a later equal game goes below mine
    ASSERT_TRUE(table.Enter({80, "2026-12-09", 3}));
    EXPECT_EQ(table.Find(*mine), 2u);
    for (int i = 0; i < 8; ++i)
        ASSERT_TRUE(table.Enter({60 + i, "2026-12-10", 0}));
    EXPECT_EQ(table.Find(*mine), std::nullopt); // pushed out
}

TEST(BestGames, OnlyWholeLinesParse) {
    BestEntry e;
    ASSERT_TRUE(BestTable::ParseLine("164 2026-12-08 2", e));
    EXPECT_EQ(e, (BestEntry{164, "2026-12-08", 2}));
    EXPECT_TRUE(BestTable::ParseLine("  2147483647\t9999-12-31  15\r", e));
    EXPECT_EQ(e.score, 2147483647);
    for (const char* bad :
         {"", "#164 2026-12-08 2", "164 2026-12-08", "164 2026-12-08 2 x", "0 2026-12-08 2",
          "-5 2026-12-08 2", "+5 2026-12-08 2", "2147483648 2026-12-08 2", "164 2026-13-08 2",
          "164 2026-00-08 2", "164 2026-12-32 2", "164 2026-12-00 2", "164 26-12-08 2",
          "164 2026/12/08 2", "164 2026-12-08 16", "164 2026-12-08 -1", "164 2026-1a-08 2",
          "16x 2026-12-08 2", "164 2026-12-08 002"})
        EXPECT_FALSE(BestTable::ParseLine(bad, e)) << bad;
    // Bad lines are left out, the good ones put in order and the best ten kept.
    EXPECT_EQ(BestTable::Parse("5 2026-01-01 0\nnoise\n9 2026-01-02 1\n5 2026-01-03 2").Text(),
              "9 2026-01-02 1\n5 2026-01-01 0\n5 2026-01-03 2\n");
    std::string eleven;
    for (int i = 0; i < 11; ++i)
        eleven += std::to_string(100 + i) + " 2026-01-01 0\n";
    EXPECT_EQ(BestTable::Parse(eleven).Entries().size(), 10u);
    EXPECT_EQ(BestTable::Parse(eleven).Entries().back().score, 101);
}
