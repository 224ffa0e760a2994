// large_display_test.cpp: on displays larger than the play area the picture fills the display
// at any scale, whole blocks or fractional, and presses still reach their targets.
#include "screen_probe.h"

#include "platform/config_file.h"

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

    // Logical `r` as the window shows it at s = art scale: the back buffer's pixels themselves.
    ::testing::AssertionResult ShowsBackBuffer(const platform::Rect& r) const {
        const int a = screen->m_backBuffer->Scale();
        for (int32_t y = r.top * a; y < r.bottom * a; ++y)
            for (int32_t x = r.left * a; x < r.right * a; ++x)
                if (screen->PhysicalPixel(x, y) != (screen->m_backBuffer->Row(y)[x] & 0xFFFFFF))
                    return ::testing::AssertionFailure() << "physical (" << x << ", " << y << ")";
        return ::testing::AssertionSuccess();
    }

    // Row 0: the five colours, an empty cell, and the selected ball.
    void SetBoardRow0() {
        for (int32_t c = 0; c < 7; ++c)
            for (int32_t r = 0; r < 6; ++r)
                game->m_cells[c][r].colour = 0;
        for (int32_t c = 0; c < 5; ++c)
            game->m_cells[c][0].colour = c + 1;
        game->m_cells[6][0].colour = 3;
        game->m_selected = {6, 0};
        game->DrawBoard();
    }

    // Presenting the play area piece by piece shows exactly what one present of it shows:
    // no seam where the pieces meet, no gap between them; in a window of `window` too.
    void CheckPiecesMeet(platform::Size physical, platform::Size window = {}) {
        StartOn(physical);
        if (window.width > 0) {
            screen->SetWindowMode({true, window});
            ASSERT_EQ(screen->PhysicalSize(), window);
        }
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

// The best games' table at each art scale: the empty table's own picture, and tables whose
// fields are filled cell by cell from the digit strip (numbers right-aligned with blank cells
// before them, the minus cell in dates, every cell of an unused row blank) with the mark
// beside the newest entry, compared pixel for pixel.
class BestTableAtScale : public LargeDisplay, public ::testing::WithParamInterface<int> {};

TEST_P(BestTableAtScale, FillsEveryCellOfItsFieldsFromTheDigitStrip) {
    const int k = GetParam();
    services().artScale = k;
    StartOn({800 * k, 600 * k});
    ASSERT_EQ(platform::ArtScale(), k);
    const platform::Rect place = screen->ToScreenRect(layout::kHelpRect);
    auto inTable = [](const platform::Rect& r) {
        return r.Offset(-layout::kHelpRect.left, -layout::kHelpRect.top);
    };
    std::string full;
    for (int i = 0; i < 9; ++i)
        full += std::to_string(900 - 90 * i) + " 2026-0" + std::to_string(i + 1) + "-1" +
                std::to_string(i) + " " + std::to_string(i + 7) + "\n";
    full += "1 1999-12-31 0\n";
    const struct {
        std::string file;
        std::vector<std::string> rows; // rank|score|date|level as the cells show them
    } tables[] = {
        {"", {}},
        {"2147483647 2026-12-08 15\n7 2026-01-02 0\n",
         {" 1|9999999|2026-12-08|15", " 2|      7|2026-01-02| 0"}},
        {full,
         {" 1|    900|2026-01-10| 7", " 2|    810|2026-02-11| 8", " 3|    720|2026-03-12| 9",
          " 4|    630|2026-04-13|10", " 5|    540|2026-05-14|11", " 6|    450|2026-06-15|12",
          " 7|    360|2026-07-16|13", " 8|    270|2026-08-17|14", " 9|    180|2026-09-18|15",
          "10|      1|1999-12-31| 0"}},
    };
    const layout::DigitField fields[] = {layout::kBestRank, layout::kBestScore, layout::kBestDate,
                                         layout::kBestLevel};
    for (const auto& t : tables) {
        SCOPED_TRACE(t.file);
        testing_support::WriteFile(BestGamesPath(), t.file);
        // The newest entry is the second of the table.
        screen->m_newestBest =
            t.rows.empty()
                ? std::nullopt
                : std::optional<BestMark>(BestMark{BestTable::Parse(t.file).Entries()[1], 0, 1});
        screen->ShowBest(true);
        platform::Surface want = testing_support::Picture(t.rows.empty() ? "NOBEST" : "BEST");
        for (int32_t row = 0; !t.rows.empty() && row < layout::kBestEntries; ++row) {
            const std::string text = row < static_cast<int32_t>(t.rows.size())
                                         ? t.rows[row]
                                         : "  |       |          |  ";
            size_t at = 0;
            for (const layout::DigitField& f : fields) {
                for (int32_t i = 0; i < f.cells; ++i, ++at) {
                    const char ch = text[at];
                    const int32_t d = ch == ' '   ? layout::kBlankDigit
                                      : ch == '-' ? layout::kMinusDigit
                                                  : ch - '0';
                    const platform::Rect cell =
                        inTable(layout::BestField(f, row)).Offset(i * layout::kDigitWidth, 0);
                    want.Copy({cell.left, cell.top, cell.left + layout::kDigitWidth, cell.bottom},
                              testing_support::PictureCell("DIGITS", layout::DigitCell(d),
                                                           layout::kDigitWidth, cell.Height()),
                              {0, 0});
                }
                ++at; // the bar between fields
            }
        }
        if (!t.rows.empty()) {
            const platform::Rect mark = inTable(layout::BestMarkPlace(1));
            want.Copy(mark,
                      testing_support::PictureCell("BESTMARK", layout::kBestMarkCell, mark.Width(),
                                                   mark.Height()),
                      {0, 0});
        }
        const platform::Surface shown = testing_support::Region(*screen->m_backBuffer, place);
        ASSERT_EQ(shown.PixelWidth(), want.PixelWidth());
        bool same = true;
        for (int32_t y = 0; same && y < shown.PixelHeight(); ++y)
            for (int32_t x = 0; same && x < shown.PixelWidth(); ++x)
                same = (shown.Row(y)[x] & 0xFFFFFF) == (want.Row(y)[x] & 0xFFFFFF);
        EXPECT_TRUE(same);
        screen->ShowBest(false);
    }
}

INSTANTIATE_TEST_SUITE_P(ArtScales, BestTableAtScale, ::testing::Values(1, 2, 3));

// 3x art in a window of 1.125: blocks of two art pixels are averaged before the filter.
TEST_F(LargeDisplay, PiecesMeetWithoutSeamOrGapInASmallWindow) {
    CheckPiecesMeet({3840, 2160}, {900, 675});
}

// The board cursor at 1x, 2x and 3x: rings of whole art pixels (dark, bright twice as wide,
// dark) inside the edge of its cell, over each ball colour, the selection and an empty cell,
// added to what is presented and never to the back buffer. The arrows stop at the board's
// edges, a held arrow's folded repeats count, and the mouse on the board hides the cursor.
class BoardCursor : public LargeDisplay, public ::testing::WithParamInterface<int> {};

TEST_P(BoardCursor, FramesItsCellInWholeArtPixels) {
    const int a = GetParam();
    StartOn({800 * a, 600 * a});
    ASSERT_EQ(platform::ArtScale(), a);
    game->NewGame();
    SetBoardRow0();
    auto key = [this](uint32_t k, int repeats = 0) {
        platform::PostKeyDown(k);
        for (int i = 0; i < repeats; ++i)
            platform::PostKeyDown(k, true);
        Pump();
    };
    const platform::Rect board = game->m_boardRect;
    const platform::Surface before = InBackBuffer(board);
    EXPECT_TRUE(ShowsBackBuffer(board)) << "hidden until a key is used";
    key(platform::kKeyLeft); // at the edge already: shown where it is
    ASSERT_EQ(screen->m_cursorCell, (platform::Point{0, 0}));
    key(platform::kKeyUp);
    for (int32_t c = 0; c < 7; ++c) {
        SCOPED_TRACE("cell " + std::to_string(c));
        if (c > 0) key(platform::kKeyRight);
        ASSERT_EQ(screen->m_cursorCell, (platform::Point{c, 0}));
        const platform::Rect cell = platform::Rect{40 * c, 0, 40 * c + 40, 40}
                                        .Offset(board.left, board.top)
                                        .Intersect(board);
        // Across the middle of each edge: the rings, then the cell as the back buffer has it.
        const int32_t midX = (cell.left + cell.right) / 2 * a,
                      midY = (cell.top + cell.bottom) / 2 * a;
        for (int32_t d = 0; d < 6 * a; ++d) {
            const platform::Point probes[] = {{cell.left * a + d, midY},
                                              {cell.right * a - 1 - d, midY},
                                              {midX, cell.top * a + d},
                                              {midX, cell.bottom * a - 1 - d}};
            for (const platform::Point p : probes) {
                const uint32_t want = d < a       ? platform::Rgb(8, 10, 16)
                                      : d < 3 * a ? platform::Rgb(255, 255, 255)
                                      : d < 4 * a ? platform::Rgb(8, 10, 16)
                                                  : screen->m_backBuffer->Row(p.y)[p.x] & 0xFFFFFF;
                ASSERT_EQ(screen->PhysicalPixel(p.x, p.y), want) << "depth " << d;
            }
        }
    }
    EXPECT_TRUE(testing_support::SamePixels(InBackBuffer(board), before))
        << "the back buffer never holds it";
    key(platform::kKeyRight, 3);
    key(platform::kKeyDown, 2); // folded: three cells at once
    EXPECT_EQ(screen->m_cursorCell, (platform::Point{6, 3}));
    key(platform::kKeyDown, 9);
    key(platform::kKeyRight);
    EXPECT_EQ(screen->m_cursorCell, (platform::Point{6, 5}));
    Move({board.left + 5, board.top + 5});
    EXPECT_FALSE(screen->m_cursorShown);
    EXPECT_TRUE(ShowsBackBuffer(board)) << "hidden again for the mouse";
}

INSTANTIATE_TEST_SUITE_P(ArtScales, BoardCursor, ::testing::Values(1, 2, 3));

// F11 makes a window of its own (three quarters of the display's scale at first); resized, the
// play area fills it as it fills a display, the border beside it where the window is wider,
// presses reach their cells, and the mode and size are kept. Alt+Return goes back.
TEST_F(LargeDisplay, AWindowOfItsOwnFitsThePlayAreaAndIsKept) {
    StartOn({1920, 1080});
    const platform::Rect logical = screen->m_displayRect;
    platform::PostKeyDown(platform::kKeyF11);
    Pump();
    EXPECT_EQ(screen->PhysicalSize(), (platform::Size{1080, 810}));
    const platform::ConfigFile settings(SettingsPath());
    EXPECT_EQ(settings.Read("FullScreen"), "Off");
    game->NewGame();
    for (const platform::Size size : {platform::Size{1000, 750}, platform::Size{1200, 750}}) {
        SCOPED_TRACE(std::to_string(size.width));
        platform::PostWindowSize(size);
        Pump();
        ASSERT_EQ(screen->PhysicalSize(), size);
        EXPECT_EQ(settings.Read("WindowSize"),
                  std::to_string(size.width) + "x" + std::to_string(size.height));
        // 1.25: the play area 1000 x 750, centred; the border beside it.
        const int32_t left = (size.width - 1000) / 2;
        for (const platform::Point p : {platform::Point{left - 1, 375}, {left + 1000, 375}}) {
            if (p.x >= 0 && p.x < size.width) {
                EXPECT_EQ(screen->PhysicalPixel(p.x, p.y), layout::kBorderColour) << p.x;
            }
        }
        EXPECT_EQ(screen->WindowPixel(screen->m_playRect.left + 1, 300),
                  screen->PhysicalPixel(left + 1, 375));
        EXPECT_NE(screen->PhysicalPixel(left + 2, 375), layout::kBorderColour);
        EXPECT_NE(screen->PhysicalPixel(left + 997, 375), layout::kBorderColour);
        // A press in the window lands on the cell under it.
        const platform::Point cell{game->m_boardRect.left + 40 * 4 + 20,
                                   game->m_boardRect.top + 40 * 2 + 20};
        game->m_cells[4][2].colour = 2;
        game->m_selected = {-1, 0};
        Press(cell);
        Release(cell);
        EXPECT_EQ(game->m_selected, (platform::Point{4, 2}));
    }
    EXPECT_EQ(screen->m_displayRect, logical) << "the game's own display stays";
    platform::PostKeyDown(platform::kKeyReturn, false, platform::kFlagAlt);
    Pump();
    EXPECT_EQ(screen->PhysicalSize(), (platform::Size{1920, 1080}));
    EXPECT_EQ(settings.Read("FullScreen"), "On");
    EXPECT_EQ(settings.Read("WindowSize"), "1200x750");
}
