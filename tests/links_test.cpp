// links_test.cpp: the internet links: the link file and its pictures, the rotation on the timer
// (which sleeps through the ticks that have nothing to do), and presses that open an address.
#include "screen_probe.h"

#include "app/link_file.h"
#include "scoped_env.h"

#include <sys/stat.h>
#include <turbojpeg.h>

using namespace testing_support;

namespace {

namespace fs = std::filesystem;

class InternetLinks : public ScreenProbeTest {
protected:
    size_t LinkIndex() const {
        for (size_t i = 0; i < screen->m_links.size(); ++i)
            if (screen->m_links[i].get() == screen->m_currentLink) return i;
        return screen->m_links.size();
    }

    // The link the next draw of the generator picks; the generator is left where it was.
    size_t NextLinkChoice(uint32_t seed) {
        platform::SeedRand(seed);
        const size_t k = static_cast<size_t>(platform::Rand()) % screen->m_links.size();
        platform::SeedRand(seed);
        return k;
    }
};

TEST_F(InternetLinks, FirstTickDrawsALinkAndThenOneEvery7000Milliseconds) {
    LayOutLinks(kThreeLinks);
    probe.SetTicks(1000);
    StartAndSettle();
    ASSERT_EQ(screen->m_links.size(), 3u);
    EXPECT_EQ(screen->m_currentLink, screen->m_links[2].get()); // the last one read
    EXPECT_EQ(screen->m_links[1]->m_address, "https://two.example/");
    EXPECT_EQ(screen->m_nextLinkTime, 1000u);

    probe.AdvanceTicks(80);
    const size_t chosen = NextLinkChoice(31);
    const char* files[] = {"sdl.jpg", "debian.jpg", "cairo.jpg"};
    CJpegImage picture;
    ASSERT_TRUE(picture.LoadFromFile(std::string("Internet/") + files[chosen]));
    Surface expected(picture.m_width, picture.m_height);
    picture.Draw(&expected);
    const Rect at = screen->m_links[chosen]->m_rect;
    EXPECT_EQ(at, (Rect{243, 102, 243 + picture.m_width, 102 + picture.m_height}));
    // The link reaches the window at once, and only the link field does.
    const Rect below{at.left, at.bottom, at.right, at.bottom + 20};
    const Surface windowBelow = OnWindow(below);
    screen->m_backBuffer->Fill(below, Rgb(1, 2, 3));
    Tick();
    EXPECT_EQ(LinkIndex(), chosen);
    EXPECT_EQ(screen->m_nextLinkTime, 8080u);
    EXPECT_TRUE(SamePixels(InBackBuffer(at), expected));
    EXPECT_TRUE(SamePixels(OnWindow(at), expected));
    EXPECT_TRUE(SamePixels(OnWindow(below), windowBelow));

    // A press inside the picture opens its address; the rectangle's right edge is outside.
    Move({at.right - 1, at.bottom - 1});
    Press({at.right - 1, at.bottom - 1});
    Release({at.right - 1, at.bottom - 1});
    Press({at.right, at.top});
    EXPECT_EQ(opened, std::vector<std::string>{screen->m_currentLink->m_address});

    probe.SetTicks(8080);
    Tick();
    EXPECT_EQ(screen->m_nextLinkTime, 8080u); // not yet later than the stored time
    probe.SetTicks(8081);
    Tick();
    EXPECT_EQ(screen->m_nextLinkTime, 15081u);

    // Over the help or the best games, which put back the old field when they go, nothing is
    // presented.
    const Surface shown = OnWindow(at);
    uint32_t ticks = 22082;
    for (bool* overlay : {&screen->m_helpShown, &screen->m_bestShown}) {
        const int now = static_cast<int>(LinkIndex());
        platform::SeedRand(FindSeed([now] { return platform::Rand() % 3 != now; }));
        *overlay = true;
        probe.SetTicks(ticks);
        Tick();
        *overlay = false;
        EXPECT_NE(static_cast<int>(LinkIndex()), now);
        EXPECT_TRUE(SamePixels(OnWindow(at), shown));
        ticks += 7001;
    }
}

TEST_F(InternetLinks, ALinkThatCannotBeOpenedIsToldToThePlayer) {
    LayOutLinks(kThreeLinks);
    StartAndSettle();
    services().shell = nullptr; // the real opener, which is nowhere on this PATH
    const testing_support::ScopedEnv path("PATH", Root().c_str());
    const Rect at = screen->m_currentLink->m_rect;
    Press(Centre(at));
    Release(Centre(at));
    EXPECT_EQ(messages, std::vector<std::string>{"The link could not be opened: " +
                                                 screen->m_currentLink->m_address});
}

TEST_F(InternetLinks, RotationKeepsItsPeriodAcrossTheTickCountWrap) {
    LayOutLinks(kThreeLinks);
    probe.SetTicks(0xFFFFF000u);
    StartAndSettle();
    probe.AdvanceTicks(80);
    Tick();
    const uint32_t next = 0xFFFFF050u + 7000u; // wrapped round to 2984
    ASSERT_EQ(screen->m_nextLinkTime, next);
    for (uint32_t t : {0xFFFFF0A0u, 0xFFFFFFFFu, 0u, next}) {
        probe.SetTicks(t);
        Tick();
        EXPECT_EQ(screen->m_nextLinkTime, next) << t;
    }
    probe.SetTicks(next + 1);
    Tick();
    EXPECT_EQ(screen->m_nextLinkTime, next + 1 + 7000);
}

TEST_F(InternetLinks, LinkFileWordsArePairedAndCutAt255Characters) {
    const std::string longAddress(300, 'a');
    const std::string longName = std::string(300, 'n') + ".jpg";
    LayOutLinks("sdl.jpg " + longAddress + "\n" + longName + " https://two.example/\n" +
                "debian.jpg https://three.example/ cairo.jpg");
    StartAndSettle();
    ASSERT_EQ(screen->m_links.size(), 3u); // the last name has no address
    EXPECT_EQ(screen->m_links[0]->m_address, longAddress.substr(0, 255));
    EXPECT_EQ(screen->m_links[1]->m_address, "https://two.example/");
    EXPECT_EQ(screen->m_links[2]->m_address, "https://three.example/");
    EXPECT_EQ(screen->m_currentLink, screen->m_links[2].get());
    // The cut name names no file: reported, and the link has nothing to show or press.
    EXPECT_EQ(messages, std::vector<std::string>{"Error opening JPEG file"});
    EXPECT_TRUE(screen->m_links[1]->m_rect.IsEmpty());
    EXPECT_EQ(screen->m_links[0]->m_rect.TopLeft(), (Point{243, 102}));
    EXPECT_FALSE(screen->m_links[0]->m_rect.IsEmpty());
}

TEST_F(InternetLinks, NoLinkFolderMeansNoLinksAndTheSameWorkingFolder) {
    // An internet.txt beside the game, not in Internet/, is not the link file.
    WriteFile("internet.txt", "x.jpg https://wrong.example/");
    WriteFile("../MUSIC/GAME/a.mp3", "");
    const fs::path start = fs::current_path();
    probe.SetTicks(500);
    StartAndSettle();
    EXPECT_EQ(fs::current_path(), start);
    EXPECT_TRUE(screen->m_links.empty());
    EXPECT_EQ(screen->m_currentLink, nullptr);
    EXPECT_TRUE(messages.empty());
    const Rect at{243, 102, 363, 142};
    const Surface before = InBackBuffer(at);
    probe.AdvanceTicks(20000);
    Tick();
    EXPECT_TRUE(SamePixels(InBackBuffer(at), before));
    Press(Centre(at));
    EXPECT_TRUE(opened.empty());
    // Music still opens from the folder beside the working folder.
    EXPECT_EQ(music.calls, (std::vector<std::string>{"open ../MUSIC/GAME/a.mp3", "play"}));
}

TEST_F(InternetLinks, LinkFolderWithoutItsFileLeavesTheWorkingFolderAsItWas) {
    fs::create_directories("Internet");
    const fs::path start = fs::current_path();
    StartAndSettle();
    EXPECT_EQ(fs::current_path(), start);
    EXPECT_TRUE(screen->m_links.empty());
}

// A grey JPEG picture of `w` x `h`, lighter to the right and down.
std::string GreyJpeg(int w, int h) {
    std::vector<uint8_t> grey(static_cast<size_t>(w) * h);
    for (size_t i = 0; i < grey.size(); ++i)
        grey[i] = static_cast<uint8_t>(100 + (i % w) / 32 + (i / w) / 32);
    tjhandle tj = tjInitCompress();
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    EXPECT_EQ(tjCompress2(tj, grey.data(), w, 0, h, TJPF_GRAY, &jpeg, &size, TJSAMP_GRAY, 90, 0),
              0);
    std::string bytes(reinterpret_cast<char*>(jpeg), size);
    tjFree(jpeg);
    tjDestroy(tj);
    return bytes;
}

// Files in the player's link folder that would hang, cover or exhaust the game: a FIFO as a
// picture (opened without blocking and refused), a 4096 x 4096 picture (decoded only as far as
// the link field shows it, also for clicks, and once for every name that reaches it), one a
// pixel wider (not decoded at all), hundreds of missing pictures (one box, each named on
// stderr), and thousands of pairs (the first 1,000 pairs used).
TEST_F(InternetLinks, LinkPicturesThatAreNotFilesOrTooLargeOrTooManyAreContained) {
    LayOutLinks("");
    ASSERT_EQ(::mkfifo("Internet/fifo.jpg", 0600), 0);
    WriteFile("Internet/big.jpg", GreyJpeg(4096, 4096));
    WriteFile("Internet/wide.jpg", GreyJpeg(4097, 8));
    fs::create_symlink("big.jpg", "Internet/linked.jpg");
    fs::create_hard_link("Internet/big.jpg", "Internet/hard.jpg");
    std::string list = "fifo.jpg https://fifo.example/ big.jpg https://big.example/\n";
    std::vector<std::string> spellings{"linked.jpg", "hard.jpg", "../Internet/big.jpg"};
    for (int i = 0; i < 60; ++i) { // ./big.jpg, .//big.jpg, .///big.jpg, ././big.jpg ...
        std::string name;
        for (int k = 0; k <= i / 3; ++k)
            name += "." + std::string(static_cast<size_t>(1 + i % 3), '/');
        spellings.push_back(name + "big.jpg");
    }
    for (const std::string& name : spellings)
        list += name + " https://" + name + ".example/\n";
    list += "wide.jpg https://wide.example/\n";
    for (int i = 0; i < 300; ++i)
        list += "missing" + std::to_string(i) + ".jpg https://missing.example/\n";
    for (int i = 0; i < 1100; ++i)
        list += "sdl.jpg https://" + std::to_string(i) + ".example/\n";
    WriteFile("Internet/internet.txt", list);
    ::testing::internal::CaptureStderr();
    StartAndSettle();
    const std::string said = ::testing::internal::GetCapturedStderr();

    ASSERT_EQ(screen->m_links.size(), kMaxLinkPairs);
    EXPECT_EQ(screen->m_links.back()->m_address, "https://633.example/");
    EXPECT_EQ(messages, std::vector<std::string>{"Error opening JPEG file"}); // the FIFO's
    EXPECT_TRUE(screen->m_links[0]->m_rect.IsEmpty());
    const Rect field = screen->ToScreenRect(layout::kLinkRect);
    const CInternetLink& big = *screen->m_links[1];
    EXPECT_EQ(big.m_rect, field);
    // Of 48 MB of pixels only the field's part is kept, shared by every name of the file.
    EXPECT_EQ(big.m_picture->m_width, layout::kLinkRect.Width());
    EXPECT_EQ(big.m_picture->m_height, layout::kLinkRect.Height());
    for (size_t i = 0; i < spellings.size(); ++i)
        EXPECT_EQ(screen->m_links[2 + i]->m_picture, big.m_picture) << spellings[i];
    const size_t wide = 2 + spellings.size();
    EXPECT_TRUE(screen->m_links[wide]->m_rect.IsEmpty());
    for (size_t i = wide + 1; i <= wide + 300; ++i)
        ASSERT_TRUE(screen->m_links[i]->m_rect.IsEmpty()) << i;
    for (size_t i = wide + 302; i < screen->m_links.size(); ++i)
        ASSERT_EQ(screen->m_links[i]->m_picture, screen->m_links[wide + 301]->m_picture) << i;
    EXPECT_NE(said.find("Internet/wide.jpg: not a JPEG picture of at most 4096 x 4096"),
              std::string::npos);
    EXPECT_NE(said.find("Internet/missing299.jpg: No such file or directory\n"), std::string::npos);

    // The big picture is drawn within the field only, and a press on NEW starts a game.
    const Rect below{field.left, field.bottom, field.right, field.bottom + 100};
    const Surface before = InBackBuffer(below);
    screen->m_currentLink = screen->m_links[1].get();
    screen->m_links[1]->Draw(screen->m_backBuffer.get());
    EXPECT_TRUE(SamePixels(InBackBuffer(below), before));
    EXPECT_EQ(screen->m_backBuffer->Pixel(field.right - 1, field.bottom - 1) & 0xFFFFFF,
              platform::Rgb(106, 106, 106));
    Click(MenuCommand::kNew);
    EXPECT_TRUE(opened.empty());
    EXPECT_FALSE(game->m_gameOver);
}

// At an art scale of 2 or 3 a link picture comes from NAME@2x.jpg or NAME@3x.jpg when that is
// exactly the field at that scale; a player's own picture without one (or with one of another
// size) is the 1x picture resampled. The field stays 176 x 44 either way.
TEST_F(InternetLinks, LinkPicturesAreDrawnForTheArtScaleWhenTheyCanBe) {
    for (const int a : {2, 3}) {
        services().artScale = a;
        LayOutLinks("sdl.jpg https://sdl.example/ own.jpg https://own.example/ "
                    "odd.jpg https://odd.example/");
        for (const char* own : {"own.jpg", "odd.jpg"})
            WriteFile(std::string("Internet/") + own, GreyJpeg(176, 44));
        WriteFile("Internet/odd@" + std::to_string(a) + "x.jpg", GreyJpeg(176 * a + 1, 44 * a));
        StartAndSettle();
        ASSERT_EQ(screen->m_links.size(), 3u);
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(screen->m_links[i]->m_picture->m_scale, i == 0 ? a : 1) << a << " " << i;
            EXPECT_EQ(screen->m_links[i]->m_rect, screen->ToScreenRect(layout::kLinkRect));
        }
        app.ExitInstance();
        started = false;
    }
    EXPECT_TRUE(messages.empty());
}

