// save_and_load_test.cpp: saving and loading the one stored game through the menu commands.
#include "game/record.h"
#include "game_fixture.h"
#include "screen_probe.h"

#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <iterator>

using platform::Point;
using testing_support::GameTest;

namespace {

using Sounds = std::vector<std::string>;

const std::string kSavedBoard = "1...... .2..... ..3.... ...4... ....5.. ......1";
// kSavedBoard with the score 1000 (digits 136, 36).
const std::string kSavedRecord = "!      "
                                 " \"     "
                                 "  #    "
                                 "   $   "
                                 "    %  "
                                 "      !"
                                 "\x88$  ";

} // namespace

using SaveAndLoad = GameTest;

TEST_F(SaveAndLoad, SaveIsRefusedWhileNoGameRuns) {
    StartQuiet();
    screen->RunMenuCommand(MenuCommand::kSave);
    EXPECT_TRUE(sounds.played.empty());
    EXPECT_FALSE(SavedGame().has_value());
    EXPECT_EQ(screen->m_bannerAlpha, 255);
    EXPECT_TRUE(game->m_gameOver);
}

TEST_F(SaveAndLoad, SaveWritesTheRecordAndChangesNothing) {
    StartQuiet();
    NewGameSeeded(1);
    SetBoard(kSavedBoard);
    game->m_score = 1000;
    ClickCell(2, 2);
    sounds.played.clear();
    screen->RunMenuCommand(MenuCommand::kSave);
    ASSERT_EQ(kSavedRecord.size(), 46u);
    EXPECT_EQ(SavedGame(), kSavedRecord);
    // In the file: quoted, the quote and the byte above 0x7F escaped.
    std::ifstream in(SettingsPath(), std::ios::binary);
    const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(file.find("Game=\"!       \\\"       #       $       %        !\\x88$  \"\n"),
              std::string::npos)
        << file;
    EXPECT_EQ(sounds.played, Sounds{"W_SAVE"});
    EXPECT_EQ(screen->m_bannerAlpha, 5);
    EXPECT_EQ(BoardText(), kSavedBoard);
    EXPECT_EQ(game->m_score, 1000);
    EXPECT_EQ(game->m_selected, (Point{2, 2}));

    // Small scores: four spaces for 0, "I" and three spaces for 41.
    game->m_score = 0;
    screen->RunMenuCommand(MenuCommand::kSave);
    EXPECT_EQ(SavedGame(), kSavedRecord.substr(0, 42) + "    ");
    game->m_score = 41;
    screen->RunMenuCommand(MenuCommand::kSave);
    EXPECT_EQ(SavedGame(), kSavedRecord.substr(0, 42) + "I   ");
}

TEST_F(SaveAndLoad, LoadWithoutAGameStartsOneAndIsPlayable) {
    WriteSavedGame(kSavedRecord);
    StartQuiet();
    screen->RunMenuCommand(MenuCommand::kLoad);
    EXPECT_EQ(sounds.played, (Sounds{"W_NEW", "W_LOAD"}));
    EXPECT_FALSE(game->m_gameOver);
    EXPECT_EQ(BoardText(), kSavedBoard);
    EXPECT_EQ(game->m_score, 1000);
    EXPECT_EQ(game->m_level, 0u);
    EXPECT_FALSE(game->m_pictureUnlocked);
    EXPECT_EQ(game->m_selected.x, -1);

    sounds.played.clear();
    ClickCell(3, 3);
    ClickCell(3, 0);
    EXPECT_EQ(sounds.played, Sounds{"W_MOVE"});
    EXPECT_EQ(game->m_cells[3][0].colour, 4);
    EXPECT_EQ(game->m_selected.x, -1);
}

// The selection stays where the loaded board has a ball (of any colour); on a cell it leaves
// empty nothing is selected, so the next click on an empty cell moves nothing.
TEST_F(SaveAndLoad, LoadDuringAGameKeepsLevelPictureFlagAndASelectionOnABall) {
    const struct {
        Point selected;
        Point kept;
    } cases[] = {{{2, 2}, {2, 2}}, {{1, 0}, {-1, 0}}};
    StartQuiet();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.selected.x);
        NewGameSeeded(2);
        SetBoard("55..... ....... ..2.... ....... ....... .......");
        ClickCell(c.selected.x, c.selected.y);
        game->m_level = 3;
        game->m_pictureUnlocked = true;
        WriteSavedGame(kSavedRecord);
        sounds.played.clear();
        screen->RunMenuCommand(MenuCommand::kLoad);
        EXPECT_EQ(sounds.played, Sounds{"W_LOAD"});
        EXPECT_EQ(BoardText(), kSavedBoard);
        EXPECT_EQ(game->m_score, 1000);
        EXPECT_EQ(game->m_selected, c.kept);
        EXPECT_EQ(game->m_level, 3u);
        EXPECT_TRUE(game->m_pictureUnlocked);
        EXPECT_FALSE(game->m_gameOver);
    }
    ClickCell(4, 0); // empty and reachable: with nothing selected, nothing happens
    EXPECT_EQ(sounds.played, Sounds{"W_LOAD"});
    EXPECT_EQ(BoardText(), kSavedBoard);
}

