// platform_services_test.cpp: the generator, display scale, resources, the shell opener, timer
// ticks through the message loop and the real music player's stop notification.
#include "platform/clock.h"
#include "platform/display.h"
#include "platform/music.h"
#include "platform/rand.h"
#include "platform/resources.h"
#include "platform/services.h"
#include "platform/shell.h"
#include "platform/sound.h"
#include "platform/window.h"

#include "scoped_env.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <csignal>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

using namespace platform;
using testing_support::ScopedEnv;
namespace fs = std::filesystem;

namespace {

fs::path FreshFolder(const std::string& what) {
    static int counter = 0;
    const fs::path p =
        fs::temp_directory_path() /
        ("ranqua-" + what + "-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(p);
    fs::create_directories(p);
    return p;
}

} // namespace

// The date of a time is the one in the time zone in force, always four digits of year.
TEST(LocalDate, FollowsTheTimeZone) {
    const int64_t evening = 1796760000; // 2026-12-08 20:00 UTC
    for (const auto& [zone, date] :
         {std::pair{"UTC0", "2026-12-08"}, std::pair{"XYZ-5", "2026-12-09"},
          std::pair{"XYZ+10", "2026-12-08"}, std::pair{"XYZ+21", "2026-12-07"}}) {
        testing_support::ScopedEnv tz("TZ", zone);
        EXPECT_EQ(platform::LocalDate(evening), date) << zone;
    }
    testing_support::ScopedEnv tz("TZ", "UTC0");
    EXPECT_EQ(platform::LocalDate(0), "1970-01-01");
    EXPECT_EQ(platform::LocalDate(int64_t{1} << 40).size(), 10u); // far beyond year 9999
}

// The runtime's own sequence: pinned for seed 1, and the formula behind it for any seed.
TEST(Rand, FollowsTheRuntimeSequenceForEverySeed) {
    SeedRand(1);
    for (int want : {41, 18467, 6334, 26500, 19169})
        EXPECT_EQ(Rand(), want);
    for (uint32_t seed : {0u, 1u, 12345u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        SeedRand(seed);
        uint64_t state = seed;
        for (int i = 0; i < 1000; ++i) {
            state = (state * 214013u + 2531011u) % (uint64_t{1} << 32);
            ASSERT_EQ(Rand(), static_cast<int>((state >> 16) & 0x7FFF))
                << "seed " << seed << " #" << i;
        }
    }
    // Seeding again restarts the sequence.
    SeedRand(12345);
    const int first = Rand();
    Rand();
    SeedRand(12345);
    EXPECT_EQ(Rand(), first);
}

TEST(DisplayScale, FillsTheDisplayWithThePlayAreaAndPicksTheArtScale) {
    ScopedEnv scale("RANQUA_SCALE", nullptr);
    const struct {
        Size physical;
        double s;
        Size logical;
        int art;
    } cases[] = {
        {{800, 600}, 1.0, {800, 600}, 1},
        {{1024, 768}, 1.28, {800, 600}, 2},
        {{1366, 768}, 1.28, {1067, 600}, 2},
        {{1920, 1080}, 1.8, {1066, 600}, 2}, // 1080 / 1.8 is 600 exactly, not 599.99
        {{1920, 1200}, 2.0, {960, 600}, 2},
        {{1600, 1200}, 2.0, {800, 600}, 2},
        {{2560, 1440}, 2.4, {1066, 600}, 3},
        {{3840, 2160}, 3.6, {1066, 600}, 3},
        {{1280, 1024}, 1.6, {800, 640}, 2}, // narrow: the width decides
        {{640, 480}, 1.0, {640, 480}, 1},   // too small is for the caller to refuse
    };
    for (const auto& c : cases) {
        const Scale s = DisplayScale(c.physical);
        EXPECT_DOUBLE_EQ(s.Value(), c.s) << c.physical.width << "x" << c.physical.height;
        EXPECT_EQ(ArtScaleFor(s), c.art) << c.physical.width << "x" << c.physical.height;
        const ServicesScope display({.display = c.physical});
        EXPECT_EQ(DisplaySize(), c.logical) << c.physical.width << "x" << c.physical.height;
        EXPECT_EQ(PhysicalDisplaySize(), c.physical);
    }
    EXPECT_EQ(DisplayScale({0, 0}), (Scale{1, 1}));
}

TEST(DisplayScale, ConvertsBetweenPhysicalAndLogicalPixelsExactly) {
    for (const Scale s : {Scale{1080, 600}, Scale{768, 600}, Scale{2160, 600}, Scale{2, 1}}) {
        for (int32_t v = 0; v < 1200; ++v) {
            // A logical pixel's first physical pixel is its own, and the one before is not.
            const int32_t first = s.FirstPhysical(v);
            ASSERT_EQ(s.ToLogical(first), v) << s.Value() << " at " << v;
            if (v > 0) {
                ASSERT_EQ(s.ToLogical(first - 1), v - 1) << s.Value() << " at " << v;
            }
            ASSERT_LE(s.FloorPhysical(v), first);
            ASSERT_GE(s.FloorPhysical(v) + 1, first);
        }
    }
    EXPECT_EQ((Scale{9, 5}).ToLogical(-1), -1); // rounded down, not toward zero
}

// RANQUA_SCALE overrides s where the play area still fits; a value too large is lowered to
// the largest that fits and one that is no scale is ignored, each said once on stderr.
TEST(DisplayScale, EnvironmentOverridesWhereThePlayAreaFits) {
    const struct {
        const char* value;
        Size physical;
        double s;
        const char* said; // the line on stderr, if any
    } cases[] = {
        {"2", {3840, 2160}, 2.0, ""},
        {"1", {3840, 2160}, 1.0, ""},
        {"1.5", {1920, 1080}, 1.5, ""},
        {"1.8", {1920, 1080}, 1.8, ""}, // exactly the largest
        {"", {1920, 1080}, 1.8, ""},
        {"16",
         {1920, 1080},
         1.8,
         "ranqua: RANQUA_SCALE=16 is too large for this 1920x1080 display; using 1.8, the "
         "largest that fits\n"},
        {"1.5",
         {1024, 768},
         1.28,
         "ranqua: RANQUA_SCALE=1.5 is too large for this 1024x768 display; using 1.28, the "
         "largest that fits\n"},
        {"2",
         {1000, 700},
         7.0 / 6.0,
         "ranqua: RANQUA_SCALE=2 is too large for this 1000x700 display; using 1.1666, the "
         "largest that fits\n"},
        {"2", {640, 480}, 1.0, ""}, // too small for any: the display check says so
        {"0", {1920, 1080}, 1.8, "ranqua: ignoring RANQUA_SCALE=0: not a number from 1 to 16\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("'") + c.value + "' on " + std::to_string(c.physical.width));
        ScopedEnv scale("RANQUA_SCALE", c.value);
        ::testing::internal::CaptureStderr();
        for (int i = 0; i < 3; ++i) // as often as start-up asks
            EXPECT_DOUBLE_EQ(DisplayScale(c.physical).Value(), c.s);
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), c.said);
    }
    {
        ScopedEnv scale("RANQUA_SCALE", "2");
        const ServicesScope display({.display = Size{3840, 2160}});
        EXPECT_EQ(DisplaySize(), (Size{1920, 1080}));
        EXPECT_EQ(ArtScaleFor(DisplayScale({3840, 2160})), 2);
    }
    for (const char* bad : {"-1", "nan", "abc", "2x", "0.5", ".5", "1.", "17", "1e1", "1.5\n2",
                            "99999999999999999999"}) {
        ScopedEnv scale("RANQUA_SCALE", bad);
        ::testing::internal::CaptureStderr();
        EXPECT_DOUBLE_EQ(DisplayScale({3840, 2160}).Value(), 3.6) << "'" << bad << "'";
        EXPECT_TRUE(DisplayScale({800, 600}).IsOne()) << "'" << bad << "'";
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(said.rfind("ranqua: ignoring RANQUA_SCALE=", 0), 0u) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    }
}

TEST(Resources, NamesAndTypesMatchWithoutRegardToCase) {
    const ResourceData back = FindResource("jpeg", "BACK");
    ASSERT_TRUE(back);
    EXPECT_EQ(back.data[0], 0xFF); // a JPEG start marker
    EXPECT_EQ(back.data[1], 0xD8);
    for (const auto& [type, name] :
         {std::pair{"JPEG", "back"}, {"Jpeg", "Back"}, {"jPEG", "bACK"}}) {
        const ResourceData r = FindResource(type, name);
        EXPECT_EQ(r.data, back.data) << type << " " << name;
        EXPECT_EQ(r.size, back.size);
    }
    // The same name under two types is two resources.
    const ResourceData logoWave = FindResource("wave", "logo");
    const ResourceData logoJpeg = FindResource("jpeg", "logo");
    ASSERT_TRUE(logoWave);
    ASSERT_TRUE(logoJpeg);
    EXPECT_NE(logoWave.data, logoJpeg.data);
    EXPECT_EQ(std::memcmp(logoWave.data, "RIFF", 4), 0);
    EXPECT_TRUE(FindResource("icon", "prg_icon"));
    // Unknown names give nothing.
    for (const auto& [type, name] : {std::pair{"jpeg", "BAC"},
                                     {"jpeg", "BACKX"},
                                     {"jpeg", ""},
                                     {"jpe", "BACK"},
                                     {"", "BACK"},
                                     {"WAVE", "BACK"},
                                     {"jpeg", "PIC99"},
                                     {"jpeg", "M_BUTT10"}}) {
        const ResourceData r = FindResource(type, name);
        EXPECT_FALSE(r) << type << " " << name;
        EXPECT_EQ(r.data, nullptr);
        EXPECT_EQ(r.size, 0u);
    }
    // A resource whose pages went back reads the same; other memory is not touched.
    const std::vector<uint8_t> copy(back.data, back.data + back.size);
    ReleaseResourcePages(back);
    EXPECT_TRUE(std::equal(copy.begin(), copy.end(), back.data));
    std::vector<uint8_t> heap(size_t{1} << 16, 7);
    ReleaseResourcePages({heap.data(), heap.size()});
    EXPECT_EQ(std::count(heap.begin(), heap.end(), 7), static_cast<std::ptrdiff_t>(heap.size()));
}

// ---- the shell opener ------------------------------------------------------------------

namespace {

// A stand-in for xdg-open first in PATH that writes its arguments, one per line in brackets
// after their count, and exits; a held one first waits for Release.
class FakeOpener {
public:
    explicit FakeOpener(bool held = false)
        : m_dir(FreshFolder("opener")), m_path("PATH", (m_dir.string() + ":" + OldPath()).c_str()) {
        const fs::path script = m_dir / "xdg-open";
        std::ofstream(script)
            << "#!/bin/sh\n"
               "cd '"
            << m_dir.string() << "' && echo >> runs\n"
            << (held ? "while [ ! -e release ]; do sleep 0.02; done\n" : "")
            << "{ printf '%s\\n' \"$#\"; for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done; }"
               " > args.part && mv args.part args\n";
        fs::permissions(script, fs::perms::owner_all);
    }
    void Release() const { std::ofstream(m_dir / "release") << ""; }
    // How many times it was started.
    size_t Runs() const {
        std::ifstream in(m_dir / "runs");
        return static_cast<size_t>(std::count(std::istreambuf_iterator<char>(in), {}, '\n'));
    }
    ~FakeOpener() { fs::remove_all(m_dir); }

