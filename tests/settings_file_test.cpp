// settings_file_test.cpp: the settings file: escaping, names, kept lines, bad files, atomic
// rewrite that survives a kill, unwritable folders and where the file lives; the best games'
// file, written the same way, under a lock.
#include "game/best_games.h"
#include "platform/config_file.h"

#include "scoped_env.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>

using platform::ConfigFile;
using testing_support::ScopedEnv;
namespace fs = std::filesystem;

namespace {

std::string ReadText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteText(const fs::path& p, const std::string& text) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << text;
}

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() /
                ("ranqua-config-" + std::to_string(::getpid()) + "-" + std::to_string(s_counter++));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override {
        fs::permissions(m_dir, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(m_dir);
    }
    fs::path Dir() const { return m_dir; }
    std::string File() const { return (m_dir / "Ranqua.conf").string(); }
    size_t EntriesInDir() const { return EntriesIn(m_dir); }
    static size_t EntriesIn(const fs::path& dir) {
        return static_cast<size_t>(std::distance(fs::directory_iterator(dir), {}));
    }

private:
    fs::path m_dir;
    static inline int s_counter = 0;
};

} // namespace

TEST_F(SettingsFile, EveryByteValueAndSpacesAtEitherEndRoundTrip) {
    const ConfigFile file(File());
    for (const char* spaced : {"   x  y   ", " ", ""}) {
        ASSERT_TRUE(file.Write("Game", spaced));
        EXPECT_EQ(file.Read("Game"), spaced);
    }
    std::string all;
    for (int c = 0; c < 256; ++c)
        all += static_cast<char>(c);
    ASSERT_TRUE(file.Write("Game", all));
    EXPECT_EQ(file.Read("Game"), all);

    // Each byte alone as well, so no byte is only right by its neighbours' help.
    for (int c = 0; c < 256; ++c) {
        const std::string one(1, static_cast<char>(c));
        ASSERT_TRUE(file.Write("One", one));
        EXPECT_EQ(file.Read("One"), one) << "byte " << c;
    }
    // The file stays plain ASCII text without control characters.
    for (unsigned char c : ReadText(File()))
        EXPECT_TRUE(c == '\n' || (c >= 0x20 && c < 0x7F));
}

TEST_F(SettingsFile, NamesMatchWithoutRegardToCase) {
    const ConfigFile file(File());
    ASSERT_TRUE(file.Write("SoundEffect", "On"));
    EXPECT_EQ(file.Read("soundeffect"), "On");
    EXPECT_EQ(file.Read("SOUNDEFFECT"), "On");
    ASSERT_TRUE(file.Write("SOUNDeffect", "Off"));
    EXPECT_EQ(file.Read("SoundEffect"), "Off");
    // One line for the value, not two.
    EXPECT_EQ(ReadText(File()), "SOUNDeffect=\"Off\"\n");
    EXPECT_EQ(file.Read("Sound"), std::nullopt);
    EXPECT_EQ(file.Read("SoundEffects"), std::nullopt);
}

TEST_F(SettingsFile, OtherLinesAreKeptAsTheyAreOnRewrite) {
    const std::string before = "# a comment\n"
                               "\n"
                               "; another comment\n"
                               "Game=\"old\"\n"
                               "this is not a value\n"
                               "Broken=\"unterminated\n"
                               "Bad=\"\\q\"\n"
                               "  \n"
                               "PlayMusic=\"On\"\r\n"
                               "game=\"duplicate\"\n";
    WriteText(File(), before);
    const ConfigFile file(File());
    EXPECT_EQ(file.Read("Game"), "duplicate"); // the last one counts
    EXPECT_EQ(file.Read("PlayMusic"), "On");
    EXPECT_EQ(file.Read("Broken"), std::nullopt);
    EXPECT_EQ(file.Read("Bad"), std::nullopt);

    ASSERT_TRUE(file.Write("Game", "new"));
    EXPECT_EQ(ReadText(File()), "# a comment\n"
                                "\n"
                                "; another comment\n"
                                "Game=\"new\"\n"
                                "this is not a value\n"
                                "Broken=\"unterminated\n"
                                "Bad=\"\\q\"\n"
                                "  \n"
                                "PlayMusic=\"On\"\r\n");
    ASSERT_TRUE(file.Write("SoundEffect", "Off"));
    EXPECT_EQ(file.Read("Game"), "new");
    EXPECT_EQ(file.Read("PlayMusic"), "On");
    EXPECT_EQ(file.Read("SoundEffect"), "Off");
}

