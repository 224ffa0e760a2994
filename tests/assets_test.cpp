// assets_test.cpp: sizes, formats and seams of the embedded pictures and sounds.
#include "layout/layout.h"
#include "platform/jpeg.h"
#include "platform/resources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using platform::DecodedJpeg;

namespace {

DecodedJpeg Decode(const uint8_t* data, size_t size, const std::string& what) {
    DecodedJpeg out;
    EXPECT_TRUE(platform::DecodeJpeg(data, size, out)) << what;
    return out;
}

DecodedJpeg Picture(const std::string& name) {
    const platform::ResourceData r = platform::FindResource("jpeg", name);
    EXPECT_TRUE(r) << name << " is not embedded";
    return r ? Decode(r.data, r.size, name) : DecodedJpeg{};
}

// Largest difference of the blue, green and red bytes of two pixels.
int Distance(const DecodedJpeg& a, int ax, int ay, const DecodedJpeg& b, int bx, int by) {
    const uint8_t* p = &a.pixels[ay * a.stride + ax * 3];
    const uint8_t* q = &b.pixels[by * b.stride + bx * 3];
    int d = 0;
    for (int i = 0; i < 3; ++i)
        d = std::max(d, std::abs(p[i] - q[i]));
    return d;
}

struct Drawn {
    std::string name;
    int width, height;
};

// Every picture the generator draws, at its own size; each is drawn at 2x and 3x too.
std::vector<Drawn> DrawnPictures() {
    using namespace layout;
    const auto page = [](const char* name) {
        return Drawn{name, kHelpRect.Width(), kHelpRect.Height()};
    };
    std::vector<Drawn> all = {{"BACK", kPlayWidth, kPlayHeight},
                              {"LOGO", kLogoSize, kLogoSize},
                              {"BUT", kMenuStripWidth, 4 * kButtonRow},
                              {"DIGITS", kDigitCells * kDigitWidth, kScoreField.Height()},
                              page("HELP"),
                              page("BEST"),
                              page("NOBEST"),
                              {"BESTMARK", kBestMarkCell.Width(), kBestMarkCell.Height()}};
    for (const char* n : {"M_CLEAR", "M_LOSE", "M_SAVED", "M_MOVE", "M_CONT", "M_BEST", "M_TOPTEN"})
        all.push_back({n, kBannerRect.Width(), kBannerRect.Height()});
    for (int i = 1; i <= 9; ++i)
        all.push_back({"M_BUTT" + std::to_string(i), kBannerRect.Width(), kBannerRect.Height()});
    for (int i = 0; i < kBoardPictures; ++i)
        all.push_back({"COL" + std::to_string(i), kBoardRect.Width(), kBoardRect.Height()});
    for (int i = 0; i < 16; ++i)
        all.push_back(
            {"PIC" + std::to_string(i), kLevelPictureRect.Width(), kLevelPictureRect.Height()});
    return all;
}

int Channel(const DecodedJpeg& p, int x, int y, int c) {
    return p.pixels[y * p.stride + x * 3 + c];
}

// The mean of the a x a block of pixels at (a x, a y), per channel.
double BlockMean(const DecodedJpeg& p, int a, int x, int y, int c) {
    int sum = 0;
    for (int dy = 0; dy < a; ++dy)
        for (int dx = 0; dx < a; ++dx)
            sum += Channel(p, a * x + dx, a * y + dy, c);
    return sum / double(a * a);
}

uint32_t Le32(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24;
}
uint16_t Le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

} // namespace