    // Waits (bounded) until the opener has exited, then returns what it wrote.
    std::string WaitForArguments() const {
        for (int i = 0; i < 2000; ++i) {
            int status = 0;
            const pid_t pid = ::waitpid(-1, &status, WNOHANG);
            if (pid > 0 || (pid < 0 && errno == ECHILD)) break;
            const timespec pause{0, 5'000'000};
            ::nanosleep(&pause, nullptr);
        }
        std::ifstream in(m_dir / "args");
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    bool Ran() const { return fs::exists(m_dir / "args"); }

private:
    static std::string OldPath() {
        const char* p = std::getenv("PATH");
        return p ? p : "/usr/bin:/bin";
    }
    fs::path m_dir;
    ScopedEnv m_path;
};

} // namespace

TEST(OpenAddress, HandsTheAddressToXdgOpenAsOneArgument) {
    const std::string addresses[] = {
        "https://example.org/a b;c",
        "http://x.test/?q='quoted' \"double\" $(touch pwned) `id` & | > < *",
    };
    for (const std::string& address : addresses) {
        const FakeOpener opener;
        ASSERT_TRUE(OpenAddress(address));
        EXPECT_EQ(opener.WaitForArguments(), "1\n[" + address + "]\n");
    }
    EXPECT_FALSE(fs::exists("pwned"));
}

// While the opener of an address runs, more clicks on it start nothing and are no failure; each
// opener is reaped as it ends, not left a zombie until a later open.
TEST(OpenAddress, StartsOneOpenerAnAddressAtATimeAndReapsEachAsItEnds) {
    const FakeOpener opener(true);
    for (int i = 0; i < 300; ++i)
        ASSERT_TRUE(OpenAddress("https://one.example/"));
    ASSERT_TRUE(OpenAddress("https://two.example/"));
    EXPECT_EQ(OpenersRunning(), 2u);
    opener.Release();
    for (int i = 0; i < 2000 && OpenersRunning() > 0; ++i) {
        const timespec pause{0, 5'000'000};
        ::nanosleep(&pause, nullptr);
    }
    EXPECT_EQ(OpenersRunning(), 0u);
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1); // no child left, not even a zombie
    EXPECT_EQ(opener.Runs(), 2u);
}

TEST(OpenAddress, RefusesEmptyAddressesAndOptions) {
    const FakeOpener opener;
    EXPECT_FALSE(OpenAddress(""));
    EXPECT_FALSE(OpenAddress("-x"));
    EXPECT_FALSE(OpenAddress("--help"));
    EXPECT_FALSE(opener.Ran());

    std::vector<std::string> recorded;
    {
        const ServicesScope shell({.shell = [&](const std::string& a) { recorded.push_back(a); }});
        EXPECT_FALSE(OpenAddress("-x"));
        EXPECT_TRUE(OpenAddress("http://example.org"));
    }
    EXPECT_EQ(recorded, std::vector<std::string>{"http://example.org"});
}

TEST(OpenAddress, FailsWhenThereIsNoOpener) {
    const fs::path empty = FreshFolder("nopath");
    {
        ScopedEnv path("PATH", empty.c_str());
        EXPECT_FALSE(OpenAddress("http://example.org"));
    }
    fs::remove_all(empty);
}

// ---- the message loop ------------------------------------------------------------------

namespace {

class CountingWindow : public FrameWindow {
public:
    void OnTimer(uint32_t id) override { timers.push_back(id); }
    void OnMciNotifyMode(const void* musicWindow, int32_t mode) override {
        notices.emplace_back(musicWindow, mode);
    }
    void OnClose() override { ++closes; }
    void OnLButtonDown(uint32_t, Point) override { ++inputs; }
    void OnMouseMove(uint32_t, Point) override { ++inputs; }
    int closes = 0;
    int inputs = 0;
    std::vector<uint32_t> timers;
    std::vector<std::pair<const void*, int32_t>> notices;
};

class LoopApp : public Application {
public:
    bool InitInstance() override { return true; }
};

class MessageLoop : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(InitPlatform());
        app.m_mainWindow = &window;
    }
    void TearDown() override {
        app.m_mainWindow = nullptr;
        ShutdownPlatform();
    }
    ServicesScope services{{.manualTimers = true}};
    CountingWindow window;
    LoopApp app;
};