TEST_F(SettingsFile, ParseLineAcceptsOnlyWholeValueLines) {
    std::string n, v;
    EXPECT_TRUE(ConfigFile::ParseLine("Game=\"a\\\\b\\\"c\\x41\\x7f\"", n, v));
    EXPECT_EQ(n, "Game");
    EXPECT_EQ(v, "a\\b\"cA\x7F");
    EXPECT_TRUE(ConfigFile::ParseLine("Game=\"\"\r", n, v));
    EXPECT_EQ(v, "");
    for (const char* bad :
         {"", "#Game=\"x\"", ";Game=\"x\"", "=\"x\"", "Game", "Game=x", "Game=\"x", "Game=\"",
          "Game=\"a\"b\"", "Game=\"\\\"", "Game=\"\\x4\"", "Game=\"\\xG0\"", "Game=\"\\n\"",
          "Ga\"me=\"x\"", "Ga\tme=\"x\"", " =\"x\""}) {
        EXPECT_FALSE(ConfigFile::ParseLine(bad, n, v)) << bad;
    }
}

TEST_F(SettingsFile, NamesThatCannotBeStoredAreRefused) {
    const ConfigFile file(File());
    ASSERT_TRUE(file.Write("Game", "kept"));
    const std::string before = ReadText(File());
    for (const char* bad : {"", "a=b", "a\"b", "a\nb", "#Game", ";Game", " Game", "Game\t"})
        EXPECT_FALSE(file.Write(bad, "x")) << bad;
    EXPECT_EQ(ReadText(File()), before);
}

// An editor's byte-order mark and blanks around the = are read; a line that names a value but
// cannot be read (a NUL in it, say) is no value, and the next write replaces it instead of
// adding a second line for the name.
TEST_F(SettingsFile, AMarkAndBlanksAreReadAndAnUnreadableLineOfAValueIsReplaced) {
    using namespace std::string_literals;
    const struct {
        std::string file;
        std::optional<std::string> music;
        std::string after; // PlayMusic written "On"
    } cases[] = {
        {"\xEF\xBB\xBFPlayMusic=\"Off\"\n", "Off", "PlayMusic=\"On\"\n"},
        {"\xEF\xBB\xBF# mine\nPlayMusic = \"Off\"\n", "Off", "# mine\nPlayMusic=\"On\"\n"},
        {"  PlayMusic\t=\t\"Off\"  \r\nGame=\"x\"\n", "Off", "PlayMusic=\"On\"\nGame=\"x\"\n"},
        {"PlayMusic=\"Off\"\0\nGame=\"x\"\n"s, std::nullopt, "PlayMusic=\"On\"\nGame=\"x\"\n"},
        {"PlayMusic\0=\"Off\"\nplaymusic=\"Off\"\n"s, "Off", "PlayMusic=\"On\"\n"},
        {"PlayMusic=Off\n# PlayMusic=\"Off\"\n", std::nullopt,
         "PlayMusic=\"On\"\n# PlayMusic=\"Off\"\n"},
    };
    const ConfigFile file(File());
    for (const auto& c : cases) {
        WriteText(File(), c.file);
        EXPECT_EQ(file.Read("PlayMusic"), c.music) << c.file;
        ASSERT_TRUE(file.Write("PlayMusic", "On"));
        EXPECT_EQ(ReadText(File()), c.after) << c.file;
    }
}

