// media_music_settings_test.cpp: the music folder and its random tracks, and the two stored
// switches.
#include "screen_probe.h"

#include "game/registry_store.h"

#include <random>

using namespace testing_support;

namespace {

using Calls = std::vector<std::string>;
namespace fs = std::filesystem;

class MusicTest : public ScreenProbeTest {
protected:
    void AddTracks(std::initializer_list<const char*> names) {
        for (const char* name : names)
            WriteFile(fs::path("../MUSIC/GAME") / name, "");
    }
    // Seeds the generator so that its next number is `value`.
    static void NextRandIs(int value) {
        platform::SeedRand(FindSeed([value] { return platform::Rand() == value; }));
    }
    RegistryStore Store() const { return RegistryStore("Ranqua"); }
};

TEST_F(MusicTest, TracksAreListedInReverseAndChosenByTheNextRandomNumber) {
    AddTracks({"b.mp3", "c.mp3", "a.mp3", "notes.txt"});
    StartAndSettle();
    EXPECT_EQ(std::vector<std::string>(screen->m_musicFiles.begin(), screen->m_musicFiles.end()),
              (Calls{"c.mp3", "b.mp3", "a.mp3"}));
    music.calls.clear();
    NextRandIs(4);
    screen->PlayRandomTrack();
    EXPECT_EQ(music.calls, (Calls{"open ../MUSIC/GAME/b.mp3", "play"}));
}

TEST_F(MusicTest, NamesWithSpacesAndNonAsciiLettersOpenWithTheFolderInFront) {
    const char* spaced = "my song.mp3";
    const char* accented = "\xC3\x9C"
                           "ber Stra\xC3\x9F"
                           "e.mp3";
    AddTracks({spaced, accented});
    StartAndSettle();
    ASSERT_EQ(screen->m_musicFiles.size(), 2u);
    EXPECT_EQ(screen->m_musicFiles[0], accented); // byte order, reversed
    EXPECT_EQ(screen->m_musicFiles[1], spaced);
    music.calls.clear();
    NextRandIs(3);
    screen->PlayRandomTrack();
    NextRandIs(8);
    screen->PlayRandomTrack();
    EXPECT_EQ(music.calls, (Calls{"open ../MUSIC/GAME/my song.mp3", "play",
                                  std::string("open ../MUSIC/GAME/") + accented, "play"}));
}

TEST_F(MusicTest, SwitchingOffStopsAndOnAgainStartsANewlyChosenTrack) {
    AddTracks({"a.mp3", "b.mp3", "c.mp3"});
    StartAndSettle();
    ASSERT_TRUE(screen->m_musicOn);
    ASSERT_EQ(music.calls.size(), 2u); // the first run starts a track
    const platform::Point on = Centre(Button(MenuCommand::kMusic)->m_rect);
    Move(on);
    Press(on);
    Release(on); // off: the stop's notification (handled in the same pump) starts nothing
    EXPECT_FALSE(screen->m_musicOn);
    EXPECT_EQ(music.calls.size(), 3u);
    EXPECT_EQ(music.calls.back(), "stop");

    platform::SeedRand(2024);
    const int first = platform::Rand(), second = platform::Rand();
    platform::SeedRand(2024);
    Press(on);
    Release(on);
    EXPECT_TRUE(screen->m_musicOn);
    const std::string chosen = screen->m_musicFiles[static_cast<size_t>(first) % 3];
    EXPECT_EQ(Calls(music.calls.begin() + 3, music.calls.end()),
              (Calls{"open ../MUSIC/GAME/" + chosen, "play"}));
    EXPECT_EQ(platform::Rand(), second); // exactly one number drawn

    // Only a stop from our own music window, with the switch on, starts the next track.
    music.calls.clear();
    int elsewhere = 0;
    platform::PostMusicNotify(screen->m_musicWnd.get(), 526);
    platform::PostMusicNotify(&elsewhere, platform::kMciModeStop);
    Pump();
    EXPECT_TRUE(music.calls.empty());
    platform::PostMusicNotify(screen->m_musicWnd.get(), platform::kMciModeStop);
    Pump();
    ASSERT_EQ(music.calls.size(), 2u);
    EXPECT_EQ(music.calls[1], "play");
}

TEST_F(MusicTest, NoTracksMeansSilenceWithTheSwitchShowingOn) {
    StartAndSettle();
    EXPECT_TRUE(screen->m_musicOn);
    Click(MenuCommand::kMusic);
    Click(MenuCommand::kMusic);
    EXPECT_EQ(music.calls, Calls{"stop"});
    EXPECT_TRUE(screen->m_musicOn);
    EXPECT_TRUE(SamePixels(OnWindow(Button(MenuCommand::kMusic)->m_rect),
                           ButtonRow(Button(MenuCommand::kMusic), 1)));
}

TEST_F(MusicTest, FirstRunHasBothSwitchesOnAndShowsThemPressed) {
    AddTracks({"only.mp3"});
    StartAndSettle();
    EXPECT_TRUE(screen->m_soundOn);
    EXPECT_TRUE(screen->m_musicOn);
    EXPECT_EQ(music.calls, (Calls{"open ../MUSIC/GAME/only.mp3", "play"}));
    for (MenuCommand id : {MenuCommand::kMusic, MenuCommand::kSound}) {
        EXPECT_EQ(Button(id)->m_state, 1);
        EXPECT_EQ(Button(id)->m_restState, 1);
        EXPECT_TRUE(SamePixels(OnWindow(Button(id)->m_rect), ButtonRow(Button(id), 1)))
            << static_cast<int32_t>(id);
    }
}

TEST_F(MusicTest, OnlyTheExactTextOffSwitchesOff) {
    AddTracks({"only.mp3"});
    Store().WriteString("SoundEffect", "Off");
    Store().WriteString("PlayMusic", "Off");
    StartAndSettle();
    EXPECT_EQ(sounds.played, Calls{"LOGO"}); // the start-up sound plays regardless
    EXPECT_FALSE(screen->m_soundOn);
    EXPECT_FALSE(screen->m_musicOn);
    EXPECT_TRUE(music.calls.empty());
    for (MenuCommand id : {MenuCommand::kMusic, MenuCommand::kSound})
        EXPECT_TRUE(SamePixels(OnWindow(Button(id)->m_rect), ButtonRow(Button(id), 0)))
            << static_cast<int32_t>(id);

    std::minstd_rand bytes(7);
    std::string garbage(5 * 1024, ' ');
    for (char& c : garbage)
        c = static_cast<char>(bytes() & 0xFF);
    for (const std::string& text :
         {std::string("off"), std::string("0"), std::string("OFF"), std::string("Off "), garbage}) {
        Store().WriteString("SoundEffect", text);
        Store().WriteString("PlayMusic", text);
        screen->LoadSettings();
        EXPECT_TRUE(screen->m_soundOn) << text.substr(0, 8);
        EXPECT_TRUE(screen->m_musicOn) << text.substr(0, 8);
    }
    // A settings file that is nothing but garbage reads as no values at all.
    WriteFile(SettingsPath(), garbage);
    screen->m_soundOn = screen->m_musicOn = false;
    screen->LoadSettings();
    EXPECT_TRUE(screen->m_soundOn);
    EXPECT_TRUE(screen->m_musicOn);
}

TEST_F(MusicTest, ClosingWritesBothSwitchesAndTheNextRunUsesThem) {
    StartAndSettle();
    Click(MenuCommand::kSound); // sound off
    platform::PostCloseRequest();
    Pump();
    EXPECT_TRUE(app.QuitPosted());
    EXPECT_EQ(Store().ReadString("SoundEffect"), "Off");
    EXPECT_EQ(Store().ReadString("PlayMusic"), "On");
    EXPECT_EQ(app.ExitInstance(), 0);
    started = false;
    screen = nullptr;

    sounds.played.clear();
    CGameApp next;
    ASSERT_TRUE(next.InitInstance());
    CInterface* s = next.MainScreen();
    EXPECT_EQ(sounds.played, Calls{"LOGO"});
    EXPECT_FALSE(s->m_soundOn);
    EXPECT_TRUE(s->m_musicOn);
    // Exit from the menu writes both values though neither changed.
    fs::remove(SettingsPath());
    s->RunMenuCommand(MenuCommand::kExit);
    EXPECT_TRUE(next.QuitPosted());
    EXPECT_EQ(Store().ReadString("SoundEffect"), "Off");
    EXPECT_EQ(Store().ReadString("PlayMusic"), "On");
    EXPECT_EQ(next.ExitInstance(), 0);
}

} // namespace
