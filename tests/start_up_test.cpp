// start_up_test.cpp: the start-up as the player sees it: the logo, the background, the menu,
// where the play area sits, and the refusal of too small a display.
#include "screen_probe.h"

#include "app/command_line.h"

#include <SDL.h>

#include <cstdio>
#include <vector>

using namespace testing_support;

using StartUp = ScreenProbeTest;

TEST_F(StartUp, BeginsWithNoGameTheLogoSoundAndTheBorderOnTheWindow) {
    Start();
    EXPECT_TRUE(game->m_gameOver);
    EXPECT_EQ(game->m_boardRect, (Rect{443, 256, 720, 493}));
    ASSERT_FALSE(sounds.played.empty());
    EXPECT_EQ(sounds.played.front(), "LOGO");
    EXPECT_TRUE(messages.empty());
    // The border keeps its dark fill on the window after the forced repaint.
    EXPECT_EQ(screen->WindowPixel(5, 5), layout::kBorderColour);
}

// Waiting for the player is no reason to keep the display awake.
TEST_F(StartUp, LeavesTheScreenSaverAllowed) {
    Start();
    EXPECT_TRUE(SDL_IsScreenSaverEnabled());
}

// The main screen on its own, without the application around it, so that what the
// constructor presents can be told apart from the first paint.
TEST_F(StartUp, ShowsTheLogoFrameThenTheBackgroundAndTheButtonsOnlyWithThePaint) {
    alignas(CInterface) unsigned char storage[sizeof(CInterface)];
    auto* building = reinterpret_cast<CInterface*>(storage);
    bool sawLogo = false;
    probe.onRead = [&] {
        if (sawLogo) return;
        sawLogo = true;
        // The first counter read starts the background transition: the logo frame is up.
        const platform::FrameWindow* w = building;
        Surface logo(300, 300);
        for (int32_t y = 0; y < 300; ++y)
            for (int32_t x = 0; x < 300; ++x)
                logo.Row(y)[x] = w->WindowPixel(362 + x, 234 + y);
        EXPECT_TRUE(SamePixels(logo, Picture("LOGO")));
        for (platform::Point p : {platform::Point{0, 0}, {1023, 767}, {113, 85}, {361, 400}})
            EXPECT_EQ(w->WindowPixel(p.x, p.y), layout::kBorderColour) << p.x << "," << p.y;
        EXPECT_EQ(sounds.played, std::vector<std::string>{"LOGO"});
    };
    CInterface* s = new (storage) CInterface("RanquaWindow");
    probe.onRead = nullptr;
    ASSERT_TRUE(sawLogo);
    screen = s;

    // The transition left the background on the window; the buttons are only in the back buffer.
    const Rect play = s->m_playRect;
    EXPECT_TRUE(SamePixels(OnWindow(play), Picture("BACK")));
    for (const auto& b : s->m_menuButtons)
        EXPECT_TRUE(SamePixels(InBackBuffer(b->m_rect), ButtonRow(b.get(), 0)))
            << static_cast<int32_t>(b->m_id);
    for (platform::Point p : {platform::Point{0, 0}, {1023, 767}, {111, 84}, {912, 683}})
        EXPECT_EQ(s->m_backBuffer->Pixel(p.x, p.y), layout::kBorderColour);

    s->OnPaint();
    EXPECT_TRUE(SamePixels(OnWindow(s->m_displayRect), *s->m_backBuffer));
    for (const auto& b : s->m_menuButtons)
        EXPECT_TRUE(SamePixels(OnWindow(b->m_rect), ButtonRow(b.get(), 0)))
            << static_cast<int32_t>(b->m_id);
    EXPECT_TRUE(messages.empty());
    s->~CInterface();
    screen = nullptr;
}

TEST_F(StartUp, CentresThePlayAreaWithHalvesRoundedDown) {
    struct Case {
        platform::Size display;
        Rect play;
    };
    for (const Case& c :
         {Case{{1024, 768}, {112, 84, 912, 684}}, Case{{1365, 768}, {282, 84, 1082, 684}},
          Case{{801, 601}, {0, 0, 800, 600}}, Case{{800, 600}, {0, 0, 800, 600}}}) {
        services().display = c.display;
        auto s = std::make_unique<CInterface>("RanquaWindow");
        EXPECT_EQ(s->m_playRect, c.play) << c.display.width;
        EXPECT_EQ(s->m_displayRect, (Rect{0, 0, c.display.width, c.display.height}));
        EXPECT_EQ(s->m_linkPosition, (platform::Point{c.play.left + 131, c.play.top + 18}));
        EXPECT_EQ(s->ToScreenRect({0, 0, 277, 237}),
                  (Rect{c.play.left, c.play.top, c.play.left + 277, c.play.top + 237}));
        const platform::SurfacePtr whole = s->CreateSurface(Rect{});
        EXPECT_EQ(whole->Width(), 800);
        EXPECT_EQ(whole->Height(), 600);
    }
    EXPECT_TRUE(messages.empty());
}