TEST_F(SettingsFile, GarbageTruncatedOrMissingFilesReadAsNoValues) {
    const ConfigFile file(File());
    EXPECT_EQ(file.Read("Game"), std::nullopt); // missing

    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += static_cast<char>((i * 7919 + 13) % 256);
    WriteText(File(), garbage);
    EXPECT_EQ(file.Read("Game"), std::nullopt);

    WriteText(File(), "Game=\"abc");
    EXPECT_EQ(file.Read("Game"), std::nullopt);
    WriteText(File(), "Game=\"abc\\x4");
    EXPECT_EQ(file.Read("Game"), std::nullopt);
    WriteText(File(), "Game=\"abc\""); // no final newline is fine
    EXPECT_EQ(file.Read("Game"), "abc");

    // A garbage file is still rewritten around the new value.
    WriteText(File(), garbage);
    ASSERT_TRUE(file.Write("Game", "x"));
    EXPECT_EQ(file.Read("Game"), "x");
}

TEST_F(SettingsFile, AHugeFileReadsAsNoValuesAndIsReplacedOnWrite) {
    const ConfigFile file(File());
    std::string huge = "Game=\"early\"\n";
    huge += std::string((1 << 20) + 10, '#');
    huge += "\nPlayMusic=\"On\"\n";
    WriteText(File(), huge);
    EXPECT_EQ(file.Read("Game"), std::nullopt);
    EXPECT_EQ(file.Read("PlayMusic"), std::nullopt);
    ASSERT_TRUE(file.Write("Game", "new"));
    EXPECT_EQ(ReadText(File()), "Game=\"new\"\n");
}

TEST_F(SettingsFile, AFolderOrPipeInPlaceOfTheFileIsNeitherReadNorReplaced) {
    const ConfigFile file(File());
    fs::create_directories(File());
    EXPECT_EQ(file.Read("Game"), std::nullopt);
    EXPECT_FALSE(file.Write("Game", "x"));
    EXPECT_TRUE(fs::is_directory(File()));
    fs::remove(File());
    ASSERT_EQ(::mkfifo(File().c_str(), 0644), 0);
    EXPECT_EQ(file.Read("Game"), std::nullopt); // at once, without waiting for a writer
    EXPECT_FALSE(file.Write("Game", "x"));
    EXPECT_TRUE(fs::is_fifo(File()));
    EXPECT_EQ(EntriesInDir(), 1u); // no temporary file left behind
}

TEST_F(SettingsFile, WriteCreatesTheFoldersAndLeavesNoTemporaryFile) {
    const fs::path deep = Dir() / "a" / "b" / "c" / "Ranqua.conf";
    const ConfigFile file(deep.string());
    ASSERT_TRUE(file.Write("Game", "1"));
    ASSERT_TRUE(file.Write("PlayMusic", "Off"));
    EXPECT_EQ(ReadText(deep), "Game=\"1\"\nPlayMusic=\"Off\"\n");
    size_t entries = 0;
    for (const auto& e : fs::directory_iterator(deep.parent_path())) {
        EXPECT_EQ(e.path().filename(), "Ranqua.conf");
        ++entries;
    }
    EXPECT_EQ(entries, 1u);

    // A killed writer's temporary file goes at the next write once it is a minute old; a
    // younger one may be another writer's, and names not ours are never touched.
    const auto twoMinutesAgo = fs::file_time_type::clock::now() - std::chrono::minutes(2);
    for (const char* name : {"Ranqua.conf.writing-aB3dE9", "Ranqua.conf.writing-young1",
                             "Ranqua.conf.backup", "Other.conf.writing-aB3dE9"}) {
        WriteText(deep.parent_path() / name, "x");
        if (std::string_view(name) != "Ranqua.conf.writing-young1")
            fs::last_write_time(deep.parent_path() / name, twoMinutesAgo);
    }
    ASSERT_TRUE(file.Write("Game", "2"));
    EXPECT_FALSE(fs::exists(deep.parent_path() / "Ranqua.conf.writing-aB3dE9"));
    EXPECT_EQ(std::distance(fs::directory_iterator(deep.parent_path()), {}), 4);
}

