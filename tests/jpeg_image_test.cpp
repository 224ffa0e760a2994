// jpeg_image_test.cpp: CJpegImage loading, failures, premultiplication, layout description and
// drawing geometry.
#include "gfx/jpeg_image.h"

#include "platform/files.h"
#include "platform/jpeg.h"
#include "platform/message_box.h"
#include "platform/resources.h"
#include "platform/services.h"

#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using platform::Rect;
using platform::Rgb;
using platform::Surface;

namespace {

std::string FixturePath(const std::string& name) {
    return std::string(RANQUA_TEST_DATA) + "/" + name;
}

constexpr uint32_t kBackground = Rgb(9, 8, 7);

Surface Filled(int32_t w, int32_t h) {
    Surface s(w, h);
    s.Fill(s.Bounds(), kBackground);
    return s;
}

int32_t StrideOf(const CJpegImage& pic) {
    return (pic.m_width * static_cast<int32_t>(pic.m_channels) + 3) & ~3;
}

// The colour of a 3- or 4-channel picture's pixel as a surface shows it.
uint32_t PictureColour(const CJpegImage& pic, int32_t x, int32_t y) {
    const uint8_t* p = pic.m_pixels.get() + static_cast<size_t>(y) * StrideOf(pic) +
                       static_cast<size_t>(x) * pic.m_channels;
    return Rgb(p[2], p[1], p[0]);
}

// A picture whose every pixel tells where it is: red = x low byte, green = y, blue = x high bits.
uint32_t Marker(int32_t x, int32_t y) {
    return Rgb(static_cast<uint8_t>(x & 0xFF), static_cast<uint8_t>(y),
               static_cast<uint8_t>(0x10 | (x >> 8)));
}

void MakeMarked(CJpegImage& pic, int32_t w, int32_t h) {
    pic.m_width = w;
    pic.m_height = h;
    pic.m_channels = 3;
    const int32_t stride = StrideOf(pic);
    pic.m_pixels = std::make_unique<uint8_t[]>(static_cast<size_t>(stride) * h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            uint8_t* p =
                pic.m_pixels.get() + static_cast<size_t>(y) * stride + static_cast<size_t>(x) * 3;
            const uint32_t c = Marker(x, y);
            p[0] = c & 0xFF;
            p[1] = (c >> 8) & 0xFF;
            p[2] = (c >> 16) & 0xFF;
        }
    pic.m_bitmapInfo.bmiHeader.biBitCount = 24;
}

// Checks that `target` shows `pic`'s pixels 1:1 in `at` (picture origin at `from`) and the
// background everywhere else.
void ExpectShown(const Surface& target, const Rect& at, platform::Point from,
                 const CJpegImage& pic) {
    for (int32_t y = 0; y < target.Height(); ++y)
        for (int32_t x = 0; x < target.Width(); ++x) {
            const bool inside = at.Contains({x, y});
            const uint32_t want =
                inside ? PictureColour(pic, from.x + x - at.left, from.y + y - at.top)
                       : kBackground;
            ASSERT_EQ(target.Pixel(x, y), want) << "at " << x << "," << y;
        }
}

class JpegImage : public ::testing::Test {
protected:
    std::vector<std::string> messages;
    platform::ServicesScope services{
        {.messageBox = [this](const std::string& t) { messages.push_back(t); }}};
};

} // namespace

TEST_F(JpegImage, PremultiplySwapsRedAndBlueAndTruncates) {
    uint8_t px[] = {255, 255, 255, 255, // white, opaque
                    128, 128, 128, 128, // half grey, half covered
                    200, 100, 50,  0,   // invisible
                    10,  20,  30,  255, // R, G, B become B, G, R
                    1,   1,   1,   1};
    CJpegImage::PremultiplyAlpha(px, 5, 1);
    const uint8_t want[] = {254, 254, 254, 255, 64, 64,  64, 128, 0, 0,
                            0,   0,   29,  19,  9,  255, 0,  0,   0, 1};
    EXPECT_EQ(std::vector<uint8_t>(px, px + sizeof px),
              std::vector<uint8_t>(want, want + sizeof want));
}

