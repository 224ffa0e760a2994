// game_fixture.h: helpers for driving the board game through the real main screen.
#pragma once

#include "platform/rand.h"
#include "screen_fixture.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

namespace testing_support {

// A board as six rows of seven characters, top row first: '.' empty, '1'..'5' a ball.
using Rows = std::array<std::string, 6>;

inline Board BoardFromRows(const Rows& rows) {
    Board board{};
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kColumns; ++c) {
            const char ch = rows[static_cast<size_t>(r)][static_cast<size_t>(c)];
            board[c][r].colour = ch == '.' ? 0 : ch - '0';
        }
    return board;
}

inline Rows RowsFromBoard(const Board& board) {
    Rows rows;
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kColumns; ++c) {
            const int k = board[c][r].colour;
            rows[static_cast<size_t>(r)] += k == 0 ? '.' : static_cast<char>('0' + k);
        }
    return rows;
}

// Values in the settings file are quoted, with \\, \" and \xHH escapes.
inline std::string EscapeValue(const std::string& value) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : value) {
        if (c == '\\' || c == '"') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7F) {
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

inline std::string UnescapeValue(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
        } else if (text[i + 1] == 'x') {
            out += static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            out += text[++i];
        }
    }
    return out;
}

class GameTest : public ScreenTest {
protected:
    // Start-up, with the start-up sounds forgotten.
    void StartQuiet() {
        Start();
        sounds.played.clear();
    }

    void NewGameSeeded(uint32_t randSeed) {
        platform::SeedRand(randSeed);
        screen->RunMenuCommand(1);
    }

    void SetBoard(const Rows& rows) { game->m_cells = BoardFromRows(rows); }
    Rows BoardRows() const { return RowsFromBoard(game->m_cells); }

    int BallCount() const { return kColumns * kRows - CountEmpty(game->m_cells); }

    // The "Game" value as the settings file holds it, unescaped; nothing when absent.
    std::optional<std::string> SavedGame() const {
        std::ifstream in(SettingsPath(), std::ios::binary);
        std::string line;
        std::optional<std::string> found;
        while (std::getline(in, line))
            if (line.rfind("Game=\"", 0) == 0 && line.size() >= 7 && line.back() == '"')
                found = UnescapeValue(line.substr(6, line.size() - 7));
        return found;
    }

    // Puts a "Game" value into the settings file, as a save would.
    void WriteSavedGame(const std::string& value) const {
        const std::filesystem::path path(SettingsPath());
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << "Game=\"" << EscapeValue(value) << "\"\n";
    }

    // How many numbers were drawn since SeedRand(s): where the next two fall in the sequence.
    // Moves the generator on; reseed afterwards if it matters.
    static int DrawsSinceSeed(uint32_t s) {
        const int a = platform::Rand(), b = platform::Rand();
        platform::SeedRand(s);
        int previous = platform::Rand();
        for (int n = 0; n < 200; ++n) {
            const int current = platform::Rand();
            if (previous == a && current == b) return n;
            previous = current;
        }
        return -1;
    }

    void ClickAt(int32_t x, int32_t y) {
        screen->OnLButtonDown(0, {x, y});
        screen->OnLButtonUp(0, {x, y});
    }
};

} // namespace testing_support
