// surface.h: an off-screen 32-bit drawing surface (x8r8g8b8) and the operations drawn with.
#pragma once

#include "platform/geometry.h"
#include "platform/owned.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace platform {

// Every surface and picture is composed at one whole-number art scale (1, 2 or 3): a logical
// pixel is a x a pixels. The window sets it once at start-up; 1 until then. The services in
// force may name another (services.h).
int ArtScale();
void SetArtScale(int scale);
// The art scale a window made now on this display will set: for work done ahead of it.
int ArtScaleAhead();

// A decoded picture as rows of bytes: 3 channels B,G,R or 4 channels B,G,R,A (premultiplied);
// every row is `stride` bytes, top row first.
struct PixelView {
    const uint8_t* data = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t channels = 0;
    int32_t stride = 0;
    int32_t scale = 1; // pixels per logical pixel: width and height are scale x logical
};

// Colours are 0x00RRGGBB.
constexpr uint32_t Rgb(uint8_t r, uint8_t g, uint8_t b) {
    return (uint32_t{r} << 16) | (uint32_t{g} << 8) | b;
}

class Surface {
public:
    Surface() = default;
    // All black, `width` x `height` logical pixels at the art scale (or at `scale`).
    Surface(int32_t width, int32_t height);
    Surface(int32_t width, int32_t height, int scale);
    // A surface moved from is only fit to be assigned to or destroyed.
    Surface(Surface&& other) noexcept = default;
    Surface& operator=(Surface&& other) noexcept = default;
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    int32_t Width() const { return m_width; }
    int32_t Height() const { return m_height; }
    Rect Bounds() const { return {0, 0, m_width, m_height}; }
    int Scale() const { return m_scale; }
    // The pixels themselves: Scale() x the logical size.
    int32_t PixelWidth() const { return m_width * m_scale; }
    int32_t PixelHeight() const { return m_height * m_scale; }
    // Logical pixel as 0x00RRGGBB (the top-left pixel of its block); outside the surface 0.
    uint32_t Pixel(int32_t x, int32_t y) const;
    // Row `y` of the pixels themselves (PixelWidth() of them).
    const uint32_t* Row(int32_t y) const {
        return m_pixels.get() + static_cast<size_t>(y) * PixelWidth();
    }
    uint32_t* Row(int32_t y) {
        m_blank = false;
        return m_pixels.get() + static_cast<size_t>(y) * PixelWidth();
    }

    // Rectangles and points are logical. Every operation clips to this surface and to the
    // source; what has no source stays. A source of another scale is resampled.
    void Fill(const Rect& r, uint32_t rgb);
    // 1:1 copy of `src` starting at `srcPoint` into `dst`.
    void Copy(const Rect& dst, const Surface& src, Point srcPoint);
    // Constant-alpha blend (source over, no per-pixel alpha) 1:1; alpha 0 changes nothing.
    void Blend(const Rect& dst, const Surface& src, Point srcPoint, uint8_t alpha);
    // Nearest-neighbour stretch of `srcRect` of `src` into `dst`, opaque (alpha 255) or blended.
    void Stretch(const Rect& dst, const Surface& src, const Rect& srcRect, uint8_t alpha = 255);
    // Stretches `srcRect` (logical) of a decoded picture into `dst`. A picture of this
    // surface's scale is drawn pixel for pixel (nearest neighbour when stretched); one of
    // another scale is resampled smoothly. Pictures of other than 3 or 4 channels, or empty
    // ones, draw nothing.
    void DrawPixels(const Rect& dst, const PixelView& picture, const Rect& srcRect);

private:
    // A pixman image of the pixels, made on first use; null when empty.
    pixman_image* Image() const;

    int32_t m_width = 0;
    int32_t m_height = 0;
    int m_scale = 1;
    struct Free {
        void operator()(uint32_t* p) const { std::free(p); }
    };
    // From calloc: a large surface's pages cost nothing until drawn on, so a black surface
    // that is only read (the closing fade's) or not yet used (the saved screen) stays cheap.
    std::unique_ptr<uint32_t[], Free> m_pixels;
    // After the pixels, so that it goes first.
    mutable PixmanImagePtr m_image;
    // Not drawn on since it was made, so all black: copies and blends from it then need not
    // read its pixels, which would cost memory on systems that back every page read.
    bool m_blank = true;
};

// A surface someone owns: freed when its owner lets go of it.
using SurfacePtr = std::unique_ptr<Surface>;

} // namespace platform