TEST_F(JpegImage, NewPictureIsEmptyAndDrawsNothing) {
    const CJpegImage pic;
    EXPECT_EQ(pic.m_width, 0);
    EXPECT_EQ(pic.m_height, 0);
    EXPECT_EQ(pic.m_channels, 0u);
    EXPECT_EQ(pic.m_pixels, nullptr);
    EXPECT_EQ(pic.m_bitmapInfo.bmiHeader.biSize, 0u);
    Surface s = Filled(4, 4);
    EXPECT_EQ(pic.DrawStretched(&s, {0, 0, 4, 4}, {0, 0, 4, 4}), 0);
    pic.Draw(&s);
    pic.DrawCentered(&s, s.Bounds());
    ExpectShown(s, {}, {}, pic);
}

TEST_F(JpegImage, LoadsAFileWithItsDescription) {
    CJpegImage pic;
    ASSERT_TRUE(pic.LoadFromFile(FixturePath("wide_277x4.jpg")));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(pic.m_width, 277);
    EXPECT_EQ(pic.m_height, 4);
    EXPECT_EQ(pic.m_channels, 3u);
    const BitmapInfoHeader& h = pic.m_bitmapInfo.bmiHeader;
    EXPECT_EQ(h.biSize, 40u);
    EXPECT_EQ(h.biWidth, 277);
    EXPECT_EQ(h.biHeight, -4);
    EXPECT_EQ(h.biPlanes, 1);
    EXPECT_EQ(h.biBitCount, 24);
    EXPECT_EQ(h.biCompression, 0u);
    EXPECT_EQ(h.biSizeImage, 0u);
    EXPECT_EQ(h.biXPelsPerMeter, 0);
    EXPECT_EQ(h.biYPelsPerMeter, 0);
    EXPECT_EQ(h.biClrUsed, 0u);
    EXPECT_EQ(h.biClrImportant, 0u);
    EXPECT_EQ(pic.m_bitmapInfo.bmiColors[0], 0u);
    // The pixels are the decoder's, row for row with the same padding.
    platform::DecodedJpeg d;
    const auto bytes = platform::ReadFileBytes(FixturePath("wide_277x4.jpg"));
    ASSERT_TRUE(platform::DecodeJpeg(bytes->data(), bytes->size(), d));
    EXPECT_EQ(std::memcmp(pic.m_pixels.get(), d.pixels.data(), 832 * 4), 0);
}

TEST_F(JpegImage, GreyLoadsAsTwentyFourBits) {
    CJpegImage pic;
    ASSERT_TRUE(pic.LoadFromFile(FixturePath("grey_7x5.jpg")));
    EXPECT_EQ(pic.m_channels, 3u);
    EXPECT_EQ(pic.m_bitmapInfo.bmiHeader.biBitCount, 24);
    const uint32_t c = PictureColour(pic, 6, 4);
    EXPECT_EQ(c & 0xFF, (c >> 8) & 0xFF);
    EXPECT_EQ(c & 0xFF, (c >> 16) & 0xFF);
}

TEST_F(JpegImage, FourComponentsArePremultipliedAndDrawnWithoutAlpha) {
    const auto bytes = platform::ReadFileBytes(FixturePath("cmyk_6x2.jpg"));
    platform::DecodedJpeg d;
    ASSERT_TRUE(platform::DecodeJpeg(bytes->data(), bytes->size(), d));
    CJpegImage pic;
    ASSERT_TRUE(pic.LoadFromFile(FixturePath("cmyk_6x2.jpg")));
    EXPECT_EQ(pic.m_channels, 4u);
    EXPECT_EQ(pic.m_bitmapInfo.bmiHeader.biBitCount, 32);
    for (size_t i = 0; i < d.pixels.size(); i += 4) {
        const unsigned r = d.pixels[i], g = d.pixels[i + 1], b = d.pixels[i + 2],
                       a = d.pixels[i + 3];
        EXPECT_EQ(pic.m_pixels[i], (b * a + 1) >> 8) << i;
        EXPECT_EQ(pic.m_pixels[i + 1], (g * a + 1) >> 8) << i;
        EXPECT_EQ(pic.m_pixels[i + 2], (r * a + 1) >> 8) << i;
        EXPECT_EQ(pic.m_pixels[i + 3], a) << i;
    }
    Surface s = Filled(6, 2);
    pic.Draw(&s);
    ExpectShown(s, {0, 0, 6, 2}, {0, 0}, pic);
}