TEST_F(SettingsFile, AWriteReplacesTheFileByRenameNotInPlace) {
    const ConfigFile file(File());
    ASSERT_TRUE(file.Write("Game", "1"));
    struct stat before {};
    ASSERT_EQ(::stat(File().c_str(), &before), 0);
    // A reader holding the old file keeps seeing the old contents: the new file is a new inode.
    std::ifstream held(File(), std::ios::binary);
    ASSERT_TRUE(file.Write("Game", "2"));
    struct stat after {};
    ASSERT_EQ(::stat(File().c_str(), &after), 0);
    EXPECT_NE(before.st_ino, after.st_ino);
    std::stringstream s;
    s << held.rdbuf();
    EXPECT_EQ(s.str(), "Game=\"1\"\n");
    EXPECT_EQ(file.Read("Game"), "2");
}

// A writer killed at any moment leaves each value old or new, never torn, and values written
// together old or new together. Long values widen the window in which a kill can land inside a
// write.
TEST_F(SettingsFile, AKilledWriterLeavesEachValueOldOrNew) {
    auto value = [](char c) { return std::string(20000, c); };
    const ConfigFile file((Dir() / "sub" / "Ranqua.conf").string());
    ASSERT_TRUE(file.Write("Game", value('a')));
    ASSERT_TRUE(file.Write("SoundEffect", "On"));
    std::mt19937 random(20261208); // fixed seed: a failure can be replayed
    for (int round = 0; round < 200; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Killed at any moment: what the parent reads afterwards is the check.
            for (int i = 0;; ++i) {
                const std::string game = value(i % 2 ? 'b' : 'a');
                const ConfigFile::Value both[] = {{"Game", game},
                                                  {"SoundEffect", i % 2 ? "Off" : "On"}};
                static_cast<void>(file.Write(both));
            }
        }
        ::usleep(std::uniform_int_distribution<useconds_t>(0, 3000)(random));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        const auto game = file.Read("Game");
        const auto sound = file.Read("SoundEffect");
        ASSERT_TRUE(game && (*game == value('a') || *game == value('b'))) << "round " << round;
        ASSERT_EQ(sound, *game == value('b') ? "Off" : "On") << "round " << round;
    }
}

TEST_F(SettingsFile, AnUnwritableFolderFailsSilentlyAndKeepsTheOldFile) {
    const ConfigFile file(File());
    ASSERT_TRUE(file.Write("Game", "old"));
    fs::permissions(Dir(), fs::perms::owner_read | fs::perms::owner_exec);
    // Permission bits do not stop the super-user; the folder-as-file case below still runs.
    if (::geteuid() != 0) {
        EXPECT_FALSE(file.Write("Game", "new"));
        EXPECT_EQ(file.Read("Game"), "old");
    }
    fs::permissions(Dir(), fs::perms::owner_all);
    EXPECT_EQ(EntriesInDir(), 1u);

    // A folder that cannot be created at all (a file stands in its way).
    WriteText(Dir() / "blocker", "not a folder");
    const ConfigFile blocked((Dir() / "blocker" / "sub" / "Ranqua.conf").string());
    EXPECT_FALSE(blocked.Write("Game", "x"));
    EXPECT_EQ(blocked.Read("Game"), std::nullopt);
    EXPECT_EQ(ReadText(Dir() / "blocker"), "not a folder");
}