TEST(Assets, EveryPictureHasItsSizeAndThreeChannels) {
    for (const Drawn& e : DrawnPictures())
        for (int a = 1; a <= 3; ++a) { // drawn for large displays at twice and three times
            const std::string name = a == 1 ? e.name : e.name + "@" + std::to_string(a) + "x";
            const DecodedJpeg p = Picture(name);
            EXPECT_EQ(p.width, a * e.width) << name;
            EXPECT_EQ(p.height, a * e.height) << name;
            EXPECT_EQ(p.channels, 3) << name;
        }
    // The link pictures are files beside the game, not resources.
    EXPECT_FALSE(platform::FindResource("jpeg", "sdl@2x"));
    // The window icon: a 64 x 64 BMP with 32 bits per pixel.
    const platform::ResourceData icon = platform::FindResource("icon", "PRG_ICON");
    ASSERT_TRUE(icon);
    ASSERT_GT(icon.size, 30u);
    EXPECT_EQ(std::memcmp(icon.data, "BM", 2), 0);
    EXPECT_EQ(Le32(icon.data + 18), 64u);
    EXPECT_EQ(Le16(icon.data + 28), 32u);
}

TEST(Assets, EveryWaveIsStereo16BitPcmAt11025WithItsDataSize) {
    const std::pair<const char*, uint32_t> sounds[] = {
        {"LOGO", 97536},   {"BTN", 38272},    {"W_NEW", 24000},  {"W_LOAD", 24000},
        {"W_SAVE", 24000}, {"W_MOVE", 24000}, {"W_LOSE", 24000}, {"W_BDMOVE", 38272}};
    for (const auto& [name, bytes] : sounds) {
        const platform::ResourceData r = platform::FindResource("WAVE", name);
        ASSERT_TRUE(r) << name;
        ASSERT_GE(r.size, 12u) << name;
        EXPECT_EQ(std::memcmp(r.data, "RIFF", 4), 0) << name;
        EXPECT_EQ(std::memcmp(r.data + 8, "WAVE", 4), 0) << name;
        bool sawFormat = false, sawData = false;
        for (size_t at = 12; at + 8 <= r.size;) {
            const uint8_t* chunk = r.data + at;
            const uint32_t size = Le32(chunk + 4);
            if (std::memcmp(chunk, "fmt ", 4) == 0) {
                sawFormat = true;
                EXPECT_EQ(Le16(chunk + 8), 1) << name << ": PCM";
                EXPECT_EQ(Le16(chunk + 10), 2) << name << ": channels";
                EXPECT_EQ(Le32(chunk + 12), 11025u) << name << ": rate";
                EXPECT_EQ(Le16(chunk + 20), 4) << name << ": block";
                EXPECT_EQ(Le16(chunk + 22), 16) << name << ": bits";
            } else if (std::memcmp(chunk, "data", 4) == 0) {
                sawData = true;
                EXPECT_EQ(size, bytes) << name;
                EXPECT_LE(at + 8 + size, r.size) << name << ": data runs past the end";
            }
            at += 8 + size + (size & 1);
        }
        EXPECT_TRUE(sawFormat && sawData) << name;
    }
}

// A cell square copied from a ball picture onto the empty board must join seamlessly: away
// from the ball every cell agrees with the empty board. (The selection picture is blended
// over a ball and may light the whole cell.)
TEST(Assets, BallPicturesKeepTheEmptyBoardAroundEachBall) {
    const DecodedJpeg empty = Picture("COL0");
    for (int k = 1; k <= layout::kBallColours; ++k) {
        const DecodedJpeg balls = Picture("COL" + std::to_string(k));
        for (int c = 0; c < layout::kColumns; ++c)
            for (int r = 0; r < layout::kRows; ++r)
                for (const auto& [dx, dy] : {std::pair{1, 1}, {36, 36}, {38, 20}, {20, 38}}) {
                    const layout::Point at = layout::CellRect(c, r).TopLeft();
                    const int x = at.x + dx, y = at.y + dy;
                    if (x >= empty.width || y >= empty.height) continue;
                    EXPECT_LE(Distance(balls, x, y, empty, x, y), 6)
                        << "COL" << k << " cell " << c << "," << r << " at " << dx << "," << dy;
                }
    }
}