// Mouse moves until the queue takes no more (65,535 events).
void FillQueue() {
    SDL_Event move{};
    move.type = SDL_MOUSEMOTION;
    while (SDL_PushEvent(&move) > 0) {
    }
}

// A WAVE file of silence, long enough not to end by itself during a test.
void WriteSilence(const fs::path& path, uint32_t seconds) {
    const uint32_t rate = 8000, bytes = rate * seconds;
    std::ofstream out(path, std::ios::binary);
    auto u32 = [&](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    out.write("RIFF", 4);
    u32(36 + bytes);
    out.write("WAVEfmt ", 8);
    u32(16);
    u16(1);    // PCM
    u16(1);    // mono
    u32(rate); // samples a second
    u32(rate); // bytes a second
    u16(1);    // block size
    u16(8);    // bits
    out.write("data", 4);
    u32(bytes);
    const std::vector<char> silence(bytes, static_cast<char>(0x80));
    out.write(silence.data(), static_cast<std::streamsize>(silence.size()));
}

} // namespace

TEST_F(MessageLoop, TimerTicksCoalesce) {
    window.SetTimer(7, 80);
    PostTimerTick();
    PostTimerTick();
    app.PumpMessages();
    EXPECT_EQ(window.timers, std::vector<uint32_t>{7});
    // Once handled, the next tick comes through again.
    PostTimerTick();
    app.PumpMessages();
    app.PumpMessages();
    EXPECT_EQ(window.timers, (std::vector<uint32_t>{7, 7}));
    // A tick that a full queue refused is not pending: once the queue drains, ticks come again.
    FillQueue();
    PostTimerTick();
    app.PumpMessages();
    PostTimerTick();
    app.PumpMessages();
    EXPECT_EQ(window.timers, (std::vector<uint32_t>{7, 7, 7}));
    window.KillTimer();
}