TEST_F(SaveAndLoad, BadRecordsChangeNothingAndPlayNothing) {
    std::vector<std::pair<std::string, std::string>> bad = {
        {"45 characters", kSavedRecord.substr(0, 45)},
        {"47 characters", kSavedRecord + " "},
        {"empty", ""},
        {"colour 6", "&" + kSavedRecord.substr(1)},
        {"code 0x80", kSavedRecord.substr(0, 41) + "\x80" + kSavedRecord.substr(42)},
        {"code 0xFF", "\xFF" + kSavedRecord.substr(1)},
        {"code 0x1F", kSavedRecord.substr(0, 10) + "\x1F" + kSavedRecord.substr(11)},
        {"a zero byte shortens it", kSavedRecord.substr(0, 20) + '\0' + kSavedRecord.substr(21)},
    };
    StartQuiet();
    // With no game in progress, and then during a game.
    for (bool playing : {false, true}) {
        if (playing) {
            NewGameSeeded(3);
            ClickCell(6, 5);
        }
        const std::string before = BoardText();
        const int32_t score = game->m_score;
        const Point selected = game->m_selected;
        for (const auto& [what, text] : bad) {
            SCOPED_TRACE(what + (playing ? " during a game" : " without a game"));
            WriteSavedGame(text);
            sounds.played.clear();
            platform::SeedRand(17);
            screen->RunMenuCommand(MenuCommand::kLoad);
            EXPECT_TRUE(sounds.played.empty());
            EXPECT_EQ(game->m_gameOver, !playing);
            EXPECT_EQ(BoardText(), before);
            EXPECT_EQ(game->m_score, score);
            EXPECT_EQ(game->m_selected, selected);
            EXPECT_EQ(DrawsSinceSeed(17), 0);
        }
    }
    // No value at all.
    std::filesystem::remove(SettingsPath());
    sounds.played.clear();
    const std::string before = BoardText();
    screen->RunMenuCommand(MenuCommand::kLoad);
    EXPECT_TRUE(sounds.played.empty());
    EXPECT_EQ(BoardText(), before);
}

TEST_F(SaveAndLoad, SaveThenLoadRestoresCellsAndScoreExactly) {
    StartQuiet();
    const std::string rows = "12345.. 2.3.4.5 ....... 5432112 ..1.... 3333...";
    for (int32_t score : {0, 41, 224, 50175, 123456, 2000000000}) {
        SCOPED_TRACE(score);
        NewGameSeeded(static_cast<uint32_t>(score));
        SetBoard(rows);
        game->m_score = score;
        screen->RunMenuCommand(MenuCommand::kSave);
        NewGameSeeded(9); // a different board
        ASSERT_NE(BoardText(), rows);
        screen->RunMenuCommand(MenuCommand::kLoad);
        EXPECT_EQ(BoardText(), rows);
        EXPECT_EQ(game->m_score, score);
    }
}

TEST_F(SaveAndLoad, ScoresBeyondTheGamesRangeNeitherLoadNorOverflow) {
    const std::string cells =
        BuildRecord(
            testing_support::BoardFromText("...1... ....... ....... ....... ....2.. 111...."), 0)
            .substr(0, 42);
    StartQuiet();
    NewGameSeeded(1);
    const std::string before = BoardText();
    // Above the largest score: refused like any other bad record.
    for (uint32_t score : {2147483648u, 2517630975u}) {
        WriteSavedGame(cells + EncodeBase224(score));
        sounds.played.clear();
        screen->RunMenuCommand(MenuCommand::kLoad);
        EXPECT_TRUE(sounds.played.empty());
        EXPECT_EQ(BoardText(), before);
        EXPECT_EQ(game->m_score, 0);
    }
    // Just below it: loads, and a removal holds the score at the top rather than wrapping.
    WriteSavedGame(cells + EncodeBase224(2147483645u));
    screen->RunMenuCommand(MenuCommand::kLoad);
    ASSERT_EQ(game->m_score, 2147483645);
    ClickCell(3, 0);
    ClickCell(3, 5);
    EXPECT_EQ(game->m_score, 2147483647);
    screen->RunMenuCommand(MenuCommand::kSave);
    const auto saved = SavedGame();
    ASSERT_TRUE(saved.has_value());
    ASSERT_EQ(saved->size(), 46u);
    EXPECT_EQ(DecodeBase224(saved->substr(42)), 2147483647u);
}

