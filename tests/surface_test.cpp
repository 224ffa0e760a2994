// surface_test.cpp: fills, copies, blends, stretches and picture drawing on tiny
// surfaces, checked pixel by pixel.
#include "platform/surface.h"

#include <gtest/gtest.h>

#include <vector>

using namespace platform;

namespace {

constexpr uint32_t kBackground = Rgb(9, 8, 7);

// Every source pixel different: red from x, green from y.
uint32_t Marker(int32_t x, int32_t y) {
    return Rgb(static_cast<uint8_t>(10 + x), static_cast<uint8_t>(100 + y), 200);
}

Surface MarkedSurface(int32_t w, int32_t h) {
    Surface s(w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
            s.Fill({x, y, x + 1, y + 1}, Marker(x, y));
    return s;
}

Surface Filled(int32_t w, int32_t h, uint32_t rgb) {
    Surface s(w, h);
    s.Fill(s.Bounds(), rgb);
    return s;
}

// The expected surface as rows of pixels, compared in one go so a failure shows the picture.
using Pixels = std::vector<std::vector<uint32_t>>;

Pixels Read(const Surface& s) {
    Pixels p(static_cast<size_t>(s.Height()),
             std::vector<uint32_t>(static_cast<size_t>(s.Width())));
    for (int32_t y = 0; y < s.Height(); ++y)
        for (int32_t x = 0; x < s.Width(); ++x)
            p[y][x] = s.Pixel(x, y);
    return p;
}

// `bg` everywhere, and inside `at` the source pixel (sx0 + x - at.left, ...).
Pixels Expected(int32_t w, int32_t h, const Rect& at, Point source) {
    Pixels p(static_cast<size_t>(h), std::vector<uint32_t>(static_cast<size_t>(w), kBackground));
    for (int32_t y = at.top; y < at.bottom; ++y)
        for (int32_t x = at.left; x < at.right; ++x)
            p[y][x] = Marker(source.x + x - at.left, source.y + y - at.top);
    return p;
}

uint32_t Div255(uint32_t x) {
    return ((x + 128) + ((x + 128) >> 8)) >> 8;
}

uint32_t BlendExpected(uint32_t s, uint32_t d, uint32_t a) {
    uint32_t out = 0;
    for (int shift : {0, 8, 16}) {
        const uint32_t sc = (s >> shift) & 0xFF, dc = (d >> shift) & 0xFF;
        out |= (Div255(sc * a) + Div255(dc * (255 - a))) << shift;
    }
    return out;
}

} // namespace

TEST(Surface, FillClipsToTheSurface) {
    Surface s = Filled(4, 3, kBackground);
    s.Fill({-2, -5, 2, 1}, Rgb(1, 2, 3));
    s.Fill({3, 2, 40, 40}, Rgb(4, 5, 6));
    s.Fill({2, 2, 1, 3}, Rgb(7, 7, 7)); // inverted: nothing
    const uint32_t a = Rgb(1, 2, 3), b = Rgb(4, 5, 6), k = kBackground;
    EXPECT_EQ(Read(s), (Pixels{{a, a, k, k}, {k, k, k, k}, {k, k, k, b}}));
}

TEST(Surface, CopyClipsToBothSurfacesAndLeavesWhatHasNoSource) {
    const Surface src = MarkedSurface(3, 2);
    struct Case {
        Rect dst;
        Point from;
        Rect drawn;   // where source pixels land
        Point origin; // the source pixel that lands at drawn's top-left
    };
    const Case cases[] = {
        {{1, 1, 4, 3}, {0, 0}, {1, 1, 4, 3}, {0, 0}},    // inside
        {{-1, -1, 2, 1}, {0, 0}, {0, 0, 2, 1}, {1, 1}},  // negative destination offsets
        {{0, 0, 5, 5}, {0, 0}, {0, 0, 3, 2}, {0, 0}},    // source smaller than the area
        {{0, 0, 3, 2}, {-1, -1}, {1, 1, 3, 2}, {0, 0}},  // negative source point
        {{3, 3, 9, 9}, {0, 0}, {3, 3, 5, 5}, {0, 0}},    // beyond the right and bottom
        {{0, 0, 2, 2}, {2, 1}, {0, 0, 1, 1}, {2, 1}},    // source runs out
        {{0, 0, 5, 5}, {3, 0}, {0, 0, 0, 0}, {0, 0}},    // source point beyond the source
        {{5, 0, 9, 5}, {0, 0}, {0, 0, 0, 0}, {0, 0}},    // wholly outside the destination
        {{-4, -4, -1, -1}, {0, 0}, {0, 0, 0, 0}, {0, 0}} // wholly before it
    };
    for (const Case& c : cases) {
        Surface dst = Filled(5, 5, kBackground);
        dst.Copy(c.dst, src, c.from);
        EXPECT_EQ(Read(dst), Expected(5, 5, c.drawn, c.origin))
            << "dst (" << c.dst.left << "," << c.dst.top << ") from (" << c.from.x << ","
            << c.from.y << ")";
    }
}

// Alpha 0 keeps the target and 255 copies the source; in between, rounded to the nearest.
TEST(Surface, BlendIsExactForEveryAlpha) {
    const uint32_t sources[] = {Rgb(255, 0, 128), Rgb(1, 254, 77), Rgb(200, 100, 50)};
    const uint32_t dests[] = {Rgb(0, 255, 128), Rgb(10, 20, 30), Rgb(255, 255, 255)};
    for (uint32_t a = 0; a < 256; ++a) {
        for (uint32_t s : sources) {
            for (uint32_t d : dests) {
                Surface dst = Filled(2, 1, d);
                const Surface src = Filled(1, 1, s);
                dst.Blend({0, 0, 2, 1}, src, {0, 0}, static_cast<uint8_t>(a));
                ASSERT_EQ(dst.Pixel(0, 0), a == 0     ? d
                                           : a == 255 ? s
                                                      : BlendExpected(s, d, a))
                    << "alpha " << a;
                ASSERT_EQ(dst.Pixel(1, 0), d) << "no source there, alpha " << a;
            }
        }
    }
}

// A surface never drawn on is black; copies and blends from it skip reading it, and must give
// every byte exactly as a surface filled black does, at any scale, and stop once it is drawn on.
TEST(Surface, ANeverDrawnSourceDrawsExactlyAsAFilledBlackOne) {
    for (int k : {1, 2, 3}) {
        for (uint32_t a : {0u, 1u, 77u, 128u, 254u, 255u}) {
            Surface viaFresh(4, 3, k), viaFilled(4, 3, k);
            for (Surface* dst : {&viaFresh, &viaFilled})
                for (int32_t y = 0; y < 3; ++y)
                    for (int32_t x = 0; x < 4; ++x)
                        dst->Fill({x, y, x + 1, y + 1}, Marker(x, y));
            const Surface fresh(3, 2, k);
            const Surface black = Filled(3, 2, 0);
            viaFresh.Blend({1, 1, 5, 4}, fresh, {0, 0}, static_cast<uint8_t>(a));
            viaFilled.Blend({1, 1, 5, 4}, black, {0, 0}, static_cast<uint8_t>(a));
            const Surface freshOther(2, 1, k == 1 ? 2 : 1); // another scale, resampled
            viaFresh.Copy({0, 0, 2, 1}, freshOther, {0, 0});
            viaFilled.Copy({0, 0, 2, 1}, Filled(2, 1, 0), {0, 0});
            for (int32_t y = 0; y < viaFresh.PixelHeight(); ++y)
                for (int32_t x = 0; x < viaFresh.PixelWidth(); ++x)
                    ASSERT_EQ(viaFresh.Row(y)[x], viaFilled.Row(y)[x])
                        << "scale " << k << " alpha " << a << " at " << x << ", " << y;
        }
    }
    Surface drawn(1, 1);
    drawn.Row(0)[0] = Rgb(40, 50, 60); // drawn on directly: no longer black
    Surface dst = Filled(1, 1, kBackground);
    dst.Copy(dst.Bounds(), drawn, {0, 0});
    EXPECT_EQ(dst.Pixel(0, 0), Rgb(40, 50, 60));
    Surface moved(std::move(drawn));
    dst.Blend(dst.Bounds(), moved, {0, 0}, 128);
    EXPECT_EQ(dst.Pixel(0, 0), Rgb(40, 50, 60));
}

TEST(Surface, BlendClipsLikeCopy) {
    const Surface src = MarkedSurface(3, 2);
    Surface dst = Filled(4, 4, kBackground);
    dst.Blend({-1, 2, 3, 6}, src, {0, 0}, 128);
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 4; ++x) {
            const bool covered = y >= 2 && x < 2;
            EXPECT_EQ(dst.Pixel(x, y),
                      covered ? BlendExpected(Marker(x + 1, y - 2), kBackground, 128) : kBackground)
                << x << "," << y;
        }
    }
}

