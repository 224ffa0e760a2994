// game_model_test.cpp: whole seeded games against an independent model of the rules and of
// every number the game draws from the generator, compared through the saved record.
#include "game_fixture.h"

#include <algorithm>
#include <array>
#include <sstream>

using testing_support::GameTest;

namespace {

// The runtime library's generator, written out again.
class Generator {
public:
    explicit Generator(uint32_t seed) : m_state(seed) {}
    int Next() {
        m_state = m_state * 214013u + 2531011u;
        return static_cast<int>((m_state >> 16) & 0x7FFF);
    }

private:
    uint32_t m_state;
};

using Cells = std::array<std::array<int, kRows>, kColumns>; // [column][row], 0 empty

// Cells that belong to a straight line of 4 or more balls of one colour, in any of the four
// directions; each cell counted once.
int RunCells(const Cells& cell, bool (*remove)[kRows]) {
    const int directions[4][2] = {{1, 0}, {0, 1}, {1, 1}, {1, -1}};
    auto on = [](int c, int r) { return c >= 0 && c < kColumns && r >= 0 && r < kRows; };
    int n = 0;
    for (const auto& d : directions)
        for (int c = 0; c < kColumns; ++c)
            for (int r = 0; r < kRows; ++r) {
                const int k = cell[c][r];
                // Only from the first cell of a stretch of one colour.
                if (k == 0 || (on(c - d[0], r - d[1]) && cell[c - d[0]][r - d[1]] == k)) continue;
                int length = 0;
                while (on(c + d[0] * length, r + d[1] * length) &&
                       cell[c + d[0] * length][r + d[1] * length] == k)
                    ++length;
                if (length < 4) continue;
                for (int i = 0; i < length; ++i) {
                    bool& flag = remove[c + d[0] * i][r + d[1] * i];
                    n += !flag;
                    flag = true;
                }
            }
    return n;
}

// The game as its rules describe it, drawing from its own copy of the generator wherever
// the program draws: two or three numbers per board transition, column/row/retry/colour per
// new ball, one level above the level table.
class Model {
public:
    explicit Model(uint32_t seed) : m_rand(seed) {}

    Cells cell{};
    int32_t score = 0;
    uint32_t level = 0;
    bool unlocked = true;
    bool over = true;
    int selColumn = -1, selRow = 0;
    std::vector<std::string> sounds;

    void NewGame() {
        over = false;
        score = 0;
        level = 0;
        unlocked = false;
        selColumn = -1;
        selRow = 0;
        Transition(); // the empty board
        cell = {};
        AddBalls();
        sounds.push_back("W_NEW");
        Transition();
    }

    void Click(int c, int r) {
        if (over) return;
        if (selColumn < 0) {
            if (cell[c][r] != 0) Select(c, r);
            return;
        }
        sounds.push_back("W_MOVE");
        if (cell[c][r] != 0) {
            Select(c, r);
            return;
        }
        if (!Reachable(selColumn, selRow, c, r)) return;
        cell[c][r] = cell[selColumn][selRow];
        cell[selColumn][selRow] = 0;
        Transition();
        if (RemoveRuns()) {
            Transition();
        } else {
            AddBalls();
            RemoveRuns();
        }
        selColumn = -1;
        Transition();
        if (Empty() == 0) over = true;
    }

    // What a load does with a valid record.
    void Load(const Cells& cells, int32_t savedScore) {
        if (over) NewGame();
        cell = cells;
        score = savedScore;
        sounds.push_back("W_LOAD");
        Transition();
    }

    std::string Record() const {
        std::string text;
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kColumns; ++c)
                text += static_cast<char>(32 + cell[c][r]);
        uint32_t v = static_cast<uint32_t>(score);
        for (int digit = 0; digit < 4; ++digit) {
            text += static_cast<char>(32 + v % 224);
            v /= 224;
        }
        return text;
    }

    int Empty() const {
        int n = 0;
        for (const auto& column : cell)
            for (int c : column)
                n += c == 0;
        return n;
    }

    // The empty cells reachable from (fromC, fromR) by steps left, right, up and down.
    void Region(int fromC, int fromR, bool (*seen)[kRows]) const {
        std::vector<std::pair<int, int>> todo{{fromC, fromR}};
        seen[fromC][fromR] = true;
        while (!todo.empty()) {
            const auto [c, r] = todo.back();
            todo.pop_back();
            const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
            for (const auto& s : steps) {
                const int nc = c + s[0], nr = r + s[1];
                if (nc < 0 || nc >= kColumns || nr < 0 || nr >= kRows || seen[nc][nr] ||
                    cell[nc][nr] != 0)
                    continue;
                seen[nc][nr] = true;
                todo.push_back({nc, nr});
            }
        }
    }

