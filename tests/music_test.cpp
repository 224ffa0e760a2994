// music_test.cpp: the music folder and its random tracks, and the two stored switches (sound and
// music) as a new run finds them.
#include "screen_probe.h"

#include "game/registry_store.h"

#include <sys/inotify.h>
#include <sys/stat.h>

#include <cmath>
#include <functional>
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
    // How many times the settings file was written (renamed into place) while `act` ran.
    int WritesDuring(const std::function<void()>& act) {
        fs::create_directories(fs::path(SettingsPath()).parent_path());
        const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        inotify_add_watch(watch, fs::path(SettingsPath()).parent_path().c_str(), IN_MOVED_TO);
        act();
        alignas(inotify_event) char events[4096];
        int writes = 0;
        for (ssize_t n; (n = read(watch, events, sizeof events)) > 0;)
            for (ssize_t at = 0; at < n; ++writes)
                at += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(events + at)->len;
        close(watch);
        return writes;
    }
    // A WAVE file that the real player plays: `seconds` of a quiet tone, 8 kHz mono; long
    // enough not to end by itself while a test runs.
    static std::string ToneWave(int seconds) {
        const uint32_t rate = 8000, bytes = rate * 2 * static_cast<uint32_t>(seconds);
        std::string w = "RIFF";
        auto u32 = [&w](uint32_t v) {
            for (int i = 0; i < 4; ++i)
                w += static_cast<char>((v >> (8 * i)) & 0xFF);
        };
        auto u16 = [&w](uint16_t v) {
            w += static_cast<char>(v & 0xFF), w += static_cast<char>(v >> 8);
        };
        u32(36 + bytes);
        w += "WAVEfmt ";
        u32(16), u16(1), u16(1), u32(rate), u32(rate * 2), u16(2), u16(16);
        w += "data";
        u32(bytes);
        for (uint32_t i = 0; i < bytes / 2; ++i)
            u16(static_cast<uint16_t>(static_cast<int16_t>(1000 * std::sin(i * 0.3))));
        return w;
    }
    // The real player from here on, instead of the recorder.
    void RealPlayer() { services().music = nullptr; }
};

using Music = MusicTest;
using Switches = MusicTest;

TEST_F(Music, TracksAreListedInReverseAndChosenByTheNextRandomNumber) {
    AddTracks({"b.mp3", "c.mp3", "a.mp3", "notes.txt"});
    StartAndSettle();
    EXPECT_EQ(std::vector<std::string>(screen->m_musicFiles.begin(), screen->m_musicFiles.end()),
              (Calls{"c.mp3", "b.mp3", "a.mp3"}));
    music.calls.clear();
    NextRandIs(4);
    screen->PlayRandomTrack();
    EXPECT_EQ(music.calls, (Calls{"open ../MUSIC/GAME/b.mp3", "play"}));
}

TEST_F(Music, OnlyRegularFilesAreListedAndAFifoIsNeverWaitedFor) {
    WriteFile("../MUSIC/GAME/a.mp3", ToneWave(30));
    ASSERT_EQ(::mkfifo("../MUSIC/GAME/fifo.mp3", 0644), 0);
    fs::create_directory("../MUSIC/GAME/folder.mp3");
    fs::create_symlink("a.mp3", "../MUSIC/GAME/link.mp3");
    fs::create_symlink("missing.mp3", "../MUSIC/GAME/gone.mp3");
    RealPlayer();
    StartAndSettle();
    EXPECT_EQ(std::vector<std::string>(screen->m_musicFiles.begin(), screen->m_musicFiles.end()),
              (Calls{"link.mp3", "a.mp3"}));
    // Named directly, the FIFO is still not read: opening it for reading would wait for a
    // writer for ever. Getting past these lines is the test.
    std::unique_ptr<platform::MusicPlayer> player = platform::CreateMusicPlayer();
    player->Open("../MUSIC/GAME/fifo.mp3");
    player->Play();
    player->Open("../MUSIC/GAME/folder.mp3");
    player->Play();
}