TEST(Surface, StretchDoublesByNearestNeighbour) {
    const Surface src = MarkedSurface(3, 2);
    Surface dst = Filled(8, 6, kBackground);
    dst.Stretch({1, 1, 7, 5}, src, src.Bounds());
    for (int32_t y = 0; y < 6; ++y)
        for (int32_t x = 0; x < 8; ++x) {
            const bool inside = x >= 1 && x < 7 && y >= 1 && y < 5;
            EXPECT_EQ(dst.Pixel(x, y), inside ? Marker((x - 1) / 2, (y - 1) / 2) : kBackground)
                << x << "," << y;
        }
}

TEST(Surface, StretchShrinksByNearestNeighbour) {
    const Surface src = MarkedSurface(8, 4);
    Surface dst = Filled(4, 2, kBackground);
    dst.Stretch(dst.Bounds(), src, src.Bounds());
    for (int32_t y = 0; y < 2; ++y)
        for (int32_t x = 0; x < 4; ++x)
            EXPECT_EQ(dst.Pixel(x, y), Marker(2 * x, 2 * y));
    // A part of the source, shrunk.
    Surface part = Filled(2, 1, kBackground);
    part.Stretch(part.Bounds(), src, {4, 2, 8, 4});
    EXPECT_EQ(part.Pixel(0, 0), Marker(4, 2));
    EXPECT_EQ(part.Pixel(1, 0), Marker(6, 2));
}