// Every signal that asks the game to end, and the window's close, is one close request: the
// closing sequence then saves the switches. SIGHUP comes when the terminal that started the
// game is closed. It goes before input still queued, which is dropped, and a queue too full to
// take it does not lose it.
TEST_F(MessageLoop, EndingSignalsBecomeOneCloseRequestEachBeforeQueuedInput) {
    const auto push = [](SDL_Event e) { SDL_PushEvent(&e); };
    SDL_Event windowClose{};
    windowClose.type = SDL_WINDOWEVENT;
    windowClose.window.event = SDL_WINDOWEVENT_CLOSE;
    const struct {
        const char* name;
        std::function<void()> request;
    } requests[] = {
        {"SIGTERM", [] { ::raise(SIGTERM); }},
        {"SIGINT", [] { ::raise(SIGINT); }},
        {"SIGHUP", [] { ::raise(SIGHUP); }},
        {"SIGQUIT", [] { ::raise(SIGQUIT); }},
        {"the window's close", [&] { push(windowClose); }},
        {"a posted close", PostCloseRequest},
    };
    for (const bool full : {false, true}) {
        for (const auto& r : requests) {
            SCOPED_TRACE(std::string(r.name) + (full ? ", queue full" : ""));
            window.closes = window.inputs = 0;
            if (full) FillQueue();
            for (int i = 0; !full && i < 200; ++i)
                PostMouseButton(true, true, {10, 10});
            r.request();
            app.PumpMessages();
            EXPECT_EQ(window.closes, 1);
            EXPECT_EQ(window.inputs, 0);
        }
    }
}