TEST_F(JpegImage, FailedLoadsSayJpegErrorAndKeepTheOldPicture) {
    CJpegImage pic;
    ASSERT_TRUE(pic.LoadFromFile(FixturePath("colour_5x3.jpg")));
    const uint8_t* pixels = pic.m_pixels.get();
    const std::vector<uint8_t> before(pixels, pixels + 16 * 3);
    const BitmapInfoHeader header = pic.m_bitmapInfo.bmiHeader;

    const std::string bad[] = {"truncated_48x48.jpg", "garbage.jpg", "soi_garbage.jpg", "empty.jpg",
                               "no_such_file.jpg"};
    for (const std::string& name : bad)
        EXPECT_FALSE(pic.LoadFromFile(FixturePath(name))) << name;
    EXPECT_FALSE(pic.LoadFromFile(RANQUA_TEST_DATA)); // a folder
    EXPECT_FALSE(pic.LoadFromResource("NO_SUCH_PICTURE"));
    EXPECT_FALSE(pic.LoadFromResource("W_MOVE")); // a sound, not a picture
    EXPECT_FALSE(pic.LoadFromMemory(nullptr, 0));

    EXPECT_EQ(messages, std::vector<std::string>(9, "Error opening JPEG file"));
    EXPECT_EQ(pic.m_pixels.get(), pixels);
    EXPECT_EQ(std::vector<uint8_t>(pixels, pixels + 16 * 3), before);
    EXPECT_EQ(pic.m_width, 5);
    EXPECT_EQ(pic.m_height, 3);
    EXPECT_EQ(pic.m_channels, 3u);
    EXPECT_EQ(std::memcmp(&pic.m_bitmapInfo.bmiHeader, &header, sizeof header), 0);
}

TEST_F(JpegImage, AFailedLoadLeavesANewPictureEmpty) {
    CJpegImage pic;
    EXPECT_FALSE(pic.LoadFromResource("PIC99"));
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(pic.m_width, 0);
    EXPECT_EQ(pic.m_pixels, nullptr);
    Surface s = Filled(3, 3);
    pic.DrawAt(&s, {0, 0});
    ExpectShown(s, {}, {}, pic);
}

TEST_F(JpegImage, ResourceNamesMatchWithoutRegardToCase) {
    CJpegImage upper, lower;
    ASSERT_TRUE(upper.LoadFromResource("DIGITS"));
    ASSERT_TRUE(lower.LoadFromResource("digits"));
    EXPECT_EQ(upper.m_width, 144);
    EXPECT_EQ(upper.m_height, 21);
    EXPECT_EQ(std::memcmp(upper.m_pixels.get(), lower.m_pixels.get(),
                          static_cast<size_t>(StrideOf(upper)) * upper.m_height),
              0);
    EXPECT_TRUE(messages.empty());
}

TEST_F(JpegImage, LoadingSevenPicturesInTurnKeepsOnlyTheLast) {
    CJpegImage pic;
    for (int i = 0; i < 7; ++i)
        ASSERT_TRUE(pic.LoadFromResource("COL" + std::to_string(i)));
    CJpegImage last;
    ASSERT_TRUE(last.LoadFromResource("COL6"));
    EXPECT_EQ(pic.m_width, last.m_width);
    EXPECT_EQ(pic.m_height, last.m_height);
    EXPECT_EQ(std::memcmp(pic.m_pixels.get(), last.m_pixels.get(),
                          static_cast<size_t>(StrideOf(last)) * last.m_height),
              0);
    EXPECT_TRUE(messages.empty());
}

TEST_F(JpegImage, DrawStretchedCountsSourceRowsFromTheTop) {
    // The button strip's second row of cells, one cell wide.
    CJpegImage strip;
    MakeMarked(strip, 728, 76);
    Surface cell = Filled(111, 19);
    EXPECT_EQ(strip.DrawStretched(&cell, {0, 0, 111, 19}, {111, 19, 222, 38}), 19);
    ExpectShown(cell, {0, 0, 111, 19}, {111, 19}, strip);

    // The same with the real strip.
    CJpegImage but;
    ASSERT_TRUE(but.LoadFromResource("BUT"));
    ASSERT_EQ(but.m_width, 728);
    ASSERT_EQ(but.m_height, 76);
    Surface real = Filled(111, 19);
    EXPECT_EQ(but.DrawStretched(&real, {0, 0, 111, 19}, {111, 19, 222, 38}), 19);
    ExpectShown(real, {0, 0, 111, 19}, {111, 19}, but);
}

