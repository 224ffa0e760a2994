// screen_probe.h: what the screen and media tests add to the shared fixture: a clock that
// looks at the window between animation frames, pictures to compare against, and input helpers.
#pragma once

#include "screen_fixture.h"

#include "app/internet_link.h"
#include "gfx/jpeg_image.h"
#include "platform/rand.h"
#include "ui/pic_button.h"

#include <fstream>
#include <functional>
#include <sstream>

namespace testing_support {

// The drawing vocabulary every screen test speaks.
using platform::Point;
using platform::Rect;
using platform::Rgb;
using platform::Surface;

// Blocking animations read the counter between frames, so at each read the window shows the
// frame just presented (and nothing has been drawn over the back buffer yet).
class ProbeClock : public platform::ManualClock {
public:
    using ManualClock::ManualClock;
    uint64_t Counter() override {
        const uint64_t value = ManualClock::Counter();
        ++reads;
        if (onRead) onRead();
        return value;
    }
    void Pause(uint64_t) override { ++pauses; }
    // The next read returns `value` plus one step: a counter that jumps, even backwards.
    void JumpTo(uint64_t value) { Reset(value); }
    std::function<void()> onRead;
    int reads = 0;
    int pauses = 0;
};

// Constant-alpha source-over of one pixel, as the surfaces compute it.
inline uint32_t BlendPixel(uint32_t src, uint32_t dst, int alpha) {
    auto div255 = [](uint32_t x) { return ((x + 128) + ((x + 128) >> 8)) >> 8; };
    uint32_t out = 0;
    for (int shift : {16, 8, 0}) {
        const uint32_t s = (src >> shift) & 0xFF, d = (dst >> shift) & 0xFF;
        const uint32_t a = static_cast<uint32_t>(alpha);
        out |= (div255(s * a) + div255(d * (255 - a))) << shift;
    }
    return out;
}

// `top` over `under` at constant `alpha`, pixel by pixel.
inline platform::Surface Blended(const platform::Surface& top, const platform::Surface& under,
                                 int alpha) {
    platform::Surface out(under.Width(), under.Height());
    for (int32_t y = 0; y < out.Height(); ++y)
        for (int32_t x = 0; x < out.Width(); ++x)
            out.Row(y)[x] = BlendPixel(top.Pixel(x, y), under.Pixel(x, y), alpha);
    return out;
}

// The part `src` of a picture resource drawn stretched into a surface of `w` x `h`.
inline platform::Surface PictureCell(const std::string& name, platform::Rect src, int32_t w,
                                     int32_t h) {
    CJpegImage picture;
    EXPECT_TRUE(picture.LoadFromResource(name)) << name;
    platform::Surface s(w, h);
    picture.DrawStretched(&s, {0, 0, w, h}, src);
    return s;
}

inline platform::Surface Picture(const std::string& name) {
    CJpegImage picture;
    EXPECT_TRUE(picture.LoadFromResource(name)) << name;
    platform::Surface s(picture.m_width, picture.m_height);
    picture.Draw(&s);
    return s;
}

// What the window shows in `r`.
inline platform::Surface WindowRegion(const CInterface* screen, platform::Rect r) {
    platform::Surface s(r.Width(), r.Height());
    for (int32_t y = 0; y < r.Height(); ++y)
        for (int32_t x = 0; x < r.Width(); ++x)
            s.Row(y)[x] = screen->WindowPixel(r.left + x, r.top + y);
    return s;
}

inline platform::Surface Region(const platform::Surface& from, platform::Rect r) {
    platform::Surface s(r.Width(), r.Height());
    s.Copy(s.Bounds(), from, r.TopLeft());
    return s;
}

// Same pixels (colour bytes only); names the first difference.
inline ::testing::AssertionResult SamePixels(const platform::Surface& a,
                                             const platform::Surface& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return ::testing::AssertionFailure() << "sizes differ";
    for (int32_t y = 0; y < a.Height(); ++y)
        for (int32_t x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y))
                return ::testing::AssertionFailure()
                       << "first difference at (" << x << ", " << y << "): " << std::hex
                       << a.Pixel(x, y) << " vs " << b.Pixel(x, y);
    return ::testing::AssertionSuccess();
}

inline platform::Point Centre(const platform::Rect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// A point of the play area on no button, link or board.
constexpr platform::Point kNowhere{150, 400};

inline void WriteFile(const std::filesystem::path& path, const std::string& text) {
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

constexpr char kThreeLinks[] =
    "sdl.jpg https://one.example/\n debian.jpg\thttps://two.example/\r\ncairo.jpg "
    "https://three.example/";

// The link pictures of the build (with their 2x and 3x) beside an internet.txt holding `text`,
// in the working folder.
inline void LayOutLinks(const std::string& text) {
    namespace fs = std::filesystem;
    fs::create_directories("Internet");
    for (const char* name : {"sdl", "debian", "cairo"})
        for (const char* mark : {"", "@2x", "@3x"}) {
            const std::string file = std::string(name) + mark + ".jpg";
            fs::copy_file(fs::path(RANQUA_ASSET_DIR) / "Internet" / file,
                          fs::path("Internet") / file, fs::copy_options::overwrite_existing);
        }
    WriteFile("Internet/internet.txt", text);
}

// The first seed after which the generator makes `want` true; the test then reseeds with it.
inline uint32_t FindSeed(const std::function<bool()>& want) {
    for (uint32_t seed = 1;; ++seed) {
        platform::SeedRand(seed);
        if (want()) return seed;
    }
}

// The seed whose draws pick transition `effect` (and wipe `direction`, or any when -1):
// rand % 2, then rand % 5 when odd, then rand % 4.
inline uint32_t SeedForEffect(int effect, int direction = -1) {
    return FindSeed([&] {
        const int e = platform::Rand() % 2 != 0 ? platform::Rand() % 5 : 0;
        const int d = platform::Rand() % 4;
        return e == effect && (direction < 0 || d == direction);
    });
}

// The shared fixture with the probing clock in place of its manual clock, and input helpers.
class ScreenProbeTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        probe.SetSeconds(seed);
        services().clock = &probe;
    }

    void StartAndSettle() {
        Start();
        Pump(); // whatever the window system queued at start-up
    }

    CPicButton* Button(MenuCommand id) const {
        for (const auto& b : screen->m_menuButtons)
            if (b->m_id == id) return b.get();
        return nullptr;
    }
    // A button's row `row` as the strip shows it at the button's size.
    platform::Surface ButtonRow(const CPicButton* b, int32_t row) const {
        return PictureCell("BUT", b->RowRect(row), b->m_rect.Width(), b->m_rect.Height());
    }
    platform::Surface OnWindow(const platform::Rect& r) const { return WindowRegion(screen, r); }
    platform::Surface InBackBuffer(const platform::Rect& r) const {
        return Region(*screen->m_backBuffer, r);
    }

    void Move(platform::Point p) {
        platform::PostMouseMove(p);
        Pump();
    }
    void Press(platform::Point p) {
        platform::PostMouseButton(true, true, p);
        Pump();
    }
    void Release(platform::Point p) {
        platform::PostMouseButton(true, false, p);
        Pump();
    }
    void Click(MenuCommand id) {
        const platform::Point p = Centre(Button(id)->m_rect);
        Move(p);
        Press(p);
        Release(p);
    }
    void Tick() {
        platform::PostTimerTick();
        Pump();
    }

    ProbeClock probe{1000, 100};
};

} // namespace testing_support