TEST_F(MessageLoop, APendingTickDoesNotOutliveTheLoop) {
    PostTimerTick(); // never handled
    ShutdownPlatform();
    ASSERT_TRUE(InitPlatform());
    PostTimerTick();
    app.PumpMessages();
    EXPECT_EQ(window.timers.size(), 1u);
}

// When the display goes, the display library's end comes from whichever thread noticed. Nothing
// is left to save then: one line, status 1, at once, and nothing of ours runs on the way out
// (an exit handler would make the status 7).
namespace {

class DisplayLostApp : public Application {
public:
    bool InitInstance() override {
        m_mainWindow = &window;
        PostTimerTick(); // lost from within the running loop
        return true;
    }
    class Losing : public FrameWindow {
        void OnTimer(uint32_t) override { std::thread(EndForLostDisplay).join(); }
    } window;
};

} // namespace

TEST(MessageLoopDeath, ALostDisplayEndsAtOnceFromAnyThread) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const ServicesScope services({.manualTimers = true});
            if (!InitPlatform()) std::exit(2);
            std::atexit([] { ::_exit(7); });
            DisplayLostApp app;
            static_cast<void>(app.Run()); // the lost display ends the process first
        },
        ::testing::ExitedWithCode(1), "the connection to the display was lost; ending");
}