TEST_F(JpegImage, DrawCopiesARectangleToTheSamePlace) {
    CJpegImage pic;
    MakeMarked(pic, 100, 50);
    Surface s = Filled(100, 50);
    pic.Draw(&s, {10, 5, 30, 25});
    ExpectShown(s, {10, 5, 30, 25}, {10, 5}, pic);

    Surface whole = Filled(102, 51);
    pic.Draw(&whole);
    ExpectShown(whole, {0, 0, 100, 50}, {0, 0}, pic);

    Surface at = Filled(40, 30);
    pic.DrawAt(&at, {-90, 20}); // clipped on the left and at the bottom
    ExpectShown(at, {0, 20, 10, 30}, {90, 0}, pic);
}

TEST_F(JpegImage, DrawCenteredPlacesThePictureByHalves) {
    CJpegImage logo;
    MakeMarked(logo, 300, 300);
    Surface play = Filled(800, 600);
    logo.DrawCentered(&play, {0, 0, 800, 600});
    ExpectShown(play, {250, 150, 550, 450}, {0, 0}, logo);

    Surface display = Filled(1024, 768);
    logo.DrawCentered(&display, {0, 0, 1024, 768});
    ExpectShown(display, {362, 234, 662, 534}, {0, 0}, logo);

    Surface shifted = Filled(1000, 700);
    logo.DrawCentered(&shifted, {100, 50, 900, 650});
    ExpectShown(shifted, {350, 200, 650, 500}, {0, 0}, logo);
}

TEST_F(JpegImage, DrawCenteredSqueezesOddSizesByAPixel) {
    CJpegImage pic;
    MakeMarked(pic, 5, 3);
    Surface s = Filled(20, 10);
    pic.DrawCentered(&s, s.Bounds());
    // Destination (10 - 2, 5 - 1, 10 + 2, 5 + 1): 4 x 2 pixels for a 5 x 3 picture.
    for (int32_t y = 0; y < 10; ++y)
        for (int32_t x = 0; x < 20; ++x)
            if (x < 8 || x >= 12 || y < 4 || y >= 6) {
                ASSERT_EQ(s.Pixel(x, y), kBackground) << x << "," << y;
            }
    // The corners of the picture are still its corners.
    EXPECT_EQ(s.Pixel(8, 4), Marker(0, 0));
    EXPECT_EQ(s.Pixel(11, 5), Marker(4, 2));
}

TEST_F(JpegImage, PicturesOfOtherChannelCountsDrawNothing) {
    CJpegImage pic;
    MakeMarked(pic, 4, 4);
    pic.m_channels = 2;
    pic.m_bitmapInfo.bmiHeader.biBitCount = 0;
    Surface s = Filled(4, 4);
    EXPECT_EQ(pic.DrawStretched(&s, s.Bounds(), s.Bounds()), 0);
    ExpectShown(s, {}, {}, pic);
}

TEST_F(JpegImage, AtALargerArtScaleAPictureKeepsItsLogicalSize) {
    // With the picture drawn for that scale when the program carries it, else the 1x one
    // resampled: either way 800 x 600 logical pixels that look like the 1x picture.
    CJpegImage plain;
    ASSERT_TRUE(plain.LoadFromResource("BACK"));
    Surface one(800, 600, 1);
    plain.Draw(&one);
    for (int a : {2, 3}) {
        services->artScale = a;
        CJpegImage back;
        ASSERT_TRUE(back.LoadFromResource("BACK"));
        const bool sharp =
            platform::FindResource("jpeg", "BACK@" + std::to_string(a) + "x").data != nullptr;
        EXPECT_EQ(back.m_scale, sharp ? a : 1);
        EXPECT_EQ(back.m_width, 800);
        EXPECT_EQ(back.m_height, 600);
        EXPECT_EQ(back.m_bitmapInfo.bmiHeader.biWidth, 800 * back.m_scale);
        // Decoded ahead (as start-up does on another thread), then taken: the same picture.
        CJpegImage ahead;
        ASSERT_TRUE(ahead.LoadDecoded(CJpegImage::DecodeResource("BACK", a)));
        ASSERT_EQ(ahead.m_scale, back.m_scale);
        EXPECT_EQ(std::memcmp(ahead.m_pixels.get(), back.m_pixels.get(),
                              size_t{800} * 600 * 3 * back.m_scale * back.m_scale),
                  0);
        Surface big(800, 600);
        ASSERT_EQ(big.Scale(), a);
        back.Draw(&big);
        int64_t difference = 0;
        for (int32_t y = 0; y < 600; ++y)
            for (int32_t x = 0; x < 800; ++x)
                for (int shift : {0, 8, 16})
                    difference += std::abs(static_cast<int>((big.Pixel(x, y) >> shift) & 0xFF) -
                                           static_cast<int>((one.Pixel(x, y) >> shift) & 0xFF));
        EXPECT_LT(difference / (800 * 600 * 3), 6) << "scale " << a;
        // Keeping only a corner (clipped to the picture) keeps its pixels, every one of them.
        back.KeepOnly({700, 500, 900, 700});
        EXPECT_EQ(back.m_width, 100);
        EXPECT_EQ(back.m_height, 100);
        Surface corner(800, 600);
        back.DrawAt(&corner, {700, 500});
        for (int32_t y = 500 * a; y < 600 * a && sharp; ++y)
            ASSERT_EQ(std::memcmp(corner.Row(y) + 700 * a, big.Row(y) + 700 * a, 400 * a), 0) << y;
        services->artScale = std::nullopt;
    }
    EXPECT_TRUE(messages.empty());
}

