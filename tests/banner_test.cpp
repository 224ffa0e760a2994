// banner_test.cpp: the status banner fades in over the timer ticks, and a new banner fades in
// over whatever the last one left.
#include "screen_probe.h"

using namespace testing_support;

using Banner = ScreenProbeTest;

TEST_F(Banner, FadesInOverFiveTicksAndRestartsOverWhatIsShown) {
    StartAndSettle();
    const Rect r = screen->ToScreenRect(layout::kBannerRect);
    const Surface under = OnWindow(r);
    const Surface exitCaption = Picture("M_BUTT5");
    screen->ShowBanner("M_BUTT5");
    EXPECT_EQ(screen->m_bannerAlpha, 5);
    EXPECT_TRUE(SamePixels(OnWindow(r), under)); // only prepared
    for (int alpha : {55, 105, 155, 205, 255}) {
        Tick();
        EXPECT_EQ(screen->m_bannerAlpha, alpha);
        EXPECT_TRUE(SamePixels(OnWindow(r), Blended(exitCaption, under, alpha))) << alpha;
    }
    EXPECT_TRUE(SamePixels(OnWindow(r), exitCaption));

    // A new banner two ticks into a fade starts again over the half-faded picture.
    screen->ShowBanner("M_BUTT4");
    Tick();
    Tick();
    const Surface halfway = OnWindow(r);
    screen->ShowBanner("M_BUTT8");
    EXPECT_TRUE(SamePixels(*screen->m_bannerBackground, halfway));
    const Surface soundCaption = Picture("M_BUTT8");
    for (int alpha : {55, 105, 155, 205, 255}) {
        Tick();
        EXPECT_TRUE(SamePixels(OnWindow(r), Blended(soundCaption, halfway, alpha))) << alpha;
    }
    EXPECT_EQ(screen->m_bannerAlpha, 255);

    // An idle tick draws and presents nothing.
    screen->m_backBuffer->Fill(r, Rgb(1, 2, 3));
    Tick();
    EXPECT_TRUE(SamePixels(OnWindow(r), soundCaption));
    EXPECT_EQ(screen->m_backBuffer->Pixel(r.left, r.top), Rgb(1, 2, 3));
}

// A game that enters the best games' table has its banner follow the loss banner once that has
// stood opaque for the hold; a banner started meanwhile (a hover) makes it wait again. The
// timer has work pending all along, and none once it is shown.
TEST_F(Banner, TheBestGamesBannerFollowsTheLossBannerOnceItHasBeenRead) {
    StartAndSettle();
    const Rect r = screen->ToScreenRect(layout::kBannerRect);
    EXPECT_FALSE(screen->HasPendingWork());
    for (const auto& [score, follow] : {std::pair{164, "M_BEST"}, std::pair{100, "M_TOPTEN"}}) {
        SCOPED_TRACE(follow);
        screen->ShowBanner("M_LOSE");
        screen->GameEnded(score, 2);
        const bool hover = score == 100;
        bool hovered = false;
        for (int tick = 0; tick < 5 + layout::kFollowBannerTicks; ++tick) {
            ASSERT_TRUE(screen->HasPendingWork());
            if (hover && !hovered && tick == 10) {
                Move(Centre(Button(MenuCommand::kExit)->m_rect));
                Move(kNowhere); // the clear banner now fades in, and the hold starts anew
                hovered = true;
                tick = 0;
            }
            Tick();
            ASSERT_EQ(screen->m_followBanner, follow) << "tick " << tick;
        }
        EXPECT_TRUE(SamePixels(OnWindow(r), Picture(hover ? "M_CLEAR" : "M_LOSE")));
        Tick();
        EXPECT_TRUE(screen->m_followBanner.empty());
        EXPECT_TRUE(SamePixels(*screen->m_bannerSurface, Picture(follow)));
        for (int i = 0; i < 5; ++i)
            Tick();
        EXPECT_TRUE(SamePixels(OnWindow(r), Picture(follow)));
        while (screen->HasPendingWork()) // the exit button's fade
            Tick();
    }
    EXPECT_EQ(ReadFile(BestGamesPath()), "164 1970-01-01 2\n100 1970-01-01 2\n");
}