// The kept link pictures take bounded memory: past the bound a picture drawn for the art scale
// gives way to its 1x picture, and at last none is decoded (the link stays, empty; stderr says
// so, no box does).
TEST_F(InternetLinks, LinkPicturesTakeBoundedMemory) {
    LayOutLinks("");
    LinkPictures pictures(3, "", size_t{1} << 20);
    std::vector<int> scales;
    ::testing::internal::CaptureStderr();
    for (int i = 0; i < 16; ++i) {
        const std::string name = "Internet/c" + std::to_string(i);
        fs::copy_file("Internet/sdl.jpg", name + ".jpg");
        fs::copy_file("Internet/sdl@3x.jpg", name + "@3x.jpg");
        const auto picture = pictures.Get(name + ".jpg");
        scales.push_back(picture->m_width == 0 ? 0 : picture->m_scale);
    }
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_LE(pictures.Bytes(), size_t{1} << 20);
    EXPECT_EQ(scales, (std::vector<int>{3, 3, 3, 3, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0}));
    EXPECT_NE(said.find("c15.jpg: no room: the link pictures take 998 KiB"), std::string::npos);
    EXPECT_TRUE(messages.empty());
}

TEST_F(InternetLinks, ALinkFileThatIsAFifoGivesNoLinksWithoutWaiting) {
    fs::create_directories("Internet");
    ASSERT_EQ(::mkfifo("Internet/internet.txt", 0600), 0);
    StartAndSettle();
    EXPECT_TRUE(screen->m_links.empty());
    EXPECT_TRUE(messages.empty());
}

} // namespace