TEST(Surface, StretchSeventyIntoSixtyNineDropsOneInnerColumn) {
    // The help button: a 70-pixel cell drawn into a 69-pixel rectangle.
    const Surface src = MarkedSurface(70, 1);
    Surface dst = Filled(69, 1, kBackground);
    dst.Stretch(dst.Bounds(), src, src.Bounds());
    std::vector<int> columns;
    for (int32_t x = 0; x < 69; ++x)
        columns.push_back(static_cast<int>((dst.Pixel(x, 0) >> 16) - 10));
    EXPECT_EQ(columns.front(), 0);
    EXPECT_EQ(columns.back(), 69);
    int skipped = 0;
    for (size_t i = 1; i < columns.size(); ++i) {
        const int step = columns[i] - columns[i - 1];
        ASSERT_TRUE(step == 1 || step == 2) << "at " << i;
        if (step == 2) ++skipped;
    }
    EXPECT_EQ(skipped, 1);
}

TEST(Surface, StretchWithAlphaBlendsEachNearestPixel) {
    const Surface src = MarkedSurface(2, 2);
    Surface dst = Filled(4, 4, kBackground);
    dst.Stretch(dst.Bounds(), src, src.Bounds(), 100);
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 4; ++x)
            EXPECT_EQ(dst.Pixel(x, y), BlendExpected(Marker(x / 2, y / 2), kBackground, 100));
    // Equal sizes take the 1:1 path and must agree with it; alpha 0 changes nothing.
    Surface same = Filled(2, 2, kBackground);
    same.Stretch(same.Bounds(), src, src.Bounds(), 100);
    EXPECT_EQ(same.Pixel(1, 1), BlendExpected(Marker(1, 1), kBackground, 100));
    Surface none = Filled(4, 4, kBackground);
    none.Stretch(none.Bounds(), src, src.Bounds(), 0);
    EXPECT_EQ(Read(none), Read(Filled(4, 4, kBackground)));
}

TEST(Surface, StretchLeavesWhatHasNoSourceAndClipsToTheTarget) {
    const Surface src = MarkedSurface(2, 2);
    // The source rectangle begins one column left of the source: that column stays.
    Surface dst = Filled(6, 2, kBackground);
    dst.Stretch(dst.Bounds(), src, {-1, 0, 2, 2}, 255);
    EXPECT_EQ(dst.Pixel(0, 0), kBackground);
    EXPECT_EQ(dst.Pixel(1, 1), kBackground);
    EXPECT_EQ(dst.Pixel(2, 0), Marker(0, 0));
    EXPECT_EQ(dst.Pixel(5, 1), Marker(1, 1));
    // Half of the destination lies outside the target.
    Surface small = Filled(2, 2, kBackground);
    small.Stretch({-2, -2, 2, 2}, src, src.Bounds());
    EXPECT_EQ(Read(small), (Pixels{{Marker(1, 1), Marker(1, 1)}, {Marker(1, 1), Marker(1, 1)}}));
    // Empty rectangles draw nothing.
    Surface untouched = Filled(2, 2, kBackground);
    untouched.Stretch({0, 0, 0, 2}, src, src.Bounds());
    untouched.Stretch(untouched.Bounds(), src, {1, 1, 1, 2});
    EXPECT_EQ(Read(untouched), Read(Filled(2, 2, kBackground)));
}

