// platform_test.cpp: the generator, rectangles and surfaces.
#include "platform/rand.h"
#include "platform/surface.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(Rand, SeededWithOneGivesTheRuntimeSequence) {
    SeedRand(1);
    EXPECT_EQ(Rand(), 41);
    EXPECT_EQ(Rand(), 18467);
    EXPECT_EQ(Rand(), 6334);
    EXPECT_EQ(Rand(), 26500);
    EXPECT_EQ(Rand(), 19169);
}

TEST(Surface, BlendAlphaZeroKeepsAndAlpha255Copies) {
    Surface dst(4, 4), src(4, 4);
    dst.Fill(dst.Bounds(), Rgb(10, 20, 30));
    src.Fill(src.Bounds(), Rgb(200, 100, 50));
    dst.Blend({0, 0, 2, 2}, src, {0, 0}, 0);
    EXPECT_EQ(dst.Pixel(0, 0), Rgb(10, 20, 30));
    dst.Blend({0, 0, 2, 2}, src, {0, 0}, 255);
    EXPECT_EQ(dst.Pixel(1, 1), Rgb(200, 100, 50));
    EXPECT_EQ(dst.Pixel(2, 2), Rgb(10, 20, 30));
}