TEST(Assets, DigitsAndBannersMatchTheFieldsOfTheBackground) {
    const DecodedJpeg back = Picture("BACK");
    const DecodedJpeg digits = Picture("DIGITS");
    // The blank cell and the corners of the digit cells against the score field (274, 506).
    for (const auto& [dx, dy] : {std::pair{126, 10}, {1, 1}, {61, 19}, {130, 2}})
        for (const auto& [bx, by] : {std::pair{277, 509}, {310, 516}, {343, 524}})
            EXPECT_LE(Distance(digits, dx, dy, back, bx, by), 8) << dx << "," << dy;
    // The blank banner is what the background shows in the banner place (498, 498).
    const DecodedJpeg clear = Picture("M_CLEAR");
    for (const auto& [x, y] : {std::pair{10, 3}, {105, 10}, {200, 16}})
        EXPECT_LE(Distance(clear, x, y, back, 498 + x, 498 + y), 8) << x << "," << y;
    // The best-games table: the game draws digit cells into its fields and the newest entry's
    // mark beside them, so each field, and the mark's corners, are the digit strip's blank.
    const DecodedJpeg best = Picture("BEST"), mark = Picture("BESTMARK");
    const layout::Point page = layout::kHelpRect.TopLeft();
    for (int row : {0, 4, layout::kBestEntries - 1}) {
        for (const layout::DigitField& f :
             {layout::kBestRank, layout::kBestScore, layout::kBestDate, layout::kBestLevel}) {
            const layout::Rect r = layout::BestField(f, row).Offset(-page.x, -page.y);
            for (const auto& [x, y] : {std::pair{r.left + 1, r.top + 1},
                                       {r.right - 2, r.bottom - 2},
                                       {(r.left + r.right) / 2, r.top + 10}})
                EXPECT_LE(Distance(best, x, y, digits, 126, 10), 8) << "row " << row << " " << x;
        }
        const layout::Rect m = layout::BestMarkPlace(row).Offset(-page.x, -page.y);
        EXPECT_LE(Distance(best, m.left + 7, m.top + 10, digits, 126, 10), 8) << "row " << row;
    }
    for (const auto& [x, y] : {std::pair{0, 0}, {13, 20}, {0, 20}})
        EXPECT_LE(Distance(mark, x, y, digits, 126, 10), 8) << x << "," << y;
}

// The pages shown in the help's place end above the bottom panel and have rounded corners:
// there, and below the card, they show the background as it is behind them.
TEST(Assets, PagesInTheHelpPlaceMeetTheBackground) {
    for (int a = 1; a <= 3; ++a) {
        const std::string at = a == 1 ? "" : "@" + std::to_string(a) + "x";
        const DecodedJpeg back = Picture("BACK" + at);
        for (const char* name : {"HELP", "BEST", "NOBEST"}) {
            const DecodedJpeg page = Picture(name + at);
            const int left = a * layout::kHelpRect.left, top = a * layout::kHelpRect.top;
            // From the top of the bottom panel's shadow (y 486) down, and the corners.
            std::vector<std::pair<int, int>> points;
            for (int y = a * (486 - layout::kHelpRect.top); y < page.height; y += a)
                for (int x = 0; x < page.width; x += 7)
                    points.push_back({x, y});
            for (const auto& [x, y] : {std::pair{0, 0}, {page.width - 1, 0}})
                points.push_back({x, y});
            double total = 0;
            for (const auto& [x, y] : points)
                total += Distance(page, x, y, back, left + x, top + y);
            EXPECT_LE(total / points.size(), 3) << name << at;
        }
    }
}

// Every link picture is drawn at one place over the previous one, so all must have its size,
// and NAME@2x and NAME@3x twice and three times that.
TEST(Assets, LinkPicturesHaveTheSizeOfTheLinkField) {
    for (const char* name : {"sdl", "debian", "cairo"})
        for (const char* suffix : {"", "@2x", "@3x"}) {
            const std::string file = std::string(name) + suffix + ".jpg";
            std::ifstream in(std::string(RANQUA_ASSET_DIR) + "/Internet/" + file, std::ios::binary);
            const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
            const DecodedJpeg p = Decode(bytes.data(), bytes.size(), file);
            const int a = *suffix ? suffix[1] - '0' : 1;
            EXPECT_EQ(p.width, a * layout::kLinkRect.Width()) << file;
            EXPECT_EQ(p.height, a * layout::kLinkRect.Height()) << file;
        }
}