// A stop that reaches the main screen only after the switch went off and on again belongs to a
// track that is gone: it must neither start a track nor take a number from the game's sequence.
TEST_F(Music, ALateStopStartsNoSecondTrackAndDrawsNoNumber) {
    WriteFile("../MUSIC/GAME/a.mp3", ToneWave(60));
    WriteFile("../MUSIC/GAME/b.mp3", ToneWave(60));
    RealPlayer();
    StartAndSettle();
    ASSERT_TRUE(screen->m_musicOn);
    platform::SeedRand(77);
    platform::Rand();
    const int second = platform::Rand();

    // Off and on before the loop runs again: the switch's own stop was handled while it was
    // off; and the same with the end of a track queued by the audio thread just before.
    uint32_t playing = 0;
    for (const bool queuedEnd : {false, true}) {
        platform::SeedRand(77);
        if (queuedEnd)
            platform::PostMusicNotify(screen->m_musicWnd.get(), platform::kMciModeStop,
                                      platform::CurrentMusicTrack());
        screen->RunMenuCommand(MenuCommand::kMusic);
        screen->RunMenuCommand(MenuCommand::kMusic);
        playing = platform::CurrentMusicTrack();
        Pump();
        EXPECT_EQ(platform::CurrentMusicTrack(), playing)
            << "a second track was opened" << (queuedEnd ? " (queued end)" : "");
        EXPECT_EQ(platform::Rand(), second);
    }

    // The end of the track that plays now still starts the next one.
    platform::SeedRand(77);
    platform::PostMusicNotify(screen->m_musicWnd.get(), platform::kMciModeStop,
                              platform::CurrentMusicTrack());
    Pump();
    EXPECT_NE(platform::CurrentMusicTrack(), playing);
    EXPECT_EQ(platform::Rand(), second);
}

TEST_F(Music, NamesWithSpacesAndNonAsciiLettersOpenWithTheFolderInFront) {
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

TEST_F(Music, SwitchingOffStopsAndOnAgainStartsANewlyChosenTrack) {
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

// With no tracks the music switch still flips; only a stop reaches the player.
TEST_F(Switches, FlipTheirRowsWhenClickedAndTheSoundClickIsHeardOnlyGoingOff) {
    StartAndSettle();
    CPicButton* sound = Button(MenuCommand::kSound);
    CPicButton* musicButton = Button(MenuCommand::kMusic);
    Click(MenuCommand::kSound);
    EXPECT_FALSE(screen->m_soundOn);
    EXPECT_EQ(sound->m_restState, 0);
    EXPECT_EQ(sound->m_state, 0);
    EXPECT_TRUE(SamePixels(OnWindow(sound->m_rect), ButtonRow(sound, 0)));
    Click(MenuCommand::kSound);
    EXPECT_TRUE(screen->m_soundOn);
    EXPECT_EQ(sound->m_restState, 1);
    EXPECT_TRUE(SamePixels(OnWindow(sound->m_rect), ButtonRow(sound, 1)));
    EXPECT_EQ(sounds.played, (std::vector<std::string>{"LOGO", "BTN"}));

    Click(MenuCommand::kMusic);
    EXPECT_FALSE(screen->m_musicOn);
    EXPECT_EQ(musicButton->m_restState, 0);
    EXPECT_TRUE(SamePixels(OnWindow(musicButton->m_rect), ButtonRow(musicButton, 0)));
    Click(MenuCommand::kMusic);
    EXPECT_TRUE(screen->m_musicOn);
    EXPECT_TRUE(SamePixels(OnWindow(musicButton->m_rect), ButtonRow(musicButton, 1)));
    EXPECT_EQ(music.calls, Calls{"stop"});
}

TEST_F(Switches, AreBothOnAtTheFirstRunAndShowPressed) {
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

TEST_F(Switches, OnlyTheExactTextOffSwitchesOff) {
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

TEST_F(Switches, EachChangeAndTheClosingWriteBothAndTheNextRunUsesThem) {
    StartAndSettle();
    // Sound off, kept at once (a run may end without closing), both switches in one write.
    EXPECT_EQ(WritesDuring([this] { Click(MenuCommand::kSound); }), 1);
    EXPECT_EQ(Store().ReadString("SoundEffect"), "Off");
    Click(MenuCommand::kMusic);
    EXPECT_EQ(Store().ReadString("PlayMusic"), "Off");
    Click(MenuCommand::kMusic);
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
