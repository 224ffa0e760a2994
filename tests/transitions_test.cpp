// transitions_test.cpp: the five transition effects, frame by frame, as the window shows
// them.
#include "screen_probe.h"

#include <algorithm>

using namespace testing_support;

namespace {

constexpr uint32_t kOld = Rgb(10, 10, 10);
constexpr uint32_t kAround = Rgb(90, 0, 90);

// A new picture whose every pixel tells where it came from (blue 0xC0 is never old).
Surface Pattern(int32_t w, int32_t h) {
    Surface s(w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
            s.Row(y)[x] = Rgb(static_cast<uint8_t>(40 + (x * 7) % 200),
                              static_cast<uint8_t>(40 + (y * 3) % 200), 0xC0);
    return s;
}

// Alpha of the new picture at an offset (dx, dy) from the rectangle's corner: 0 old, 255 new.
using AlphaAt = std::function<int(int32_t dx, int32_t dy)>;

class Transitions : public ScreenProbeTest {
protected:
    void SetUp() override {
        ScreenProbeTest::SetUp();
        StartAndSettle();
        // A 200 x 100 rectangle: 30 strips of 6 pixels, the rightmost 20 columns in none.
        rect = screen->ToScreenRect({100, 100, 300, 200});
        area = {rect.left - 3, rect.top - 3, rect.right + 3, rect.bottom + 3};
    }

    // Old picture in the rectangle, a frame around it, all on the window too.
    void PaintOld() {
        screen->m_backBuffer->Fill(area, kAround);
        screen->m_backBuffer->Fill(rect, kOld);
        screen->Present();
    }

    // Runs the transition with the counter moving 1/8 s per read, so the frames come at
    // progress 0, 1/8, ..., 7/8; returns what the window showed of `area` after each frame.
    std::vector<Surface> Run(int effectSeed, int alpha, float seconds = 1.0f) {
        PaintOld();
        std::vector<Surface> frames;
        bool first = true;
        probe.SetStep(125);
        probe.onRead = [&] {
            if (!first) frames.push_back(OnWindow(area));
            first = false; // the read that starts the loop comes before any frame
        };
        platform::SeedRand(static_cast<uint32_t>(effectSeed));
        screen->ShowTransition(&source, alpha, rect, sourcePoint, seconds);
        probe.onRead = nullptr;
        return frames;
    }

    ::testing::AssertionResult FrameIs(const Surface& frame, const AlphaAt& alphaAt) const {
        for (int32_t y = area.top; y < area.bottom; ++y)
            for (int32_t x = area.left; x < area.right; ++x) {
                const uint32_t got = frame.Pixel(x - area.left, y - area.top);
                uint32_t want = kAround;
                if (rect.Contains({x, y})) {
                    const int32_t dx = x - rect.left, dy = y - rect.top;
                    const int a = alphaAt(dx, dy);
                    const uint32_t fresh = source.Pixel(sourcePoint.x + dx, sourcePoint.y + dy);
                    want = a == 0 ? kOld : BlendPixel(fresh, kOld, a);
                }
                if (got != want)
                    return ::testing::AssertionFailure()
                           << "at (" << x - rect.left << ", " << y - rect.top << ") got "
                           << std::hex << got << ", want " << want;
            }
        return ::testing::AssertionSuccess();
    }

    ::testing::AssertionResult EndsWithTheNewPicture() const {
        return FrameIs(OnWindow(area), [](int32_t, int32_t) { return 255; });
    }

    Rect rect, area;
    Point sourcePoint{7, 5};
    Surface source = Pattern(240, 160); // larger than the rectangle: nothing may spill out
};

TEST_F(Transitions, CrossFadeRisesTowardTheAlphaArgumentYetEndsOpaque) {
    const auto frames = Run(SeedForEffect(0), 128);
    ASSERT_EQ(frames.size(), 8u);
    for (int k = 0; k < 8; ++k)
        EXPECT_TRUE(FrameIs(frames[k], [k](int32_t, int32_t) { return 16 * k; })) << k;
    EXPECT_TRUE(EndsWithTheNewPicture());
    EXPECT_TRUE(SamePixels(InBackBuffer(rect), Region(source, {7, 5, 207, 105})));
}

TEST_F(Transitions, OpeningBoxGrowsFromTheCentre) {
    const auto frames = Run(SeedForEffect(1), 255);
    ASSERT_EQ(frames.size(), 8u);
    for (int k = 0; k < 8; ++k) {
        // Shrunk by trunc(W * rem / 2) and trunc(H * rem / 2), rem = (8 - k) / 8.
        const int32_t mx = 200 * (8 - k) / 16, my = 100 * (8 - k) / 16;
        EXPECT_TRUE(FrameIs(frames[k], [&](int32_t dx, int32_t dy) {
            return dx >= mx && dx < 200 - mx && dy >= my && dy < 100 - my ? 255 : 0;
        })) << k;
    }
    EXPECT_TRUE(EndsWithTheNewPicture());
}

TEST_F(Transitions, WipeGrowsFromTheEdgeItsDirectionNames) {
    // At progress 2/8 the band covers a quarter, from the right, bottom, left or top edge.
    const AlphaAt bands[4] = {
        [](int32_t dx, int32_t) { return dx >= 150 ? 255 : 0; },
        [](int32_t, int32_t dy) { return dy >= 75 ? 255 : 0; },
        [](int32_t dx, int32_t) { return dx < 50 ? 255 : 0; },
        [](int32_t, int32_t dy) { return dy < 25 ? 255 : 0; },
    };
    for (int direction = 0; direction < 4; ++direction) {
        const auto frames = Run(SeedForEffect(2, direction), 255);
        ASSERT_EQ(frames.size(), 8u);
        EXPECT_TRUE(FrameIs(frames[0], [](int32_t, int32_t) { return 0; })) << direction;
        EXPECT_TRUE(FrameIs(frames[2], bands[direction])) << direction;
        EXPECT_TRUE(EndsWithTheNewPicture()) << direction;
    }
}

TEST_F(Transitions, FallingStripsGrowDownwardsAndStopAtTheBottom) {
    const auto frames = Run(SeedForEffect(3), 255);
    ASSERT_EQ(frames.size(), 8u);
    for (int k = 0; k < 8; ++k) {
        // Strip i (6 wide) is trunc(H * k/8 + (q * i) / n) high, at most H; by k = 7 the
        // right-hand strips would reach below the rectangle without the cap.
        EXPECT_TRUE(FrameIs(frames[k], [k](int32_t dx, int32_t dy) {
            if (dx >= 180) return 0;
            const int32_t height = std::min(100 * k / 8 + 25 * (dx / 6) / 30, 100);
            return dy < height ? 255 : 0;
        })) << k;
    }
    EXPECT_TRUE(EndsWithTheNewPicture());
}

TEST_F(Transitions, StripFadeSweepsFromLeftToRight) {
    const auto frames = Run(SeedForEffect(4), 255);
    ASSERT_EQ(frames.size(), 8u);
    for (int k = 0; k < 8; ++k) {
        EXPECT_TRUE(FrameIs(frames[k], [k](int32_t dx, int32_t) {
            if (dx >= 180) return 0;
            return std::clamp(355 * k / 8 - 75 * (dx / 6) / 30, 0, 255);
        })) << k;
    }
    EXPECT_TRUE(EndsWithTheNewPicture());
}

TEST_F(Transitions, NarrowRectangleHasOneStripPerColumn) {
    rect = screen->ToScreenRect({100, 100, 120, 200});
    area = {rect.left - 3, rect.top - 3, rect.right + 3, rect.bottom + 3};
    const auto frames = Run(SeedForEffect(3), 255);
    ASSERT_EQ(frames.size(), 8u);
    for (int k : {0, 3})
        EXPECT_TRUE(FrameIs(frames[k], [k](int32_t dx, int32_t dy) {
            return dy < 100 * k / 8 + 25 * dx / 20 ? 255 : 0;
        })) << k;
}

// An empty rectangle means the play area: 30 strips of 26 pixels, and the 20 columns left over
// at the right change only with the final copy.
TEST_F(Transitions, PlayAreaStripsAre26WideAndTheLast20ColumnsWaitForTheEnd) {
    const Rect play = screen->m_playRect;
    screen->m_backBuffer->Fill(play, kOld);
    screen->Present();
    Surface full = Pattern(800, 600);
    const Rect leftCols{play.left, play.top, play.left + 60, play.bottom};
    const Rect rightCols{play.right - 30, play.top, play.right, play.bottom};
    std::vector<Surface> lefts, rights;
    probe.SetStep(125);
    probe.onRead = [&] {
        lefts.push_back(OnWindow(leftCols));
        rights.push_back(OnWindow(rightCols));
    };
    platform::SeedRand(SeedForEffect(3));
    screen->ShowTransition(&full, 255, Rect{}, {0, 0}, 1.0f);
    probe.onRead = nullptr;
    ASSERT_EQ(lefts.size(), 9u); // the start, then one read after each of 8 frames
    for (int k = 0; k < 8; ++k) {
        auto check = [&](const Surface& got, int32_t firstColumn) {
            for (int32_t y = 0; y < 600; ++y)
                for (int32_t x = 0; x < got.Width(); ++x) {
                    const int32_t column = firstColumn + x;
                    const bool fresh =
                        column < 780 && y < std::min(75 * k + 5 * (column / 26), 600);
                    const uint32_t want = fresh ? full.Pixel(column, y) : kOld;
                    if (got.Pixel(x, y) != want) {
                        ADD_FAILURE() << "frame " << k << " column " << column << " row " << y;
                        return;
                    }
                }
        };
        check(lefts[k + 1], 0);
        check(rights[k + 1], 770);
    }
    EXPECT_TRUE(SamePixels(OnWindow(rightCols), Region(full, {770, 0, 800, 600})));
}

TEST_F(Transitions, ZeroDurationCopiesAtOnce) {
    for (float seconds : {0.0f, -1.0f}) {
        const int readsBefore = probe.reads;
        const auto frames = Run(SeedForEffect(4), 255, seconds);
        EXPECT_TRUE(frames.empty());
        EXPECT_EQ(probe.reads - readsBefore, 1);
        EXPECT_TRUE(EndsWithTheNewPicture());
    }
}

TEST_F(Transitions, FramesAreAtLeastOneHundredthOfASecondApart) {
    PaintOld();
    probe.SetStep(4); // three reads to pass 10 counts
    int frames = 0;
    uint32_t last = screen->WindowPixel(rect.left + 50, rect.top + 50);
    probe.onRead = [&] {
        const uint32_t now = screen->WindowPixel(rect.left + 50, rect.top + 50);
        if (now != last) ++frames;
        last = now;
    };
    platform::SeedRand(SeedForEffect(0));
    screen->ShowTransition(&source, 255, rect, sourcePoint, 1.0f);
    probe.onRead = nullptr;
    // A cross-fade frame every 12 counts changes the pixel each time: about 1000 / 12 frames.
    EXPECT_GE(frames, 80);
    EXPECT_LE(frames, 84);
}

// Exit brings a black display in, but each frame only reaches the window within the play area.
TEST_F(Transitions, WholeDisplayTransitionShowsItsFramesInThePlayAreaOnly) {
    const Rect play = screen->m_playRect;
    const std::vector<Point> border{{0, 0}, {play.left - 1, 300}, {play.right, 300}, {500, 767}};
    const Point middle = Centre(play);
    std::vector<uint32_t> middles;
    probe.onRead = [&] {
        for (Point p : border)
            EXPECT_EQ(screen->WindowPixel(p.x, p.y), layout::kBorderColour);
        middles.push_back(screen->WindowPixel(middle.x, middle.y));
    };
    platform::SeedRand(SeedForEffect(0));
    Surface black(screen->m_displayWidth, screen->m_displayHeight);
    screen->ShowTransition(&black, 255, screen->m_displayRect, {0, 0}, 2.0f);
    probe.onRead = nullptr;
    ASSERT_EQ(middles.size(), 21u);                         // 20 frames of a 2-second fade
    EXPECT_NE(middles[1], middles[20]);                     // the play area darkened
    EXPECT_EQ(screen->WindowPixel(middle.x, middle.y), 0u); // and ended black
    for (Point p : border) {
        EXPECT_EQ(screen->WindowPixel(p.x, p.y), layout::kBorderColour);
        EXPECT_EQ(screen->m_backBuffer->Pixel(p.x, p.y), 0u);
    }
    screen->OnPaint();
    for (Point p : border)
        EXPECT_EQ(screen->WindowPixel(p.x, p.y), 0u);
}

} // namespace

namespace {

// The smallest rectangle holding every pixel where `a` and `b` differ (`origin` is their corner).
Rect Changed(const Surface& a, const Surface& b, Point origin) {
    Rect box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (int32_t y = 0; y < a.Height(); ++y)
        for (int32_t x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y)) {
                box.left = std::min(box.left, origin.x + x);
                box.top = std::min(box.top, origin.y + y);
                box.right = std::max(box.right, origin.x + x + 1);
                box.bottom = std::max(box.bottom, origin.y + y + 1);
            }
    return box;
}

} // namespace

