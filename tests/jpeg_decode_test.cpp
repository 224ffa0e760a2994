// jpeg_decode_test.cpp: the JPEG decoder on small committed files, good and bad.
#include "platform/files.h"
#include "platform/jpeg.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

using platform::DecodedJpeg;
using platform::DecodeJpeg;

namespace {

std::vector<uint8_t> Fixture(const std::string& name) {
    auto bytes = platform::ReadFileBytes(std::string(RANQUA_TEST_DATA) + "/" + name);
    EXPECT_TRUE(bytes.has_value()) << name;
    return bytes.value_or(std::vector<uint8_t>{});
}

bool Decode(const std::vector<uint8_t>& bytes, DecodedJpeg& out) {
    return DecodeJpeg(bytes.data(), bytes.size(), out);
}

const uint8_t* PixelAt(const DecodedJpeg& d, int x, int y) {
    return &d.pixels[static_cast<size_t>(y) * d.stride + static_cast<size_t>(x) * d.channels];
}

bool Near(int a, int b) {
    return std::abs(a - b) <= 3;
}

} // namespace

TEST(DecodeJpeg, ColourPictureComesOutBgrWithRowsPaddedToFourBytes) {
    DecodedJpeg d;
    ASSERT_TRUE(Decode(Fixture("colour_5x3.jpg"), d)); // rgb(200, 40, 10)
    EXPECT_EQ(d.width, 5);
    EXPECT_EQ(d.height, 3);
    EXPECT_EQ(d.channels, 3);
    EXPECT_EQ(d.stride, 16);
    EXPECT_EQ(d.pixels.size(), 48u);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            const uint8_t* p = PixelAt(d, x, y);
            EXPECT_TRUE(Near(p[0], 10) && Near(p[1], 40) && Near(p[2], 200))
                << x << "," << y << ": " << int(p[0]) << " " << int(p[1]) << " " << int(p[2]);
        }
}

TEST(DecodeJpeg, WidePictureHasTheStrideOfItsWidth) {
    DecodedJpeg d;
    ASSERT_TRUE(Decode(Fixture("wide_277x4.jpg"), d)); // blue on the left to red on the right
    EXPECT_EQ(d.width, 277);
    EXPECT_EQ(d.height, 4);
    EXPECT_EQ(d.stride, 832);
    EXPECT_EQ(d.pixels.size(), 832u * 4);
    for (int y = 0; y < 4; ++y) {
        EXPECT_GT(PixelAt(d, 0, y)[0], 200) << y;   // blue
        EXPECT_LT(PixelAt(d, 0, y)[2], 55) << y;    // little red
        EXPECT_GT(PixelAt(d, 276, y)[2], 200) << y; // red at the far end of the row
        EXPECT_LT(PixelAt(d, 276, y)[0], 55) << y;
    }
}

TEST(DecodeJpeg, GreyExpandsToThreeEqualBytes) {
    DecodedJpeg d;
    ASSERT_TRUE(Decode(Fixture("grey_7x5.jpg"), d)); // grey 120
    EXPECT_EQ(d.channels, 3);
    EXPECT_EQ(d.stride, 24);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) {
            const uint8_t* p = PixelAt(d, x, y);
            EXPECT_EQ(p[0], p[1]);
            EXPECT_EQ(p[1], p[2]);
            EXPECT_TRUE(Near(p[0], 120)) << int(p[0]);
        }
}

TEST(DecodeJpeg, FourComponentPictureKeepsFourBytesAPixel) {
    DecodedJpeg d;
    ASSERT_TRUE(Decode(Fixture("cmyk_6x2.jpg"), d));
    EXPECT_EQ(d.width, 6);
    EXPECT_EQ(d.height, 2);
    EXPECT_EQ(d.channels, 4);
    EXPECT_EQ(d.stride, 24);
    EXPECT_EQ(d.pixels.size(), 48u);
    // One flat colour: every pixel carries the same four bytes.
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 6; ++x)
            for (int c = 0; c < 4; ++c)
                EXPECT_TRUE(Near(PixelAt(d, x, y)[c], PixelAt(d, 0, 0)[c]));
}