    bool Reachable(int fromC, int fromR, int toC, int toR) const {
        bool seen[kColumns][kRows] = {};
        Region(fromC, fromR, seen);
        return seen[toC][toR];
    }

    Generator m_rand;

private:
    void Select(int c, int r) {
        selColumn = c;
        selRow = r;
        Transition();
    }

    void Transition() {
        if (m_rand.Next() % 2 != 0) m_rand.Next(); // the effect
        m_rand.Next();                             // the wipe's direction, drawn always
    }

    void AddBalls() {
        const int empty = Empty();
        const int threshold = 30 - static_cast<int>(level);
        const int count = empty > threshold ? 4 : (empty > 3 ? 3 : empty);
        for (int i = 0; i < count; ++i) {
            int c, r;
            do {
                c = m_rand.Next() % kColumns;
                r = m_rand.Next() % kRows;
            } while (cell[c][r] != 0);
            cell[c][r] = m_rand.Next() % kBallColours + 1;
        }
    }

    bool RemoveRuns() {
        bool remove[kColumns][kRows] = {};
        const int n = RunCells(cell, remove);
        for (int c = 0; c < kColumns; ++c)
            for (int r = 0; r < kRows; ++r)
                if (remove[c][r]) cell[c][r] = 0;
        score += n;
        LevelRule();
        return n > 0;
    }

    void LevelRule() {
        const uint32_t old = level;
        if (unlocked)
            level = (static_cast<uint32_t>(score) - 40u) / 40u;
        else if (score > 40)
            level = 1;
        if (level == old) return;
        if (level > 0) --level;
        if (!unlocked) {
            unlocked = true;
            level = 0;
        }
        if (level >= 16) level = static_cast<uint32_t>(m_rand.Next() % 16);
    }
};

// The longest line of one colour through (c, r).
int LongestLine(const Cells& cell, int c, int r) {
    const int directions[4][2] = {{1, 0}, {0, 1}, {1, 1}, {1, -1}};
    auto same = [&](int x, int y) {
        return x >= 0 && x < kColumns && y >= 0 && y < kRows && cell[x][y] == cell[c][r];
    };
    int longest = 0;
    for (const auto& d : directions) {
        int n = 1;
        for (int i = 1; same(c + d[0] * i, r + d[1] * i); ++i)
            ++n;
        for (int i = 1; same(c - d[0] * i, r - d[1] * i); ++i)
            ++n;
        longest = std::max(longest, n);
    }
    return longest;
}

// Chooses the player's clicks from the model's board with a generator of its own: mostly the
// move that makes the longest line, sometimes a random click of any kind.
class Player {
public:
    explicit Player(uint32_t seed) : m_rand(seed ^ 0x5EEDu) {}

    std::vector<std::pair<int, int>> NextClicks(const Model& model) {
        if (m_rand.Next() % 4 == 0) return {{m_rand.Next() % kColumns, m_rand.Next() % kRows}};
        int best = -1;
        std::vector<std::pair<int, int>> choice;
        for (int c = 0; c < kColumns; ++c)
            for (int r = 0; r < kRows; ++r) {
                if (model.cell[c][r] == 0) continue;
                bool seen[kColumns][kRows] = {};
                model.Region(c, r, seen);
                for (int tc = 0; tc < kColumns; ++tc)
                    for (int tr = 0; tr < kRows; ++tr) {
                        if (!seen[tc][tr] || model.cell[tc][tr] != 0) continue;
                        Cells after = model.cell;
                        after[tc][tr] = after[c][r];
                        after[c][r] = 0;
                        // The longest line the ball joins (4 and more remove it); ties at
                        // random.
                        const int value = LongestLine(after, tc, tr) * 32 + m_rand.Next() % 32;
                        if (value > best) {
                            best = value;
                            choice = {{c, r}, {tc, tr}};
                        }
                    }
            }
        if (choice.empty()) return {{0, 0}};
        // Already holding the ball: the first click would reselect it, which is fine too.
        return choice;
    }

private:
    Generator m_rand;
};

std::string Describe(const Model& m) {
    std::ostringstream out;
    for (int r = 0; r < kRows; ++r) {
        out << (r ? " " : "");
        for (int c = 0; c < kColumns; ++c)
            out << (m.cell[c][r] ? char('0' + m.cell[c][r]) : '.');
    }
    out << "\nscore " << m.score << " level " << m.level << " unlocked " << m.unlocked << " over "
        << m.over;
    return out.str();
}

class GameModelTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        // One frame per transition: the draws do not depend on the number of frames.
        clock.SetStep(1000);
        StartQuiet();
    }

    // Compares the game's state with the model's, then one number from each generator: both
    // must have drawn exactly as often. Drawing keeps them in step.
    ::testing::AssertionResult Matches(Model& model) const {
        bool same = game->m_score == model.score && game->m_level == model.level &&
                    game->m_pictureUnlocked == model.unlocked && game->m_gameOver == model.over &&
                    game->m_selected.x == model.selColumn && sounds.played == model.sounds;
        if (model.selColumn >= 0) same = same && game->m_selected.y == model.selRow;
        for (int c = 0; c < kColumns; ++c)
            for (int r = 0; r < kRows; ++r)
                same = same && game->m_cells[c][r].colour == model.cell[c][r];
        const int programNext = platform::Rand(), modelNext = model.m_rand.Next();
        if (same && programNext == modelNext) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << "model:\n"
               << Describe(model) << "\nprogram:\n"
               << testing_support::TextFromBoard(game->m_cells) << "\nscore " << game->m_score
               << " level " << game->m_level << " unlocked " << game->m_pictureUnlocked << " over "
               << game->m_gameOver
               << (programNext == modelNext ? "" : "\nthe generators drew differently");
    }

    // A new game from `seed`, then clicks chosen by the player, saving now and then and
    // comparing the record; after a loss, the last record is loaded and play goes on.
    void Play(uint32_t seed, int32_t startScore, int steps) {
        SCOPED_TRACE("seed " + std::to_string(seed) + " from score " + std::to_string(startScore));
        Model model(seed);
        Player player(seed);
        sounds.played.clear();
        platform::SeedRand(seed);
        screen->RunMenuCommand(MenuCommand::kNew);
        model.NewGame();
        ASSERT_TRUE(Matches(model)) << "after the new game";
        game->m_score = model.score = startScore;

        Cells savedCells{};
        int32_t savedScore = 0;
        bool reloaded = false;
        for (int step = 0; step < steps; ++step) {
            if (model.over) {
                if (reloaded) break;
                // A lost game loads the last saved one: a new game first, then the record.
                reloaded = true;
                screen->RunMenuCommand(MenuCommand::kLoad);
                model.Load(savedCells, savedScore);
                ASSERT_TRUE(Matches(model)) << "after loading at step " << step;
            }
            if (step % 12 == 0) {
                screen->RunMenuCommand(MenuCommand::kSave);
                model.sounds.push_back("W_SAVE");
                ASSERT_EQ(SavedGame(), model.Record()) << "step " << step;
                savedCells = model.cell;
                savedScore = model.score;
            }
            for (const auto& [c, r] : player.NextClicks(model)) {
                ClickCell(c, r);
                model.Click(c, r);
            }
            ASSERT_TRUE(Matches(model)) << "step " << step;
        }
        // The record of the final position, or the refusal after a loss.
        screen->RunMenuCommand(MenuCommand::kSave);
        if (!model.over) {
            model.sounds.push_back("W_SAVE");
            EXPECT_EQ(SavedGame(), model.Record());
        }
        EXPECT_TRUE(Matches(model)) << "at the end";
    }
};

struct GameCase {
    uint32_t seed;
    int32_t startScore;
    int steps;
};

void PrintTo(const GameCase& c, std::ostream* out) {
    *out << "seed " << c.seed << ", score " << c.startScore << ", " << c.steps << " steps";
}

class WholeGame : public GameModelTest, public ::testing::WithParamInterface<GameCase> {};

std::string CaseName(const ::testing::TestParamInfo<GameCase>& info) {
    return "seed" + std::to_string(info.param.seed) + "_from" +
           std::to_string(info.param.startScore);
}

} // namespace

TEST_P(WholeGame, MatchesTheModelMoveForMove) {
    Play(GetParam().seed, GetParam().startScore, GetParam().steps);
}

INSTANTIATE_TEST_SUITE_P(FreshGames, WholeGame,
                         ::testing::Values(GameCase{1, 0, 80}, GameCase{2, 0, 80},
                                           GameCase{3, 0, 80}, GameCase{42, 0, 80},
                                           GameCase{1000, 0, 80}, GameCase{65535, 0, 80},
                                           GameCase{123456789, 0, 80}, GameCase{0xDEADBEEF, 0, 80}),
                         CaseName);

// Past 40 the picture unlocks; from 120 the level follows the score; from 720 every removal
// check draws a level.
INSTANTIATE_TEST_SUITE_P(LevelThresholds, WholeGame,
                         ::testing::Values(GameCase{7, 36, 60}, GameCase{8, 36, 60},
                                           GameCase{9, 112, 60}, GameCase{10, 112, 60},
                                           GameCase{11, 672, 60}, GameCase{12, 672, 60},
                                           GameCase{13, 712, 60}, GameCase{14, 712, 60},
                                           GameCase{15, 5000, 60}, GameCase{16, 5000, 60}),
                         CaseName);
