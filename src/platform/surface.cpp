// surface.cpp: surfaces on pixman; copies and fills are plain loops, blends and stretches
// go through pixman's compositor.
#include "platform/surface.h"

#include <pixman.h>

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

pixman_image_t* AsImage(void* p) {
    return static_cast<pixman_image_t*>(p);
}

// Clips a 1:1 copy of a dst-sized area from `srcPoint` to both surfaces' bounds.
bool ClipCopy(Rect& dst, Point& src, Size srcSize, Size dstSize) {
    Rect d = dst.Intersect({0, 0, dstSize.width, dstSize.height});
    src.x += d.left - dst.left;
    src.y += d.top - dst.top;
    dst = d;
    // Now clip by the source bounds, moving dst along.
    if (src.x < 0) {
        dst.left -= src.x;
        src.x = 0;
    }
    if (src.y < 0) {
        dst.top -= src.y;
        src.y = 0;
    }
    dst.right = std::min(dst.right, dst.left + (srcSize.width - src.x));
    dst.bottom = std::min(dst.bottom, dst.top + (srcSize.height - src.y));
    return !dst.IsEmpty();
}

void CompositeStretched(pixman_image_t* src, pixman_image_t* dst, const Rect& d, const Rect& s,
                        uint8_t alpha) {
    if (d.IsEmpty() || s.IsEmpty() || alpha == 0) return;
    pixman_transform_t t;
    pixman_transform_init_identity(&t);
    t.matrix[0][0] = static_cast<pixman_fixed_t>((int64_t{s.Width()} << 16) / d.Width());
    t.matrix[0][2] = pixman_int_to_fixed(s.left);
    t.matrix[1][1] = static_cast<pixman_fixed_t>((int64_t{s.Height()} << 16) / d.Height());
    t.matrix[1][2] = pixman_int_to_fixed(s.top);
    pixman_image_set_transform(src, &t);
    pixman_image_set_filter(src, PIXMAN_FILTER_NEAREST, nullptr, 0);
    pixman_image_t* mask = nullptr;
    if (alpha != 255) {
        pixman_color_t c{0, 0, 0, static_cast<uint16_t>(alpha * 257)};
        mask = pixman_image_create_solid_fill(&c);
    }
    // OVER with an opaque source copies, and leaves alone what falls outside the source.
    pixman_image_composite32(PIXMAN_OP_OVER, src, mask, dst, 0, 0, 0, 0, d.left, d.top, d.Width(),
                             d.Height());
    if (mask) pixman_image_unref(mask);
    pixman_image_set_transform(src, nullptr);
}

} // namespace

Surface::Surface(int32_t width, int32_t height)
    : m_width(std::max(width, 0)), m_height(std::max(height, 0)),
      m_pixels(static_cast<size_t>(m_width) * m_height, 0u) {}

Surface::~Surface() {
    Release();
}

Surface::Surface(Surface&& o) noexcept
    : m_width(o.m_width), m_height(o.m_height), m_pixels(std::move(o.m_pixels)),
      m_image(o.m_image) {
    o.m_width = o.m_height = 0;
    o.m_image = nullptr;
    o.m_pixels.clear();
}

Surface& Surface::operator=(Surface&& o) noexcept {
    if (this != &o) {
        Release();
        m_width = o.m_width;
        m_height = o.m_height;
        m_pixels = std::move(o.m_pixels);
        m_image = o.m_image;
        o.m_width = o.m_height = 0;
        o.m_image = nullptr;
        o.m_pixels.clear();
    }
    return *this;
}

void Surface::Release() {
    if (m_image) pixman_image_unref(AsImage(m_image));
    m_image = nullptr;
}

void* Surface::Image() const {
    if (!m_image && m_width > 0 && m_height > 0) {
        m_image = pixman_image_create_bits(PIXMAN_x8r8g8b8, m_width, m_height,
                                           const_cast<uint32_t*>(m_pixels.data()), m_width * 4);
    }
    return m_image;
}

uint32_t Surface::Pixel(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return 0;
    return Row(y)[x] & 0x00FFFFFFu;
}

void Surface::Fill(const Rect& r, uint32_t rgb) {
    const Rect c = r.Intersect(Bounds());
    for (int32_t y = c.top; y < c.bottom; ++y)
        std::fill(Row(y) + c.left, Row(y) + c.right, rgb);
}

void Surface::Copy(const Rect& dst, const Surface& src, Point srcPoint) {
    Rect d = dst;
    Point s = srcPoint;
    if (!ClipCopy(d, s, {src.m_width, src.m_height}, {m_width, m_height})) return;
    const size_t bytes = static_cast<size_t>(d.Width()) * 4;
    for (int32_t y = 0; y < d.Height(); ++y)
        std::memmove(Row(d.top + y) + d.left, src.Row(s.y + y) + s.x, bytes);
}

void Surface::Blend(const Rect& dst, const Surface& src, Point srcPoint, uint8_t alpha) {
    if (alpha == 0) return; // pixman has no shortcut for it
    if (alpha == 255) return Copy(dst, src, srcPoint);
    Rect d = dst;
    Point s = srcPoint;
    if (!ClipCopy(d, s, {src.m_width, src.m_height}, {m_width, m_height})) return;
    pixman_color_t c{0, 0, 0, static_cast<uint16_t>(alpha * 257)};
    pixman_image_t* mask = pixman_image_create_solid_fill(&c);
    pixman_image_composite32(PIXMAN_OP_OVER, AsImage(src.Image()), mask, AsImage(Image()), s.x, s.y,
                             0, 0, d.left, d.top, d.Width(), d.Height());
    pixman_image_unref(mask);
}

void Surface::Stretch(const Rect& dst, const Surface& src, const Rect& srcRect, uint8_t alpha) {
    if (!Image() || !src.Image()) return;
    if (dst.Width() == srcRect.Width() && dst.Height() == srcRect.Height()) {
        if (alpha == 255) return Copy(dst, src, srcRect.TopLeft());
        return Blend(dst, src, srcRect.TopLeft(), alpha);
    }
    CompositeStretched(AsImage(src.Image()), AsImage(Image()), dst, srcRect, alpha);
}

void Surface::DrawPixels(const Rect& dst, const PixelView& pic, const Rect& srcRect) {
    if (!pic.data || pic.width <= 0 || pic.height <= 0 || !Image()) return;
    // pixman trusts the row length: one shorter than a row of pixels would read past the
    // buffer, and one off 4-byte steps it refuses noisily.
    if (pic.stride % 4 != 0 || int64_t{pic.stride} < int64_t{pic.width} * pic.channels) return;
    pixman_format_code_t format;
    if (pic.channels == 3)
        format = PIXMAN_r8g8b8;
    else if (pic.channels == 4)
        format = PIXMAN_x8r8g8b8; // the alpha byte is not drawn, only the colour bytes
    else
        return;
    pixman_image_t* src = pixman_image_create_bits(
        format, pic.width, pic.height, reinterpret_cast<uint32_t*>(const_cast<uint8_t*>(pic.data)),
        pic.stride);
    if (!src) return;
    CompositeStretched(src, AsImage(Image()), dst, srcRect, 255);
    pixman_image_unref(src);
}

} // namespace platform
