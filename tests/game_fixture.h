// game_fixture.h: helpers for driving the board game through the real main screen.
#pragma once

#include "game/game_host.h"
#include "platform/config_file.h"
#include "platform/rand.h"
#include "screen_fixture.h"

#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

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

// The first `balls` cells, row by row, of a pattern in which no two neighbours in any
// direction share a colour, so that no single new ball can complete a run.
inline std::string Pattern(int balls) {
    Board board{};
    for (int k = 0; k < balls; ++k)
        board[k % kColumns][k / kColumns].colour =
            1 + (k % kColumns + 2 * (k / kColumns)) % kBallColours;
    return TextFromBoard(board);
}

// A null front end: the game's host without a window. It records each call as a line
// ("FindSound W_NEW", "ShowTransition 0.5", ...), hands out real surfaces, and keeps what the
// last transition brought in, so that the rules and the board drawing run without CInterface.
class RecordingHost : public CGameHost {
public:
    SoundHandle FindSound(const std::string& name) override {
        calls.push_back("FindSound " + name);
        return platform::FindResource("WAVE", name);
    }
    void PlaySoundEffect(SoundHandle sound) override {
        calls.push_back("PlaySoundEffect " + RecordingSoundPlayer::NameOf(sound.data));
    }
    platform::SurfacePtr CreateSurface(const platform::Rect& r) override {
        calls.push_back("CreateSurface " + std::to_string(r.Width()) + "x" +
                        std::to_string(r.Height()));
        return std::make_unique<platform::Surface>(r.Width(), r.Height());
    }
    void FreeSurface(platform::SurfacePtr& surface) override {
        calls.push_back("FreeSurface");
        surface.reset();
    }
    platform::Rect ToScreenRect(const platform::Rect& r) const override {
        return r.Offset(origin.x, origin.y);
    }
    void BlendSurface(const platform::Rect& dst, platform::Surface* source, platform::Point at,
                      uint8_t alpha, platform::Surface* target) override {
        calls.push_back("BlendSurface " + std::to_string(alpha));
        target->Blend(dst, *source, at, alpha);
    }
    void ShowTransition(platform::Surface* source, int, platform::Rect rect, platform::Point at,
                        float seconds) override {
        std::ostringstream line;
        line << "ShowTransition " << seconds;
        calls.push_back(line.str());
        shownAt = rect;
        shown = platform::Surface(rect.Width(), rect.Height());
        shown.Copy(shown.Bounds(), *source, at);
    }
    void ShowBanner(const std::string& pictureName) override {
        calls.push_back("ShowBanner " + pictureName);
    }
    void DrawScore(int32_t value) override {
        calls.push_back("DrawScore " + std::to_string(value));
    }
    void GameEnded(int32_t score, uint32_t level) override {
        calls.push_back("GameEnded " + std::to_string(score) + " " + std::to_string(level));
    }

    platform::Point origin{112, 84}; // the play area's, on a 1024 x 768 display
    std::vector<std::string> calls;
    platform::Surface shown;
    platform::Rect shownAt;
};

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

    // With Pattern(41) on the board (no run anywhere, the last cell empty), the move that fills
    // it: the ball beside the gap goes into it, and the one new ball into the cell it left.
    void PlayTheLastMove() {
        ClickCell(5, 5);
        ClickCell(6, 5);
    }

    // The "Game" value as the settings file holds it; nothing when absent.
    std::optional<std::string> SavedGame() const {
        return platform::ConfigFile(SettingsPath()).Read("Game");
    }

    // Puts a "Game" value into the settings file, as a save would.
    void WriteSavedGame(const std::string& value) const {
        ASSERT_TRUE(platform::ConfigFile(SettingsPath()).Write("Game", value));
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
