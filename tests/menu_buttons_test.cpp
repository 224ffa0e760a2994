// menu_buttons_test.cpp: the menu buttons: hover captions, the rows they show and their fades on
// the timer.
#include "screen_probe.h"

using namespace testing_support;

namespace {

// The first value of the generator's sequence from `seed`, mod 30: the step a button fade adds
// to 30.
int NextFadeStep(uint32_t seed) {
    platform::SeedRand(seed);
    const int r = platform::Rand() % 30;
    platform::SeedRand(seed);
    return r;
}

} // namespace

using MenuButtons = ScreenProbeTest;

// Every button in list order at its place, cut from its cell, resting and under the mouse,
// with its caption: the seven of the menu as they have always been, and the best games' last.
TEST_F(MenuButtons, EveryButtonShowsItsCellAtItsPlaceAndItsCaption) {
    StartAndSettle();
    const struct {
        MenuCommand id;
        Rect place; // play area
        Rect cell;  // row 0 of "BUT"
        const char* banner;
    } buttons[] = {
        {MenuCommand::kExit, {594, 541, 705, 560}, {222, 0, 333, 19}, "M_BUTT5"},
        {MenuCommand::kHelp, {672, 35, 741, 54}, {444, 0, 514, 19}, "M_BUTT4"},
        {MenuCommand::kSave, {372, 541, 483, 560}, {0, 0, 111, 19}, "M_BUTT3"},
        {MenuCommand::kLoad, {483, 541, 594, 560}, {111, 0, 222, 19}, "M_BUTT2"},
        {MenuCommand::kNew, {261, 541, 372, 560}, {333, 0, 444, 19}, "M_BUTT1"},
        {MenuCommand::kMusic, {657, 61, 729, 80}, {584, 0, 656, 19}, "M_BUTT7"},
        {MenuCommand::kSound, {583, 61, 655, 80}, {656, 0, 728, 19}, "M_BUTT8"},
        {MenuCommand::kBest, {600, 35, 670, 54}, {514, 0, 584, 19}, "M_BUTT9"},
    };
    ASSERT_EQ(screen->m_menuButtons.size(), std::size(buttons));
    for (size_t i = 0; i < std::size(buttons); ++i) {
        const auto& want = buttons[i];
        SCOPED_TRACE(want.banner);
        CPicButton* b = screen->m_menuButtons[i].get();
        ASSERT_EQ(b->m_id, want.id);
        const Rect place = screen->ToScreenRect(want.place);
        ASSERT_EQ(b->m_rect, place);
        auto row = [&](int32_t k) {
            return PictureCell("BUT", want.cell.Offset(0, 19 * k), place.Width(), place.Height());
        };
        EXPECT_TRUE(SamePixels(OnWindow(place), row(b->m_restState)));
        Move(Centre(place));
        EXPECT_TRUE(SamePixels(OnWindow(place), row(2)));
        EXPECT_TRUE(SamePixels(*screen->m_bannerSurface, Picture(want.banner)));
        Move(kNowhere);
    }
}

TEST_F(MenuButtons, HoveringShowsTheCaptionAndLeavingClearsIt) {
    StartAndSettle();
    CPicButton* exit = Button(MenuCommand::kExit);
    Move(Centre(exit->m_rect));
    EXPECT_EQ(screen->m_hovered, exit);
    EXPECT_EQ(exit->m_state, CPicButton::kHighlighted);
    EXPECT_TRUE(SamePixels(OnWindow(exit->m_rect), ButtonRow(exit, 2)));
    EXPECT_TRUE(SamePixels(*screen->m_bannerSurface, Picture("M_BUTT5")));
    Tick();
    Tick();
    EXPECT_EQ(screen->m_bannerAlpha, 105);
    Move({exit->m_rect.left, exit->m_rect.top});
    EXPECT_EQ(screen->m_bannerAlpha, 5); // a move within the button starts the fade again

    Move(kNowhere);
    EXPECT_EQ(screen->m_hovered, nullptr);
    EXPECT_EQ(exit->m_fade, 10);
    EXPECT_EQ(exit->m_state, CPicButton::kHighlighted);
    EXPECT_TRUE(
        SamePixels(OnWindow(exit->m_rect), Blended(ButtonRow(exit, 0), ButtonRow(exit, 2), 10)));
    EXPECT_TRUE(SamePixels(*screen->m_bannerSurface, Picture("M_CLEAR")));
    EXPECT_EQ(screen->m_bannerAlpha, 5);
}

