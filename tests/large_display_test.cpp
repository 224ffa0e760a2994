// large_display_test.cpp: on displays larger than the play area the picture fills the display
// at any scale, whole blocks or fractional, and presses still reach their targets.
#include "screen_probe.h"

#include <SDL.h>

// Larger displays: the play area fills the display at s, composed at the art scale.
class LargeDisplay : public testing_support::ScreenProbeTest {
protected:
    void SetUp() override {
        ScreenProbeTest::SetUp();
        unsetenv("RANQUA_SCALE");
    }
    void StartOn(platform::Size physical) {
        displaySize = physical;
        services().display = physical;
        StartAndSettle();
    }
    // Input straight from the window system, in physical pixels.
    void Physical(Uint32 type, int32_t x, int32_t y) {
        SDL_Event e{};
        e.type = type;
        if (type == SDL_MOUSEMOTION) {
            e.motion.x = x;
            e.motion.y = y;
        } else {
            e.button.button = SDL_BUTTON_LEFT;
            e.button.x = x;
            e.button.y = y;
        }
        SDL_PushEvent(&e);
        Pump();
    }
    // The centre and the four edges of logical `r`, in physical pixels.
    std::vector<platform::Point> PhysicalProbes(const platform::Rect& r) const {
        const platform::Scale s = screen->ScaleFraction();
        const int32_t x0 = s.FirstPhysical(r.left), x1 = s.FirstPhysical(r.right) - 1;
        const int32_t y0 = s.FirstPhysical(r.top), y1 = s.FirstPhysical(r.bottom) - 1;
        const int32_t cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
        return {{cx, cy}, {x0, cy}, {x1, cy}, {cx, y0}, {cx, y1}};
    }
    // Logical `r` as the window shows it: each logical pixel a k x k block, of the back
    // buffer's colour (or, mid-animation, of one colour).
    ::testing::AssertionResult ShowsBlocks(int k, const platform::Rect& r, bool backBuffer) const {
        for (int32_t y = r.top * k; y < r.bottom * k; ++y)
            for (int32_t x = r.left * k; x < r.right * k; ++x) {
                const uint32_t want = backBuffer ? screen->m_backBuffer->Pixel(x / k, y / k)
                                                 : screen->PhysicalPixel(x / k * k, y / k * k);
                if (screen->PhysicalPixel(x, y) != want)
                    return ::testing::AssertionFailure()
                           << "physical (" << x << ", " << y << "): " << std::hex
                           << screen->PhysicalPixel(x, y) << " vs " << want;
            }
        return ::testing::AssertionSuccess();
    }
    std::vector<uint32_t> WholeWindow() const {
        const platform::Size size = screen->PhysicalSize();
        std::vector<uint32_t> pixels;
        for (int32_t y = 0; y < size.height; ++y)
            for (int32_t x = 0; x < size.width; ++x)
                pixels.push_back(screen->PhysicalPixel(x, y));
        return pixels;
    }

    // Start-up, a transition, the help screen and the level picture at a whole scale with
    // 1x art: every frame is whole blocks, and what settles is the back buffer enlarged.
    void CheckBlockEnlargement(int k) {
        services().artScale = 1;
        StartOn({800 * k, 600 * k});
        ASSERT_EQ(screen->Scale(), k);
        ASSERT_EQ(screen->PhysicalSize(), (platform::Size{800 * k, 600 * k}));
        EXPECT_TRUE(ShowsBlocks(k, screen->m_displayRect, true)) << "start-up";
        int frames = 0;
        auto everyFrame = [&](const platform::Rect& r) {
            probe.onRead = [&, r] {
                ++frames;
                ASSERT_TRUE(ShowsBlocks(k, r, false)) << "frame " << frames;
            };
        };
        everyFrame(game->m_boardRect);
        game->NewGame();
        // (The score waits in the back buffer for the next present.)
        EXPECT_TRUE(ShowsBlocks(k, game->m_boardRect, true)) << "new game";
        everyFrame(screen->ToScreenRect(layout::kHelpRect));
        screen->ShowHelp(true);
        EXPECT_TRUE(ShowsBlocks(k, screen->m_playRect, true)) << "help";
        screen->ShowHelp(false);
        game->m_pictureUnlocked = true;
        everyFrame(screen->m_playRect);
        screen->ShowLevelPicture(true);
        probe.onRead = nullptr;
        EXPECT_TRUE(ShowsBlocks(k, screen->m_playRect, true)) << "level picture";
        EXPECT_GT(frames, 20);
    }