// A picture drawn at a times its size is the same picture: averaged over a x a blocks it is
// close to the 1x picture, and so is each 8 x 8 tile's mean colour, so every element sits at
// a times its place. (Text differs a little pixel by pixel: hinting snaps it to the grid.)
TEST(Assets, LargerPicturesAreTheSamePictureDrawnFiner) {
    for (const auto& [name, width, height] : DrawnPictures()) {
        const DecodedJpeg one = Picture(name);
        for (int a = 2; a <= 3; ++a) {
            const DecodedJpeg big = Picture(name + "@" + std::to_string(a) + "x");
            if (big.width != a * one.width || big.height != a * one.height) continue;
            double total = 0, worstTile = 0;
            for (int ty = 0; ty < one.height; ty += 8)
                for (int tx = 0; tx < one.width; tx += 8)
                    for (int c = 0; c < 3; ++c) {
                        double sum = 0;
                        int n = 0;
                        for (int y = ty; y < std::min(ty + 8, one.height); ++y)
                            for (int x = tx; x < std::min(tx + 8, one.width); ++x, ++n) {
                                const double d = BlockMean(big, a, x, y, c) - Channel(one, x, y, c);
                                total += std::abs(d);
                                sum += d;
                            }
                        worstTile = std::max(worstTile, std::abs(sum / n));
                    }
            EXPECT_LE(total / (3.0 * one.width * one.height), 9) << name << "@" << a << "x";
            EXPECT_LE(worstTile, 48) << name << "@" << a << "x";
        }
    }
}

// Where the 1x picture has hard, pixel-exact edges, the larger ones have them too: a pixels
// wide at a times the place. And they are drawn, not enlarged: sharp steps between
// neighbouring pixels fall inside a x a blocks too, where an enlarged picture has them only on
// block borders (nearest neighbour) or nowhere (smooth).
TEST(Assets, LargerPicturesKeepHardEdgesSharpAtTheirPlace) {
    const DecodedJpeg digits = Picture("DIGITS"), strip = Picture("BUT");
    for (int a = 2; a <= 3; ++a) {
        const std::string at = "@" + std::to_string(a) + "x";
        const DecodedJpeg bigDigits = Picture("DIGITS" + at), bigStrip = Picture("BUT" + at);
        // The minus cell: a bar from x 134 to 142 across the middle row.
        for (int x1 : {133, 134, 141, 142})
            for (int i = 0; i < a; ++i)
                EXPECT_LE(Distance(bigDigits, a * x1 + i, a * 10 + 1, digits, x1, 10), 24)
                    << "DIGITS" << at << " x " << a * x1 + i;
        // The panel row above each button and its top border line, in every row of the strip.
        for (int r = 0; r < 4; ++r)
            for (int x1 : {30, 141, 252, 363, 474, 544, 614, 686}) // a straight part of each cell
                for (int y = a * 19 * r; y < a * (19 * r + 3); ++y)
                    EXPECT_LE(Distance(bigStrip, a * x1, y, strip, x1, y / a), 16)
                        << "BUT" << at << " x " << a * x1 << " y " << y;
        for (const auto& [small, big] : {std::pair{&digits, &bigDigits}, {&strip, &bigStrip}}) {
            int inside = 0, once = 0;
            for (int y = 0; y < big->height; ++y)
                for (int x = 0; x + 1 < big->width; ++x)
                    inside += (x + 1) % a != 0 && Distance(*big, x, y, *big, x + 1, y) >= 140;
            for (int y = 0; y < small->height; ++y)
                for (int x = 0; x + 1 < small->width; ++x)
                    once += Distance(*small, x, y, *small, x + 1, y) >= 140;
            EXPECT_GE(3 * inside, (a - 1) * once) << "at " << a << "x";
        }
    }
}