// The real player reports its stop through the loop, as the game expects of any player.
using RealMusicPlayer = MessageLoop;

TEST_F(RealMusicPlayer, ReportsOneStop) {
    const fs::path dir = FreshFolder("music");
    WriteSilence(dir / "quiet.wav", 30);
    {
        const std::unique_ptr<MusicPlayer> player = CreateMusicPlayer();
        player->Open((dir / "quiet.wav").string());
        player->Play();
        player->Stop();
        app.PumpMessages();
        ASSERT_EQ(window.notices.size(), 1u);
        EXPECT_EQ(window.notices[0].first, player.get());
        EXPECT_EQ(window.notices[0].second, kMciModeStop);
        // Stopping what no longer plays reports nothing more.
        player->Stop();
        app.PumpMessages();
        EXPECT_EQ(window.notices.size(), 1u);
    }
    fs::remove_all(dir);
}

// Bytes this process has read so far (read(2) and its kin), as the kernel counts them.
uint64_t BytesRead() {
    std::ifstream io("/proc/self/io");
    std::string key;
    uint64_t value = 0;
    while (io >> key >> value)
        if (key == "rchar:") return value;
    return 0;
}

TEST_F(RealMusicPlayer, IsSilentAfterAFailedOpen) {
    const fs::path dir = FreshFolder("music");
    WriteSilence(dir / "quiet.wav", 30);
    std::ofstream(dir / "broken.mp3") << "not music at all";
    // Two gigabytes (sparse, so no disk is taken) that are not music: zeros, a MIDI header, an MP3
    // tag claiming 256 MB. Read whole, as the decoders of other formats would, each takes
    // gigabytes of memory or the game; each is refused after its first megabytes.
    const std::pair<const char*, std::string> huge[] = {
        {"zeros.mp3", ""},
        {"midi.mp3", "MThd"},
        {"tag.mp3", std::string("ID3\3\0\0\x7f\x7f\x7f\x7f", 10)}};
    for (const auto& [name, head] : huge) {
        std::ofstream(dir / name, std::ios::binary) << head;
        fs::resize_file(dir / name, uint64_t{2} << 30);
    }
    {
        const std::unique_ptr<MusicPlayer> player = CreateMusicPlayer();
        for (const char* name : {"missing.mp3", "broken.mp3", "zeros.mp3", "midi.mp3", "tag.mp3"}) {
            const uint64_t before = BytesRead();
            player->Open((dir / name).string());
            player->Play();
            player->Stop();
            EXPECT_LT(BytesRead() - before, uint64_t{20} << 20) << name;
        }
        // Replacing a playing track with one that fails stops it without a report.
        player->Open((dir / "quiet.wav").string());
        player->Play();
        player->Open((dir / "missing.mp3").string());
        player->Stop();
        app.PumpMessages();
        EXPECT_TRUE(window.notices.empty());
    }
    fs::remove_all(dir);
}

TEST_F(RealMusicPlayer, ReportsNothingOnceDestroyed) {
    const fs::path dir = FreshFolder("music");
    WriteSilence(dir / "quiet.wav", 30);
    {
        std::unique_ptr<MusicPlayer> player = CreateMusicPlayer();
        player->Open((dir / "quiet.wav").string());
        player->Play();
        player.reset(); // a report now would name a player that is gone
    }
    app.PumpMessages();
    EXPECT_TRUE(window.notices.empty());
    fs::remove_all(dir);
}

// Damaged MP3 data is for the decoder to skip, not to tell about: only the game's own lines go
// to stderr.
TEST_F(RealMusicPlayer, PlaysADamagedTrackToItsEndWithoutAWordOnStderr) {
    const fs::path dir = FreshFolder("music");
    // MPEG-1 layer III frames of silence (128 kbit/s, 44.1 kHz), and junk after the second.
    const std::string frame = std::string("\xFF\xFB\x90\x64", 4) + std::string(413, '\0');
    std::ofstream(dir / "damaged.mp3", std::ios::binary)
        << frame << frame << std::string(300, '\x55') << frame << frame << frame;
    ::testing::internal::CaptureStderr();
    {
        const std::unique_ptr<MusicPlayer> player = CreateMusicPlayer();
        player->Open((dir / "damaged.mp3").string());
        player->Play();
        for (int i = 0; i < 1000 && window.notices.empty(); ++i) { // at most 10 s
            SDL_Delay(10);
            app.PumpMessages();
        }
    }
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(window.notices.size(), 1u); // played to its end
}