TEST_F(MenuButtons, ButtonShowsAFadeOnlyWhileHighlighted) {
    StartAndSettle();
    CPicButton* exit = Button(MenuCommand::kExit);
    exit->m_state = CPicButton::kNormal;
    exit->m_fade = 100;
    exit->Draw(screen->m_backBuffer.get(), screen->m_backBuffer.get());
    EXPECT_EQ(exit->m_fade, 0);
    EXPECT_TRUE(SamePixels(InBackBuffer(exit->m_rect), ButtonRow(exit, 0)));

    exit->m_state = CPicButton::kHighlighted;
    exit->m_fade = 100;
    exit->Draw(screen->m_backBuffer.get(), screen->m_backBuffer.get());
    EXPECT_EQ(exit->m_fade, 100);
    EXPECT_TRUE(SamePixels(InBackBuffer(exit->m_rect),
                           Blended(ButtonRow(exit, 0), ButtonRow(exit, 2), 100)));

    // The help button's cell is a pixel wider than the button: the row is squeezed, while the
    // fade overlay shows the cell's left part 1:1.
    CPicButton* help = Button(MenuCommand::kHelp);
    help->m_state = CPicButton::kHighlighted;
    help->m_fade = 100;
    help->Draw(screen->m_backBuffer.get(), screen->m_backBuffer.get());
    const Surface cell = PictureCell("BUT", help->RowRect(0), 70, 19);
    EXPECT_TRUE(SamePixels(InBackBuffer(help->m_rect),
                           Blended(Region(cell, {0, 0, 69, 19}), ButtonRow(help, 2), 100)));
}

TEST_F(MenuButtons, FadeReachingExactly244TakesOneMoreTick) {
    StartAndSettle();
    CPicButton* exit = Button(MenuCommand::kExit);
    const Surface rest = ButtonRow(exit, 0);
    int r = NextFadeStep(4242);
    exit->m_state = CPicButton::kHighlighted;
    exit->m_fade = 244 - 30 - r;
    Tick();
    EXPECT_EQ(exit->m_fade, 244);
    EXPECT_EQ(exit->m_state, CPicButton::kHighlighted);
    EXPECT_TRUE(SamePixels(OnWindow(exit->m_rect), Blended(rest, ButtonRow(exit, 2), 244)));
    Tick();
    EXPECT_EQ(exit->m_fade, 0);
    EXPECT_EQ(exit->m_state, CPicButton::kNormal);
    EXPECT_TRUE(SamePixels(OnWindow(exit->m_rect), rest));

    // One more than that ends on the tick itself, with no overlay left.
    r = NextFadeStep(777);
    exit->m_state = CPicButton::kHighlighted;
    exit->m_fade = 245 - 30 - r;
    Tick();
    EXPECT_EQ(exit->m_fade, 0);
    EXPECT_EQ(exit->m_state, CPicButton::kNormal);
    EXPECT_TRUE(SamePixels(OnWindow(exit->m_rect), rest));
}

TEST_F(MenuButtons, SwitchedOnToggleFadesBackToItsPressedRow) {
    StartAndSettle();
    CPicButton* sound = Button(MenuCommand::kSound);
    ASSERT_EQ(sound->m_restState, 1);
    Move(Centre(sound->m_rect));
    Move(kNowhere);
    ASSERT_EQ(sound->m_fade, 10);
    int ticks = 0;
    while (sound->m_fade != 0 && ticks < 20) {
        Tick();
        ++ticks;
    }
    EXPECT_GE(ticks, 4);
    EXPECT_LE(ticks, 8);
    EXPECT_EQ(sound->m_state, 1);
    EXPECT_TRUE(SamePixels(OnWindow(sound->m_rect), ButtonRow(sound, 1)));
}

TEST_F(MenuButtons, ButtonsFadingTogetherAdvanceInOneTickInListOrder) {
    StartAndSettle();
    CPicButton* exit = Button(MenuCommand::kExit);
    CPicButton* save = Button(MenuCommand::kSave);
    CPicButton* best = Button(MenuCommand::kBest);
    Move(Centre(best->m_rect));
    Move(Centre(save->m_rect)); // leaving best starts its fade, leaving save starts save's
    Move(Centre(exit->m_rect));
    Move(kNowhere); // and leaving exit starts exit's
    ASSERT_EQ(exit->m_fade, 10);
    ASSERT_EQ(save->m_fade, 10);
    ASSERT_EQ(best->m_fade, 10);
    // Exit comes before save in the menu list, so it draws first; best, added last, draws
    // after the others.
    platform::SeedRand(99);
    const int first = platform::Rand() % 30, second = platform::Rand() % 30;
    const int third = platform::Rand() % 30;
    platform::SeedRand(99);
    Tick();
    EXPECT_EQ(exit->m_fade, 40 + first);
    EXPECT_EQ(save->m_fade, 40 + second);
    EXPECT_EQ(best->m_fade, 40 + third);
    EXPECT_TRUE(SamePixels(OnWindow(exit->m_rect),
                           Blended(ButtonRow(exit, 0), ButtonRow(exit, 2), 40 + first)));
    EXPECT_TRUE(SamePixels(OnWindow(save->m_rect),
                           Blended(ButtonRow(save, 0), ButtonRow(save, 2), 40 + second)));
}

