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