// The timer sleeps through the ticks that would change nothing. A script of hovers, fades, link
// changes, a game, a long handler and the level picture, across the tick count's wrap, draws the
// same frames and takes the same random numbers, step by step, as with a timer that wakes for
// every tick of 80 ms.
TEST_F(InternetLinks, SleepingTimerDrawsWhatATimerWakingEveryTickDraws) {
    LayOutLinks(kThreeLinks);
    enum Kind { kIdle, kBusy, kMove, kClick, kCell, kSpace };
    constexpr auto kOff = static_cast<MenuCommand>(0); // on no button
    struct Step {
        uint32_t until; // ms after the start; an idle step pumps on every 40 ms up to it
        Kind kind;
        MenuCommand button = kOff; // kMove, kClick
        Point cell{};              // kCell
    };
    const Step script[] = {
        {500, kIdle},
        {523, kMove, MenuCommand::kNew},
        {1000, kIdle},
        {1031, kMove, MenuCommand::kHelp},
        {2000, kIdle},
        {2010, kMove},
        {9000, kIdle},
        {9003, kClick, MenuCommand::kNew},
        {9500, kIdle},
        {9520, kCell, kOff, {0, 0}},
        {9600, kCell, kOff, {3, 2}},
        {9700, kCell, kOff, {6, 5}},
        {9800, kCell, kOff, {1, 4}},
        {9900, kIdle},
        {17100, kBusy}, // a handler that held the loop over a link change
        {17300, kIdle},
        {17333, kSpace},
        {17500, kIdle},
        {17517, kClick},
        {17600, kMove, MenuCommand::kHelp},
        {17900, kBusy}, // ... and over fades
        {17950, kMove},
        {26000, kIdle},
    };
    const uint32_t start = 0xFFFFE000u; // the tick count wraps 8 s in
    struct Run {
        std::vector<uint64_t> trace;
        uint32_t ticks = 0;
    };
    auto run = [&](bool sleeps) {
        Run out;
        ProbeClock clock{1000, 100};
        clock.SetSeconds(seed);
        clock.SetTicks(start);
        services().clock = &clock;
        services().manualTimers = false;
        services().wakeEveryTick = !sleeps;
        platform::ShutdownPlatform(); // a fresh queue
        EXPECT_TRUE(platform::InitPlatform());
        CGameApp runApp;
        EXPECT_TRUE(runApp.InitInstance());
        CInterface* s = runApp.MainScreen();
        auto hash = [&] {
            uint64_t h = 1469598103934665603ull;
            auto mix = [&h](uint64_t v) { h = (h ^ v) * 1099511628211ull; };
            const Surface& back = *s->m_backBuffer;
            for (int32_t y = 0; y < back.PixelHeight(); ++y)
                for (int32_t x = 0; x < back.PixelWidth(); ++x)
                    mix(back.Row(y)[x] & 0xFFFFFF);
            for (int32_t y = 0; y < s->m_displayHeight; y += 8)
                for (int32_t x = 0; x < s->m_displayWidth; x += 8)
                    mix(s->WindowPixel(x, y));
            return h;
        };
        clock.onRead = [&] { out.trace.push_back(hash()); }; // each frame of an animation
        auto at = [&](const Step& step) {
            if (step.kind == kCell)
                return Point{s->m_game->m_boardRect.left + 40 * step.cell.x + 20,
                             s->m_game->m_boardRect.top + 40 * step.cell.y + 20};
            for (const auto& b : s->m_menuButtons)
                if (b->m_id == step.button) return Centre(b->m_rect);
            return kNowhere;
        };
        const uint32_t ticksBefore = platform::DeliveredTicks();
        uint32_t now = 0;
        for (const Step& step : script) {
            do {
                now = step.kind == kIdle ? std::min(now / 40 * 40 + 40, step.until) : step.until;
                clock.SetTicks(start + now);
                if (step.kind == kMove) platform::PostMouseMove(at(step));
                if (step.kind == kClick || step.kind == kCell) {
                    platform::PostMouseMove(at(step));
                    platform::PostMouseButton(true, true, at(step));
                    platform::PostMouseButton(true, false, at(step));
                }
                if (step.kind == kSpace) platform::PostKeyDown(platform::kKeySpace);
                runApp.PumpMessages(step.kind != kBusy);
                out.trace.push_back(hash());
                out.trace.push_back(uint64_t{static_cast<uint32_t>(platform::Rand())} << 32 |
                                    s->m_nextLinkTime);
            } while (step.kind == kIdle && now < step.until);
        }
        out.ticks = platform::DeliveredTicks() - ticksBefore;
        runApp.ExitInstance();
        services().clock = &probe;
        services().manualTimers = true;
        services().wakeEveryTick = false;
        return out;
    };
    const Run plain = run(false);
    const Run sleeping = run(true);
    ASSERT_EQ(plain.trace.size(), sleeping.trace.size());
    for (size_t i = 0; i < plain.trace.size(); ++i)
        ASSERT_EQ(plain.trace[i], sleeping.trace[i]) << "first difference at entry " << i;
    // About 230 ticks of 80 ms (the long handler holds back 90); the sleeping timer took only
    // those with work.
    EXPECT_GT(plain.ticks, 200u);
    EXPECT_LT(sleeping.ticks, plain.ticks / 4);
}