// Each menu key does what a completed click on its button does, once: the click, then the
// command. None runs while the help or the level picture is up; Escape and F1 close the help.
TEST_F(MenuButtons, KeysRunTheirCommandOnceWithTheClick) {
    using platform::kFlagControl;
    StartAndSettle();
    Click(MenuCommand::kNew);
    Move(kNowhere);
    auto key = [this](uint32_t k, uint32_t flags = 0, bool repeat = false) {
        sounds.played.clear();
        platform::PostKeyDown(k, repeat, flags);
        Pump();
        return sounds.played;
    };
    using Sounds = std::vector<std::string>;
    const bool music = screen->m_musicOn;
    EXPECT_EQ(key('N', kFlagControl), (Sounds{"BTN", "W_NEW"}));
    EXPECT_EQ(key('S', kFlagControl), (Sounds{"BTN", "W_SAVE"}));
    EXPECT_EQ(key('O', kFlagControl), (Sounds{"BTN", "W_LOAD"}));
    EXPECT_EQ(key('L', kFlagControl), (Sounds{"BTN", "W_LOAD"}));
    EXPECT_EQ(key('M'), Sounds{"BTN"});
    EXPECT_NE(screen->m_musicOn, music);
    EXPECT_EQ(key('E'), Sounds{"BTN"}); // the click sounds before the switch goes off
    EXPECT_FALSE(screen->m_soundOn);
    EXPECT_EQ(key('E'), Sounds{});
    EXPECT_TRUE(screen->m_soundOn);
    // Not menu keys: other modifiers, or a key held down.
    for (const auto& [k, flags] : std::vector<std::pair<uint32_t, uint32_t>>{
             {'N', 0}, {'M', kFlagControl}, {'N', platform::kFlagAlt}, {'E', kFlagControl}})
        EXPECT_EQ(key(k, flags), Sounds{}) << k << " " << flags;
    EXPECT_EQ(key('N', kFlagControl, true), Sounds{});

    // Under the help only Escape and F1 do anything: they close it, silently. Under the level
    // picture only the space bar does: it hides it.
    using KeyPress = std::pair<uint32_t, uint32_t>;
    const KeyPress idle[] = {{'N', kFlagControl},
                             {'Q', kFlagControl},
                             {'M', 0},
                             {platform::kKeyRight, 0},
                             {platform::kKeyReturn, 0}};
    for (const uint32_t closer : {platform::kKeyEscape, platform::kKeyF1}) {
        EXPECT_EQ(key(platform::kKeyF1), Sounds{"BTN"});
        for (const auto& [k, flags] : idle)
            EXPECT_EQ(key(k, flags), Sounds{}) << k;
        EXPECT_EQ(key(' '), Sounds{});
        EXPECT_TRUE(screen->m_helpShown);
        EXPECT_EQ(screen->m_cursorCell, (Point{0, 0}));
        EXPECT_EQ(key(closer), Sounds{});
        EXPECT_FALSE(screen->m_helpShown);
    }
    game->m_pictureUnlocked = true;
    key(' ');
    ASSERT_TRUE(screen->m_pictureShown);
    for (const auto& [k, flags] : idle)
        EXPECT_EQ(key(k, flags), Sounds{}) << k;
    EXPECT_EQ(key(platform::kKeyF1), Sounds{});
    EXPECT_EQ(key(platform::kKeyEscape), Sounds{});
    EXPECT_TRUE(screen->m_pictureShown);
    EXPECT_FALSE(screen->m_helpShown);
    key(' ');
    EXPECT_FALSE(screen->m_pictureShown);

    EXPECT_EQ(key('Q', kFlagControl), Sounds{"BTN"});
    EXPECT_TRUE(app.QuitPosted());
}