// The display check ends the process, so it runs in a child process of its own.
TEST(SmallDisplay, ShowsTheMessageAndEndsWithCodeZeroBeforeAnySetting) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // The child re-runs this test; it finds the folder the parent made through the variable.
    if (!std::getenv("RANQUA_TEST_SMALL_HOME")) {
        const auto home =
            std::filesystem::temp_directory_path() / ("ranqua-small-" + std::to_string(::getpid()));
        std::filesystem::create_directories(home);
        setenv("RANQUA_TEST_SMALL_HOME", home.c_str(), 1);
    }
    const std::filesystem::path home = std::getenv("RANQUA_TEST_SMALL_HOME");
    const char* oldHome = std::getenv("HOME");
    const std::string savedHome = oldHome ? oldHome : "";
    setenv("HOME", home.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    for (platform::Size size : {platform::Size{799, 600}, platform::Size{800, 599}}) {
        EXPECT_EXIT(
            {
                const platform::ServicesScope services({
                    .messageBox =
                        [](const std::string& text) {
                            std::fprintf(stderr, "message box: [%s]\n", text.c_str());
                        },
                    .display = size,
                });
                if (!platform::InitPlatform()) std::exit(2);
                CGameApp app;
                static_cast<void>(app.InitInstance()); // returning from here fails the test
            },
            ::testing::ExitedWithCode(0), "message box: \\[Minimum resulution is 800x600\\]");
    }
    // Nothing reached the settings store.
    EXPECT_FALSE(std::filesystem::exists(home / ".config"));
    std::filesystem::remove_all(home);
    unsetenv("RANQUA_TEST_SMALL_HOME");
    if (oldHome) setenv("HOME", savedHome.c_str(), 1);
}

// The command line is read before anything opens; what it asks for, or why it is refused.
TEST(CommandLineOptions, ChooseTheModeOrAreRefused) {
    using A = CommandLine::Action;
    struct Case {
        std::vector<const char*> args;
        A action;
        StartMode mode;
        platform::Size size;
    };
    const Case cases[] = {
        {{}, A::kRun, StartMode::kSaved, {}},
        {{"--fullscreen"}, A::kRun, StartMode::kFullScreen, {}},
        {{"--window"}, A::kRun, StartMode::kWindow, {}},
        {{"--window=1000x750"}, A::kRun, StartMode::kWindow, {1000, 750}},
        {{"--window=800X600"}, A::kRun, StartMode::kWindow, {800, 600}},
        {{"--window=1000x750", "--fullscreen"}, A::kRun, StartMode::kFullScreen, {}}, // last wins
        {{"--version"}, A::kVersion, StartMode::kSaved, {}},
        {{"--window", "-h"}, A::kHelp, StartMode::kWindow, {}},
        {{"--help", "--bogus"}, A::kHelp, StartMode::kSaved, {}},
        {{"--bogus", "--help"}, A::kError, StartMode::kSaved, {}},
        {{"1000x750"}, A::kError, StartMode::kSaved, {}},
        {{"--window=799x600"}, A::kError, StartMode::kSaved, {}},
        {{"--window=800x599"}, A::kError, StartMode::kSaved, {}},
        {{"--window=1000"}, A::kError, StartMode::kSaved, {}},
        {{"--window=1000x750x2"}, A::kError, StartMode::kSaved, {}},
        {{"--window=x750"}, A::kError, StartMode::kSaved, {}},
        {{"--window=99999999999x750"}, A::kError, StartMode::kSaved, {}},
        {{"--window="}, A::kError, StartMode::kSaved, {}},
        {{"--window 1000x750"}, A::kError, StartMode::kSaved, {}},
    };
    for (const Case& c : cases) {
        std::vector<const char*> argv{"ranqua"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        const CommandLine got = ParseCommandLine(static_cast<int>(argv.size()), argv.data());
        const std::string what = c.args.empty() ? "(none)" : c.args[0];
        EXPECT_EQ(got.action, c.action) << what;
        EXPECT_EQ(got.mode, c.mode) << what;
        EXPECT_EQ(got.windowSize, c.size) << what;
        EXPECT_EQ(got.error.empty(), c.action != A::kError) << what;
        EXPECT_EQ(got.error.find('\n'), std::string::npos) << what; // one line
    }
    EXPECT_EQ(VersionText(), std::string("ranqua ") + RANQUA_TEST_VERSION + "\n");
}