namespace {

// Rows of B,G,R(,A) bytes with the padding filled with a colour that must never show.
std::vector<uint8_t> PictureBytes(int32_t w, int32_t h, int32_t channels, int32_t stride) {
    std::vector<uint8_t> bytes(static_cast<size_t>(stride) * h, 0xEE);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            uint8_t* p =
                &bytes[static_cast<size_t>(y) * stride + static_cast<size_t>(x) * channels];
            const uint32_t c = Marker(x, y);
            p[0] = c & 0xFF;
            p[1] = (c >> 8) & 0xFF;
            p[2] = (c >> 16) & 0xFF;
            if (channels == 4) p[3] = static_cast<uint8_t>(x * 40); // ignored when drawing
        }
    return bytes;
}

} // namespace

TEST(Surface, DrawPixelsReadsPaddedThreeChannelRows) {
    for (int32_t w : {1, 3, 5, 7}) {
        const int32_t h = 3, stride = (w * 3 + 3) & ~3;
        const std::vector<uint8_t> bytes = PictureBytes(w, h, 3, stride);
        const PixelView view{bytes.data(), w, h, 3, stride};
        Surface dst = Filled(w + 2, h + 2, kBackground);
        dst.DrawPixels({1, 1, w + 1, h + 1}, view, {0, 0, w, h});
        EXPECT_EQ(Read(dst), Expected(w + 2, h + 2, {1, 1, w + 1, h + 1}, {0, 0})) << "width " << w;
    }
}

TEST(Surface, DrawPixelsStretchesAPartOfThePicture) {
    const int32_t w = 5, h = 4, stride = 16;
    const std::vector<uint8_t> bytes = PictureBytes(w, h, 3, stride);
    Surface dst = Filled(4, 4, kBackground);
    dst.DrawPixels(dst.Bounds(), {bytes.data(), w, h, 3, stride}, {3, 2, 5, 4});
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 4; ++x)
            EXPECT_EQ(dst.Pixel(x, y), Marker(3 + x / 2, 2 + y / 2));
}

TEST(Surface, DrawPixelsIgnoresTheAlphaByteOfFourChannels) {
    const int32_t w = 3, h = 2, stride = 12;
    const std::vector<uint8_t> bytes = PictureBytes(w, h, 4, stride); // alpha 0 at x = 0
    Surface dst = Filled(3, 2, kBackground);
    dst.DrawPixels(dst.Bounds(), {bytes.data(), w, h, 4, stride}, {0, 0, w, h});
    EXPECT_EQ(Read(dst), Expected(3, 2, {0, 0, 3, 2}, {0, 0}));
}

TEST(Surface, DrawPixelsDrawsNothingForOtherChannelCountsOrBadRows) {
    const std::vector<uint8_t> bytes(64, 0x55);
    const Pixels untouched = Read(Filled(2, 2, kBackground));
    const PixelView views[] = {
        {bytes.data(), 2, 2, 0, 8},  {bytes.data(), 2, 2, 1, 8}, {bytes.data(), 2, 2, 2, 8},
        {bytes.data(), 2, 2, 5, 12}, {nullptr, 2, 2, 3, 8},      {bytes.data(), 0, 2, 3, 8},
        {bytes.data(), 2, -2, 3, 8}, {bytes.data(), 3, 2, 3, 8}, // rows shorter than the pixels
        {bytes.data(), 2, 2, 3, 6},                              // rows not on 4-byte steps
    };
    for (const PixelView& v : views) {
        Surface dst = Filled(2, 2, kBackground);
        dst.DrawPixels(dst.Bounds(), v, {0, 0, 2, 2});
        EXPECT_EQ(Read(dst), untouched) << "channels " << v.channels << " stride " << v.stride;
    }
}

TEST(Surface, MovedSurfacesKeepTheirPixels) {
    Surface a = MarkedSurface(3, 2);
    const Pixels before = Read(a);
    Surface b(std::move(a));
    EXPECT_EQ(Read(b), before);
    Surface c(1, 1);
    c = std::move(b);
    EXPECT_EQ(Read(c), before);
    // Drawing after the move uses the moved pixels.
    Surface dst = Filled(3, 2, kBackground);
    dst.Blend(dst.Bounds(), c, {0, 0}, 255);
    EXPECT_EQ(Read(dst), before);
    dst.Stretch(dst.Bounds(), c, {0, 0, 1, 1});
    EXPECT_EQ(dst.Pixel(2, 1), Marker(0, 0));
}