TEST_F(Transitions, LevelPictureZoomsInLandsFivePixelsLowerAndZoomsBackOut) {
    Click(MenuCommand::kNew);
    platform::PostMouseMove({150, 400});
    Pump();
    game->m_pictureUnlocked = true;
    // On the 1024 x 768 display the play area starts at (112, 84).
    const Rect around{300, 95, 670, 580};
    const Surface before = OnWindow(around);
    std::vector<Rect> frames;
    probe.SetStep(250); // frames at 0, 1/4, 1/2 and 3/4 of the second
    probe.onRead = [&] { frames.push_back(Changed(OnWindow(around), before, around.TopLeft())); };
    screen->ShowLevelPicture(true);
    const Rect placed = Changed(OnWindow(around), before, around.TopLeft());
    screen->ShowLevelPicture(false);
    probe.onRead = nullptr;
    ASSERT_EQ(frames.size(), 10u); // start, 4 frames showing, start, 4 frames hiding
    const std::vector<Rect> in{
        {326, 101, 436, 251}, {320, 100, 492, 329}, {315, 100, 549, 409}, {309, 99, 605, 488}};
    // The first hiding frame is drawn over the picture as placed, whose last 5 rows still show.
    const std::vector<Rect> out{
        {304, 99, 662, 573}, {309, 99, 605, 488}, {315, 100, 549, 409}, {320, 100, 492, 329}};
    for (size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(frames[1 + k], in[k]) << "showing " << k;
        EXPECT_EQ(frames[6 + k], out[k]) << "hiding " << k;
    }
    EXPECT_EQ(placed, (Rect{304, 104, 662, 573}));
    EXPECT_TRUE(SamePixels(OnWindow(around), before));
}

// A counter that reads less than at the start of an animation ends it: the new picture is in
// place at once, instead of a loop waiting for the counter to come back.
TEST_F(Transitions, ACounterThatRunsBackwardsEndsTheAnimation) {
    Click(MenuCommand::kNew);
    platform::PostMouseMove({150, 400});
    Pump();
    game->m_pictureUnlocked = true;
    probe.SetStep(10);
    for (int what = 0; what < 2; ++what) {
        SCOPED_TRACE(what == 0 ? "transition" : "level picture");
        const int start = probe.reads;
        probe.onRead = [&] {
            if (probe.reads == start + 3) probe.JumpTo(5);
        };
        if (what == 0) {
            PaintOld();
            platform::SeedRand(SeedForEffect(0));
            screen->ShowTransition(&source, 255, rect, sourcePoint, 1.0f);
            EXPECT_TRUE(EndsWithTheNewPicture());
        } else {
            screen->ShowLevelPicture(true);
            EXPECT_TRUE(screen->m_pictureShown);
        }
        probe.onRead = nullptr;
        EXPECT_LE(probe.reads - start, 5);
    }
}