// Stores a save cannot reach: each must be told with the system's words, and nothing else may
// look like a save: no sound, no banner, no draw from the generator, the old game kept where
// the old file could be. The best games' file spoiled the same way loses a finished game's
// entry just as openly: told, no banner follows the loss, the old table kept.
TEST_F(SaveAndLoad, ASaveThatCannotBeWrittenIsToldAndKeepsTheOldGame) {
    namespace fs = std::filesystem;
    struct rlimit unlimited {};
    ::getrlimit(RLIMIT_FSIZE, &unlimited);
    const struct {
        const char* name;
        void (*spoil)(const fs::path& file);
        const char* reason;
        bool oldGameKept;
    } stores[] = {
        // A file-size limit stands in for a full disk: the temporary file cannot be written (and
        // the game, not this test, keeps SIGXFSZ from ending the process).
        {"no room for the new file",
         [](const fs::path&) {
             struct rlimit tiny {};
             ::getrlimit(RLIMIT_FSIZE, &tiny);
             tiny.rlim_cur = 8;
             ::setrlimit(RLIMIT_FSIZE, &tiny);
         },
         "File too large", true},
        {"a folder in place of the file",
         [](const fs::path& f) {
             fs::remove(f);
             fs::create_directories(f);
         },
         "Is a directory", false},
        {"a file in place of the folder",
         [](const fs::path& f) {
             fs::remove_all(f.parent_path());
             std::ofstream(f.parent_path()) << "x";
         },
         "Not a directory", false},
        {"a link to a device",
         [](const fs::path& f) {
             fs::remove(f);
             fs::create_symlink("/dev/full", f);
         },
         "Invalid argument", false},
    };
    StartQuiet();
    NewGameSeeded(1);
    const fs::path file = SettingsPath();
    for (const auto& store : stores) {
        SCOPED_TRACE(store.name);
        const fs::path best = BestGamesPath();
        fs::create_directories(best.parent_path());
        std::ofstream(best) << "50 2026-01-01 0\n";
        SetBoard(testing_support::Pattern(41));
        game->m_score = 100;
        store.spoil(best);
        messages.clear();
        PlayTheLastMove();
        ::setrlimit(RLIMIT_FSIZE, &unlimited);
        ASSERT_TRUE(game->m_gameOver);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0], std::string("The best games could not be saved: ") + store.reason);
        EXPECT_TRUE(screen->m_followBanner.empty());
        if (store.oldGameKept) {
            EXPECT_EQ(testing_support::ReadFile(best), "50 2026-01-01 0\n");
            EXPECT_EQ(std::distance(fs::directory_iterator(best.parent_path()), {}), 1);
        }
        fs::remove_all(best.parent_path());
        NewGameSeeded(1);
        for (int i = 0; i < 5; ++i) // the loss banner's fade
            screen->OnTimer(layout::kTimerId);

        WriteSavedGame(kSavedRecord);
        SetBoard("1111... ....... ....... ....... ....... .......");
        store.spoil(file);
        messages.clear();
        sounds.played.clear();
        platform::SeedRand(77);
        screen->RunMenuCommand(MenuCommand::kSave);
        ::setrlimit(RLIMIT_FSIZE, &unlimited);
        EXPECT_EQ(DrawsSinceSeed(77), 0);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0], std::string("The game could not be saved: ") + store.reason);
        EXPECT_TRUE(sounds.played.empty());
        EXPECT_EQ(screen->m_bannerAlpha, 255);
        if (store.oldGameKept) {
            EXPECT_EQ(SavedGame(), kSavedRecord);
            EXPECT_EQ(std::distance(fs::directory_iterator(file.parent_path()), {}), 1)
                << "a temporary file was left behind";
        }
        fs::remove_all(file.parent_path());
        fs::create_directories(file.parent_path());
    }
    // Mended, the next save is an ordinary one.
    screen->RunMenuCommand(MenuCommand::kSave);
    EXPECT_EQ(sounds.played, Sounds{"W_SAVE"});
    EXPECT_EQ(SavedGame().value_or("").substr(0, 4), "!!!!");
}