// The sound device rests (closed, its thread gone) after two quiet seconds, and the next effect
// or track opens it again and plays from its first sample, every sample in place.
namespace {

// A WAVE file at the device's own format (44,100 Hz, 2 channels, 16 bits), so that the mixer
// passes its samples through unchanged: sample i is 1000 + i, never silence.
std::string CountingWave(uint32_t frames) {
    std::string out = "RIFF";
    auto u32 = [&](uint32_t v) { out.append(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](uint16_t v) { out.append(reinterpret_cast<const char*>(&v), 2); };
    u32(36 + frames * 4);
    out += "WAVEfmt ";
    u32(16);
    u16(1);
    u16(2);
    u32(44100);
    u32(44100 * 4);
    u16(4);
    u16(16);
    out += "data";
    u32(frames * 4);
    for (uint32_t i = 0; i < frames * 2; ++i)
        u16(static_cast<uint16_t>(1000 + i));
    return out;
}

// What the mixer hands the device, from the first sample that is not silence.
class Tap {
public:
    Tap() { Mix_SetPostMix(Heard, this); }
    ~Tap() { Mix_SetPostMix(nullptr, nullptr); }
    // Waits (at most ten seconds) until `count` samples have been heard.
    std::vector<int16_t> First(size_t count) {
        for (int i = 0; i < 1000; ++i) {
            {
                const std::lock_guard<std::mutex> lock(m_mutex);
                if (m_heard.size() >= count) return {m_heard.begin(), m_heard.begin() + count};
            }
            SDL_Delay(10);
        }
        return {};
    }

private:
    static void Heard(void* self, Uint8* stream, int len) {
        auto* tap = static_cast<Tap*>(self);
        const std::lock_guard<std::mutex> lock(tap->m_mutex);
        const auto* s = reinterpret_cast<const int16_t*>(stream);
        for (int i = 0; i < len / 2; ++i)
            if (!tap->m_heard.empty() || s[i] != 0) tap->m_heard.push_back(s[i]);
    }
    std::mutex m_mutex;
    std::vector<int16_t> m_heard;
};

bool AudioThreadRuns() {
    for (const auto& task : fs::directory_iterator("/proc/self/task")) {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        std::getline(comm, name);
        if (name.rfind("SDLAudio", 0) == 0) return true;
    }
    return false;
}

} // namespace

TEST_F(RealMusicPlayer, AQuietDeviceRestsAndTheNextSoundPlaysFromItsFirstSample) {
    ManualClock clock;
    services->clock = &clock;
    const fs::path dir = FreshFolder("music");
    const uint32_t frames = 4410; // a tenth of a second
    const std::string wave = CountingWave(frames);
    std::ofstream(dir / "count.wav", std::ios::binary) << wave;
    std::vector<int16_t> expected;
    for (uint32_t i = 0; i < frames * 2; ++i)
        expected.push_back(static_cast<int16_t>(1000 + i));
    const std::unique_ptr<MusicPlayer> player = CreateMusicPlayer();
    for (const bool music : {false, true}) {
        SCOPED_TRACE(music ? "a track" : "an effect");
        // Quiet now, and two seconds later still: the device rests.
        app.PumpMessages();
        clock.AdvanceTicks(2000);
        app.PumpMessages();
        EXPECT_FALSE(AudioThreadRuns());

        Tap tap;
        if (music) {
            player->Open((dir / "count.wav").string());
            player->Play();
        } else {
            PlayWave(reinterpret_cast<const uint8_t*>(wave.data()), wave.size());
        }
        EXPECT_EQ(tap.First(expected.size()), expected);
        EXPECT_TRUE(AudioThreadRuns());
        if (music) player->Stop();
        app.PumpMessages();
    }
    services->clock = nullptr;
    fs::remove_all(dir);
}
