// game_fixture.h: helpers for driving the board game through the real main screen.
#pragma once

#include "platform/config_file.h"
#include "platform/rand.h"
#include "screen_fixture.h"

#include <optional>
#include <string>
#include <string_view>

namespace testing_support {

// A board as text: six rows of seven, top row first, separated by spaces; '.' is an empty
// cell, '1'..'5' a ball.
inline Board BoardFromText(std::string_view text) {
    Board board{};
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kColumns; ++c) {
            const char ch = text[static_cast<size_t>(r * (kColumns + 1) + c)];
            board[c][r].colour = ch == '.' ? 0 : ch - '0';
        }
    return board;
}

inline std::string TextFromBoard(const Board& board) {
    std::string text;
    for (int r = 0; r < kRows; ++r) {
        if (r > 0) text += ' ';
        for (int c = 0; c < kColumns; ++c)
            text += board[c][r].colour == 0 ? '.' : static_cast<char>('0' + board[c][r].colour);
    }
    return text;
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
        screen->RunMenuCommand(MenuCommand::kNew);
    }

    void SetBoard(std::string_view text) { game->m_cells = BoardFromText(text); }
    std::string BoardText() const { return TextFromBoard(game->m_cells); }

    int BallCount() const { return kColumns * kRows - CountEmpty(game->m_cells); }

    // The "Game" value as the settings file holds it; nothing when absent.
    std::optional<std::string> SavedGame() const {
        return platform::ConfigFile(SettingsPath()).Read("Game");
    }

    // Puts a "Game" value into the settings file, as a save would.
    void WriteSavedGame(const std::string& value) const {
        platform::ConfigFile(SettingsPath()).Write("Game", value);
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