namespace {

// The same drawing on surfaces of scale `k`: sources are marked per logical pixel, so every
// operation must give each logical pixel as a whole block of the 1x result's colour.
Surface DrawnAtScale(int k) {
    Surface dst(12, 9, k);
    dst.Fill(dst.Bounds(), kBackground);
    Surface src(6, 5, k);
    for (int32_t y = 0; y < 5; ++y)
        for (int32_t x = 0; x < 6; ++x)
            src.Fill({x, y, x + 1, y + 1}, Marker(x, y));
    dst.Fill({1, 1, 4, 3}, Rgb(1, 2, 3));
    dst.Copy({-1, 4, 4, 7}, src, {1, 1});
    dst.Blend({5, 0, 9, 3}, src, {2, 2}, 100);
    dst.Stretch({6, 3, 12, 9}, src, {0, 0, 3, 3}); // doubled
    std::vector<uint8_t> bytes(static_cast<size_t>(4 * k) * 4 * 3 * k);
    for (int32_t y = 0; y < 3 * k; ++y)
        for (int32_t x = 0; x < 4 * k; ++x) {
            const uint32_t c = Marker(20 + x / k, 20 + y / k);
            uint8_t* p = &bytes[(static_cast<size_t>(y) * 4 * k + x) * 4];
            p[0] = c & 0xFF;
            p[1] = (c >> 8) & 0xFF;
            p[2] = (c >> 16) & 0xFF;
        }
    const PixelView picture{bytes.data(), 4 * k, 3 * k, 4, 16 * k, k};
    dst.DrawPixels({0, 7, 3, 9}, picture, {1, 1, 4, 3});
    return dst;
}

} // namespace

TEST(Surface, AtTwiceAndThreeTimesTheScaleEveryOperationDrawsWholeBlocks) {
    const Surface one = DrawnAtScale(1);
    for (int k : {2, 3}) {
        const Surface big = DrawnAtScale(k);
        ASSERT_EQ(big.PixelWidth(), 12 * k);
        ASSERT_EQ(big.PixelHeight(), 9 * k);
        for (int32_t y = 0; y < big.PixelHeight(); ++y)
            for (int32_t x = 0; x < big.PixelWidth(); ++x)
                ASSERT_EQ(big.Row(y)[x] & 0xFFFFFF, one.Pixel(x / k, y / k))
                    << "scale " << k << " at " << x << ", " << y;
    }
}

TEST(Surface, APictureOfAnotherScaleIsResampledSmoothlyWithinItsPart) {
    // A 1x strip of two cells, black | white, and a red cell beside them.
    std::vector<uint8_t> bytes(3 * 4, 0);
    bytes[4] = bytes[5] = bytes[6] = 255;
    bytes[10] = 255;
    const PixelView strip{bytes.data(), 3, 1, 4, 12, 1};
    Surface dst(2, 1, 2);
    dst.DrawPixels(dst.Bounds(), strip, {0, 0, 2, 1});
    // Smooth, not blocks: the pixels by the edge take something of both sides...
    const uint32_t inner = dst.Row(0)[1] & 0xFF, outer = dst.Row(0)[2] & 0xFF;
    EXPECT_EQ(dst.Row(0)[0] & 0xFFFFFF, 0u);
    EXPECT_GT(inner, 0u);
    EXPECT_LT(inner, outer);
    EXPECT_LT(outer, 255u);
    EXPECT_EQ(dst.Row(0)[3] & 0xFFFFFF, 0xFFFFFFu);
    // ...but nothing from beyond the part drawn: no red at the right edge.
    for (int32_t y = 0; y < 2; ++y)
        EXPECT_EQ(dst.Row(y)[3] & 0xFFFFFF, 0xFFFFFFu);
    // A surface of another scale is drawn in the same place.
    Surface from(2, 1, 1);
    from.Fill({1, 0, 2, 1}, Rgb(0, 0, 250));
    Surface to(3, 1, 3);
    to.Copy({1, 0, 3, 1}, from, {0, 0});
    for (int32_t x = 0; x < 9; ++x)
        EXPECT_EQ(to.Row(2)[x] & 0xFFFFFF, x >= 6 ? 250u : 0u) << x;
}