// Only the part of a picture that is ever drawn: the same pixels the whole picture has there
// (colour subsampled across and down, progressive, smaller than the part); a picture larger
// than allowed is refused before anything is decoded, and saying so is left to the caller.
TEST_F(JpegImage, APartHasThePixelsOfTheWholePicture) {
    for (const auto [w, h, subsampling, flags] :
         {std::array<int, 4>{1500, 1000, TJSAMP_420, 0},
          std::array<int, 4>{300, 200, TJSAMP_411, TJFLAG_PROGRESSIVE},
          std::array<int, 4>{150, 40, TJSAMP_422, 0}}) {
        std::vector<uint8_t> rgb(static_cast<size_t>(w) * h * 3); // colour that changes
        for (size_t i = 0; i < rgb.size(); ++i)
            rgb[i] = static_cast<uint8_t>((i / 3 % w) * (i % 3 + 1) + (i * 2654435761u >> 27));
        tjhandle tj = tjInitCompress();
        unsigned char* jpeg = nullptr;
        unsigned long size = 0;
        ASSERT_EQ(
            tjCompress2(tj, rgb.data(), w, 0, h, TJPF_RGB, &jpeg, &size, subsampling, 85, flags),
            0);
        const std::vector<uint8_t> bytes(jpeg, jpeg + size);
        tjFree(jpeg);
        tjDestroy(tj);
        platform::DecodedJpeg whole;
        ASSERT_TRUE(platform::DecodeJpeg(bytes.data(), bytes.size(), whole));
        const auto part = CJpegImage::DecodePart(bytes.data(), bytes.size(), 1, {w, h, 176, 44});
        ASSERT_EQ(part.info.width, std::min(w, 176));
        ASSERT_EQ(part.info.height, std::min(h, 44));
        for (int32_t y = 0; y < part.info.height; ++y)
            ASSERT_EQ(std::memcmp(part.pixels.get() + static_cast<size_t>(y) * part.info.stride,
                                  &whole.pixels[static_cast<size_t>(y) * whole.stride],
                                  static_cast<size_t>(part.info.width) * 3),
                      0)
                << w << " x " << h << ", row " << y;
        EXPECT_EQ(CJpegImage::DecodePart(bytes.data(), bytes.size(), 1, {w, h - 1, 9, 9}).scale, 0);
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(JpegImage, PicturesOfAScaleMustBeWholeLogicalPixels) {
    const platform::ResourceData digits = platform::FindResource("jpeg", "DIGITS"); // 144 x 21
    CJpegImage pic;
    ASSERT_TRUE(pic.LoadFromMemory(digits.data, digits.size, 3));
    EXPECT_EQ(pic.m_width, 48);
    EXPECT_EQ(pic.m_height, 7);
    EXPECT_EQ(pic.m_scale, 3);
    EXPECT_FALSE(pic.LoadFromMemory(digits.data, digits.size, 2)); // 21 rows are not pairs
    EXPECT_EQ(messages, std::vector<std::string>{"Error opening JPEG file"});
    EXPECT_EQ(pic.m_width, 48); // kept
    // Decoded ahead, a picture the program lacks is refused as it is taken, with the same box.
    CJpegImage::Decoded missing = CJpegImage::DecodeResource("NOSUCH", 2);
    EXPECT_EQ(messages.size(), 1u); // nothing said yet
    EXPECT_FALSE(pic.LoadDecoded(std::move(missing)));
    EXPECT_EQ(messages, std::vector<std::string>(2, "Error opening JPEG file"));
    EXPECT_EQ(pic.m_width, 48);
}