TEST_F(SettingsFile, AnUnreadableFileIsNotOverwritten) {
    if (::geteuid() == 0) GTEST_SKIP() << "the super-user reads every file";
    const ConfigFile file(File());
    ASSERT_TRUE(file.Write("Game", "old"));
    ASSERT_TRUE(file.Write("Other", "kept"));
    fs::permissions(File(), fs::perms::none);
    EXPECT_EQ(file.Read("Game"), std::nullopt);
    EXPECT_FALSE(file.Write("Game", "new"));
    fs::permissions(File(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(file.Read("Other"), "kept");
    EXPECT_EQ(file.Read("Game"), "old");
}

TEST_F(SettingsFile, PathForKeyFollowsXdgConfigHomeThenHome) {
    const char* key = "Software\\Brindlewood\\Quorvale\\Marbalo\\Ranqua";
    {
        ScopedEnv home("HOME", "/home/player");
        ScopedEnv xdg("XDG_CONFIG_HOME", "/tmp/xdg");
        EXPECT_EQ(ConfigFile::PathForKey(key), "/tmp/xdg/Brindlewood/Quorvale/Marbalo/Ranqua.conf");
    }
    {
        ScopedEnv home("HOME", "/home/player");
        ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
        EXPECT_EQ(ConfigFile::PathForKey(key),
                  "/home/player/.config/Brindlewood/Quorvale/Marbalo/Ranqua.conf");
    }
    {
        // Relative and empty values are not valid base folders and are ignored.
        ScopedEnv home("HOME", "/home/player");
        for (const char* bad : {"", "relative/dir"}) {
            ScopedEnv xdg("XDG_CONFIG_HOME", bad);
            EXPECT_EQ(ConfigFile::PathForKey(key),
                      "/home/player/.config/Brindlewood/Quorvale/Marbalo/Ranqua.conf");
        }
    }
    // Without HOME, or with a relative one, the password entry gives the home folder, never the
    // working folder.
    for (const char* noHome : {static_cast<const char*>(nullptr), "", "relative/home"}) {
        ScopedEnv home("HOME", noHome);
        ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
        ScopedEnv data("XDG_DATA_HOME", nullptr);
        const passwd* pw = ::getpwuid(::getuid());
        ASSERT_NE(pw, nullptr);
        EXPECT_EQ(ConfigFile::PathForKey(key),
                  std::string(pw->pw_dir) + "/.config/Brindlewood/Quorvale/Marbalo/Ranqua.conf");
        EXPECT_EQ(BestGamesFile::DefaultPath(),
                  std::string(pw->pw_dir) + "/.local/share/ranqua/scores");
    }
    // The best games follow XDG_DATA_HOME by the same rules.
    ScopedEnv home("HOME", "/home/player");
    for (const auto& [set, path] :
         {std::pair{"/tmp/data", "/tmp/data/ranqua/scores"},
          std::pair{"relative", "/home/player/.local/share/ranqua/scores"},
          std::pair{"", "/home/player/.local/share/ranqua/scores"}}) {
        ScopedEnv data("XDG_DATA_HOME", set);
        EXPECT_EQ(BestGamesFile::DefaultPath(), path) << set;
    }
}

// Dotfile managers keep the file as a link into a repository: a write must go to the file the
// link leads to (relative links and links to links too), keep the link, and keep the target's
// permissions. A failed write is told with its reason.
TEST_F(SettingsFile, ALinkedFileStaysALinkAndKeepsItsPermissions) {
    fs::create_directories(Dir() / "repo" / "deep");
    const fs::path target = Dir() / "repo" / "deep" / "Ranqua.conf";
    WriteText(target, "# mine\nGame=\"old\"\n");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink("deep/Ranqua.conf", Dir() / "repo" / "hop");
    fs::create_symlink(Dir() / "repo" / "hop", File());
    const ConfigFile file(File());
    ASSERT_TRUE(file.Write("Game", "new"));
    EXPECT_TRUE(fs::is_symlink(File()));
    EXPECT_TRUE(fs::is_symlink(Dir() / "repo" / "hop"));
    EXPECT_EQ(ReadText(target), "# mine\nGame=\"new\"\n");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(static_cast<size_t>(std::distance(fs::directory_iterator(target.parent_path()), {})),
              1u);
    // A fresh file still gets the usual permissions.
    const ConfigFile fresh((Dir() / "fresh.conf").string());
    ASSERT_TRUE(fresh.Write("Game", "1"));
    EXPECT_EQ(fs::status(Dir() / "fresh.conf").permissions() & fs::perms::all, fs::perms(0644));

    int error = 0;
    WriteText(Dir() / "blocker", "not a folder");
    EXPECT_FALSE(
        ConfigFile((Dir() / "blocker" / "Ranqua.conf").string()).Write("Game", "x", &error));
    EXPECT_EQ(error, ENOTDIR);
    EXPECT_FALSE(file.Write("", "x", &error));
    EXPECT_EQ(error, EINVAL);
}

// The best games' file: bad lines are dropped and good ones kept, a folder in its place or a
// folder that cannot be written fails with the reason and leaves the old file, a link stays a
// link.
TEST_F(SettingsFile, TheBestGamesFileKeepsItsGoodLinesAndItsOldFileOnFailure) {
    const fs::path path = Dir() / "ranqua" / "scores";
    const BestGamesFile file(path.string());
    BestTable table;
    std::optional<BestMark> mark;
    ASSERT_TRUE(file.Read(table));
    EXPECT_TRUE(table.Entries().empty()); // no file yet
    ASSERT_TRUE(file.Record({0, "2026-12-08", 0}, mark));
    EXPECT_FALSE(mark);
    EXPECT_FALSE(fs::exists(path)); // nothing entered, nothing written

    fs::create_directories(path.parent_path());
    WriteText(path, "164 2026-12-08 2\ngarbage\n99 2026-13-01 1\n50 2026-01-01 3");
    ASSERT_TRUE(file.Read(table));
    EXPECT_EQ(table.Text(), "164 2026-12-08 2\n50 2026-01-01 3\n");
    ASSERT_TRUE(file.Record({70, "2026-12-09", 1}, mark));
    ASSERT_TRUE(mark);
    EXPECT_EQ(mark->place, 1u);
    EXPECT_EQ(ReadText(path), "164 2026-12-08 2\n70 2026-12-09 1\n50 2026-01-01 3\n");
    EXPECT_EQ(EntriesIn(path.parent_path()), 1u);

    // A folder that cannot be written. Permission bits do not stop the super-user, so a child
    // that has given up those rights tries the write.
    fs::permissions(path.parent_path(), fs::perms::owner_read | fs::perms::owner_exec |
                                            fs::perms::others_read | fs::perms::others_exec);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
        std::string why;
        const bool ok = file.Record({500, "2026-12-10", 4}, mark, &why);
        ::_exit(!ok && why == std::strerror(EACCES) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    fs::permissions(path.parent_path(), fs::perms::owner_all);
    EXPECT_EQ(ReadText(path), "164 2026-12-08 2\n70 2026-12-09 1\n50 2026-01-01 3\n");
    EXPECT_EQ(EntriesIn(path.parent_path()), 1u);

    // A link into a repository of dotfiles stays a link; the file it leads to is rewritten.
    fs::create_directories(Dir() / "dotfiles");
    fs::rename(path, Dir() / "dotfiles" / "scores");
    fs::create_symlink("../dotfiles/scores", path);
    ASSERT_TRUE(file.Record({60, "2026-12-11", 0}, mark));
    EXPECT_TRUE(fs::is_symlink(path));
    EXPECT_EQ(ReadText(Dir() / "dotfiles" / "scores"),
              "164 2026-12-08 2\n70 2026-12-09 1\n60 2026-12-11 0\n50 2026-01-01 3\n");

    fs::remove(path);
    fs::create_directories(path);
    std::string reason;
    EXPECT_FALSE(file.Read(table, &reason));
    EXPECT_EQ(reason, std::strerror(EISDIR));
    EXPECT_FALSE(file.Record({60, "2026-12-11", 0}, mark, &reason));
    EXPECT_EQ(reason, std::strerror(EISDIR));
    EXPECT_TRUE(fs::is_directory(path));
}

// Games that end at the same moment in two programs keep each other's entries: each reads,
// enters and writes under the folder's lock.
TEST_F(SettingsFile, TwoGamesWritingTheBestGamesAtOnceKeepBothEntries) {
    const BestGamesFile file((Dir() / "ranqua" / "scores").string());
    for (int round = 0; round < 10; ++round) {
        fs::remove_all(Dir() / "ranqua");
        pid_t children[2];
        for (int w = 0; w < 2; ++w) {
            children[w] = ::fork();
            ASSERT_GE(children[w], 0);
            if (children[w] == 0) {
                std::optional<BestMark> mark;
                bool ok = true;
                for (int i = 0; i < 5; ++i)
                    ok = file.Record({10 * i + w + 1, "2026-12-08", static_cast<uint32_t>(w)},
                                     mark) &&
                         mark && ok;
                ::_exit(ok ? 0 : 1);
            }
        }
        for (pid_t child : children) {
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "round " << round;
        }
        BestTable table;
        ASSERT_TRUE(file.Read(table));
        ASSERT_EQ(table.Entries().size(), 10u) << "round " << round << ":\n" << table.Text();
    }
}