    // At a fractional scale a press at the centre and at each physical edge of every menu
    // button and board cell reaches it.
    void CheckPressesReachTheirTargets(platform::Size physical, double s) {
        StartOn(physical);
        ASSERT_DOUBLE_EQ(screen->Scale(), s);
        for (const auto& b : screen->m_menuButtons)
            for (const platform::Point p : PhysicalProbes(b->m_rect)) {
                Physical(SDL_MOUSEMOTION, p.x, p.y);
                EXPECT_EQ(screen->m_hovered, b.get())
                    << "button " << static_cast<int>(b->m_id) << " at " << p.x << ", " << p.y;
            }
        Physical(SDL_MOUSEMOTION, 0, 0);
        game->NewGame();
        for (int c = 0; c < kColumns; ++c)
            for (int r = 0; r < kRows; ++r)
                game->m_cells[c][r].colour = (c + r) % kBallColours + 1;
        for (int c = 0; c < kColumns; ++c)
            for (int r = 0; r < kRows; ++r) {
                const platform::Rect cell =
                    layout::CellRect(c, r)
                        .Offset(game->m_boardRect.left, game->m_boardRect.top)
                        .Intersect(game->m_boardRect);
                for (const platform::Point p : PhysicalProbes(cell)) {
                    game->m_selected = {-1, 0};
                    Physical(SDL_MOUSEBUTTONDOWN, p.x, p.y);
                    Physical(SDL_MOUSEBUTTONUP, p.x, p.y);
                    EXPECT_EQ(game->m_selected, (platform::Point{c, r}))
                        << "cell " << c << ", " << r << " at " << p.x << ", " << p.y;
                }
            }
    }

    // Presenting the play area piece by piece shows exactly what one present of it shows:
    // no seam where the pieces meet, no gap between them.
    void CheckPiecesMeet(platform::Size physical) {
        StartOn(physical);
        game->NewGame();
        screen->OnPaint();
        const std::vector<uint32_t> whole = WholeWindow();
        screen->FillWindow(screen->m_displayRect, platform::Rgb(255, 0, 255));
        screen->m_presentRect = screen->m_displayRect;
        screen->Present(); // the border and the sliver at the edges
        screen->FillWindow(screen->m_playRect, platform::Rgb(255, 0, 255));
        const platform::Rect play = screen->m_playRect;
        for (int32_t y = play.top; y < play.bottom; y += 37)
            for (int32_t x = play.left; x < play.right; x += 41)
                screen->PresentRect(*screen->m_backBuffer, platform::Rect{x, y, x + 41, y + 37});
        screen->m_presentRect = screen->m_playRect;
        EXPECT_TRUE(whole == WholeWindow());
    }
};

TEST_F(LargeDisplay, TwiceTheSizeWithPlainArtDrawsEveryPixelAsABlock) {
    CheckBlockEnlargement(2);
}

TEST_F(LargeDisplay, ThreeTimesTheSizeWithPlainArtDrawsEveryPixelAsABlock) {
    CheckBlockEnlargement(3);
}

TEST_F(LargeDisplay, FullHighDefinitionFillsTheHeight) {
    StartOn({1920, 1080});
    EXPECT_DOUBLE_EQ(screen->Scale(), 1.8);
    EXPECT_EQ(platform::ArtScale(), 2);
    EXPECT_EQ(screen->m_displayRect, (platform::Rect{0, 0, 1066, 600}));
    EXPECT_EQ(screen->m_playRect, (platform::Rect{133, 0, 933, 600}));
    EXPECT_EQ(screen->m_backBuffer->PixelWidth(), 2132);
    EXPECT_EQ(screen->PhysicalSize(), (platform::Size{1920, 1080}));
    // The border keeps its colour to the very edge, the sliver beyond 1066 x 1.8 included.
    screen->OnPaint();
    for (const platform::Point p : {platform::Point{0, 0}, {200, 540}, {1919, 1079}, {1919, 0}})
        EXPECT_EQ(screen->PhysicalPixel(p.x, p.y), layout::kBorderColour) << p.x << ", " << p.y;
}

TEST_F(LargeDisplay, PressesReachEveryCellAndButtonAtOnePointEight) {
    CheckPressesReachTheirTargets({1920, 1080}, 1.8);
}

TEST_F(LargeDisplay, PressesReachEveryCellAndButtonAtOnePointTwentyEight) {
    CheckPressesReachTheirTargets({1024, 768}, 1.28);
}

TEST_F(LargeDisplay, PiecesMeetWithoutSeamOrGapAtOnePointEight) {
    CheckPiecesMeet({1920, 1080});
}

TEST_F(LargeDisplay, PiecesMeetWithoutSeamOrGapAtOnePointTwentyEight) {
    CheckPiecesMeet({1024, 768});
}
