// surface.h: an off-screen 32-bit drawing surface (x8r8g8b8) and the operations drawn with.
#pragma once

#include "platform/geometry.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

// A decoded picture as rows of bytes: 3 channels B,G,R or 4 channels B,G,R,A (premultiplied);
// every row is `stride` bytes, top row first.
struct PixelView {
    const uint8_t* data = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t channels = 0;
    int32_t stride = 0;
};

// Colours are 0x00RRGGBB.
constexpr uint32_t Rgb(uint8_t r, uint8_t g, uint8_t b) {
    return (uint32_t{r} << 16) | (uint32_t{g} << 8) | b;
}

class Surface {
public:
    Surface() = default;
    Surface(int32_t width, int32_t height); // all black
    ~Surface();
    Surface(Surface&& other) noexcept;
    Surface& operator=(Surface&& other) noexcept;
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    int32_t Width() const { return m_width; }
    int32_t Height() const { return m_height; }
    Rect Bounds() const { return {0, 0, m_width, m_height}; }
    // Pixel as 0x00RRGGBB; outside the surface 0.
    uint32_t Pixel(int32_t x, int32_t y) const;
    const uint32_t* Row(int32_t y) const {
        return m_pixels.data() + static_cast<size_t>(y) * m_width;
    }
    uint32_t* Row(int32_t y) { return m_pixels.data() + static_cast<size_t>(y) * m_width; }

    // Every operation clips to this surface and to the source; what has no source stays.
    void Fill(const Rect& r, uint32_t rgb);
    // 1:1 copy of `src` starting at `srcPoint` into `dst`.
    void Copy(const Rect& dst, const Surface& src, Point srcPoint);
    // Constant-alpha blend (source over, no per-pixel alpha) 1:1; alpha 0 changes nothing.
    void Blend(const Rect& dst, const Surface& src, Point srcPoint, uint8_t alpha);
    // Nearest-neighbour stretch of `srcRect` of `src` into `dst`, opaque (alpha 255) or blended.
    void Stretch(const Rect& dst, const Surface& src, const Rect& srcRect, uint8_t alpha = 255);
    // Stretches `srcRect` of a decoded picture into `dst`. Pictures of other than 3 or 4
    // channels, or empty ones, draw nothing.
    void DrawPixels(const Rect& dst, const PixelView& picture, const Rect& srcRect);

private:
    void* Image() const; // pixman_image_t*, made on first use
    void Release();

    int32_t m_width = 0;
    int32_t m_height = 0;
    std::vector<uint32_t> m_pixels;
    mutable void* m_image = nullptr;
};

} // namespace platform