TEST(DecodeJpeg, ProgressivePictureDecodes) {
    DecodedJpeg d;
    ASSERT_TRUE(Decode(Fixture("progressive_9x9.jpg"), d));
    EXPECT_EQ(d.width, 9);
    EXPECT_EQ(d.stride, 28);
}

TEST(DecodeJpeg, BadInputFailsAndLeavesTheResultAlone) {
    for (const char* name :
         {"truncated_48x48.jpg", "garbage.jpg", "soi_garbage.jpg", "empty.jpg"}) {
        DecodedJpeg d;
        d.width = 77;
        EXPECT_FALSE(Decode(Fixture(name), d)) << name;
        EXPECT_EQ(d.width, 77) << name;
        EXPECT_TRUE(d.pixels.empty()) << name;
    }
    DecodedJpeg d;
    EXPECT_FALSE(DecodeJpeg(nullptr, 100, d));
}

TEST(DecodeJpeg, EveryShortenedFileFails) {
    // Cut anywhere, the end marker included, a picture is an error and not half a picture.
    for (const char* name : {"wide_277x4.jpg", "progressive_9x9.jpg", "grey_7x5.jpg"}) {
        const std::vector<uint8_t> full = Fixture(name);
        for (size_t n = 0; n < full.size(); ++n) {
            DecodedJpeg d;
            ASSERT_FALSE(DecodeJpeg(full.data(), n, d)) << name << " cut to " << n << " bytes";
        }
    }
}

TEST(DecodeJpeg, HugeDeclaredSizesAreRefused) {
    // A valid small picture whose frame header claims far more pixels than its data holds.
    const std::vector<uint8_t> original = Fixture("colour_5x3.jpg");
    size_t sof = 0;
    for (size_t i = 0; i + 8 < original.size(); ++i)
        if (original[i] == 0xFF && original[i + 1] == 0xC0) sof = i;
    ASSERT_NE(sof, 0u);
    const std::pair<int, int> sizes[] = {{30000, 30000}, {16384, 16384}, {4097, 4097}, {16385, 1}};
    for (const auto& [w, h] : sizes) {
        std::vector<uint8_t> bytes = original;
        bytes[sof + 5] = static_cast<uint8_t>(h >> 8);
        bytes[sof + 6] = static_cast<uint8_t>(h & 0xFF);
        bytes[sof + 7] = static_cast<uint8_t>(w >> 8);
        bytes[sof + 8] = static_cast<uint8_t>(w & 0xFF);
        DecodedJpeg d;
        EXPECT_FALSE(Decode(bytes, d)) << w << " x " << h;
        EXPECT_TRUE(d.pixels.empty());
    }
}

// Stray bytes between two markers are a warning the decoder recovers from completely: the
// picture is accepted with exactly the pixels of the clean file, as viewers show it. Cut short
// as well, it is still an error.
TEST(DecodeJpeg, StrayBytesBeforeAMarkerAreAcceptedButNotATruncation) {
    for (const char* name : {"colour_5x3.jpg", "progressive_9x9.jpg", "grey_7x5.jpg"}) {
        const std::vector<uint8_t> clean = Fixture(name);
        DecodedJpeg want;
        ASSERT_TRUE(Decode(clean, want)) << name;
        // Before the second marker (after the start-of-image) and before the end marker.
        const std::vector<size_t> places{2, clean.size() - 2};
        for (size_t at : places) {
            std::vector<uint8_t> bytes = clean;
            bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), {0x00, 0x13, 0x37});
            DecodedJpeg got;
            ASSERT_TRUE(Decode(bytes, got)) << name << ", stray bytes at " << at;
            EXPECT_EQ(got.pixels, want.pixels) << name;
            EXPECT_EQ(got.width, want.width);
            for (size_t n = at + 3; n + 2 < bytes.size(); n += 7) {
                DecodedJpeg cut;
                EXPECT_FALSE(DecodeJpeg(bytes.data(), n, cut)) << name << " cut to " << n;
            }
        }
    }
}
