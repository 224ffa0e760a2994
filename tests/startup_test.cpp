// startup_test.cpp: start-up and shutdown of the real main screen and game, headless.
#include "screen_fixture.h"

using testing_support::ScreenTest;

TEST_F(ScreenTest, StartsWithNoGameAndTheLogoSound) {
    Start();
    EXPECT_TRUE(game->m_gameOver);
    EXPECT_EQ(screen->m_playRect, (platform::Rect{112, 84, 912, 684}));
    EXPECT_EQ(game->m_boardRect, (platform::Rect{443, 256, 720, 493}));
    ASSERT_FALSE(sounds.played.empty());
    EXPECT_EQ(sounds.played.front(), "LOGO");
    EXPECT_TRUE(messages.empty());
    // The border keeps its dark fill on the window after the forced repaint.
    EXPECT_EQ(screen->WindowPixel(5, 5), platform::Rgb(2, 30, 27));
}
