// surface.cpp: surfaces on pixman; copies and fills are plain loops, blends and stretches
// go through pixman's compositor. Logical rectangles become pixel rectangles here, times the
// surface's scale, so every caller speaks logical pixels.
#include "platform/surface.h"

#include "platform/display.h"
#include "platform/memory.h"
#include "platform/services.h"

#include <malloc.h>
#include <pixman.h>

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

int g_artScale = 1;

// Surfaces of a megabyte and more always come from their own mappings: calloc then needs not
// clear them (their pages stay unused until drawn on), and a freed one goes back to the
// system at once instead of raising the heap's high-water mark. glibc would otherwise raise
// this threshold after the first such free.
const bool g_ownMappings = mallopt(M_MMAP_THRESHOLD, 1 << 20) == 1;

Rect Times(const Rect& r, int k) {
    return {r.left * k, r.top * k, r.right * k, r.bottom * k};
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

// `s` of `src` into `d` of `dst` (pixel rectangles), stretched nearest neighbour, or
// bilinear with `smooth` (the source then padded at its edges, so nothing from beyond `s`
// bleeds in only when `src` holds just `s`).
void CompositeStretched(pixman_image_t* src, pixman_image_t* dst, const Rect& d, const Rect& s,
                        uint8_t alpha, bool smooth = false) {
    if (d.IsEmpty() || s.IsEmpty() || alpha == 0) return;
    pixman_transform_t t;
    pixman_transform_init_identity(&t);
    t.matrix[0][0] = static_cast<pixman_fixed_t>((int64_t{s.Width()} << 16) / d.Width());
    t.matrix[0][2] = pixman_int_to_fixed(s.left);
    t.matrix[1][1] = static_cast<pixman_fixed_t>((int64_t{s.Height()} << 16) / d.Height());
    t.matrix[1][2] = pixman_int_to_fixed(s.top);
    pixman_image_set_transform(src, &t);
    pixman_image_set_filter(src, smooth ? PIXMAN_FILTER_BILINEAR : PIXMAN_FILTER_NEAREST, nullptr,
                            0);
    if (smooth) pixman_image_set_repeat(src, PIXMAN_REPEAT_PAD);
    PixmanImagePtr mask;
    if (alpha != 255) {
        pixman_color_t c{0, 0, 0, static_cast<uint16_t>(alpha * 257)};
        mask.reset(pixman_image_create_solid_fill(&c));
    }
    // OVER with an opaque source copies, and leaves alone what falls outside the source.
    pixman_image_composite32(PIXMAN_OP_OVER, src, mask.get(), dst, 0, 0, 0, 0, d.left, d.top,
                             d.Width(), d.Height());
    pixman_image_set_transform(src, nullptr);
    if (smooth) pixman_image_set_repeat(src, PIXMAN_REPEAT_NONE);
}

// The part `r` (pixels, inside the picture) of a decoded picture as an opaque x8r8g8b8 image
// of its own, so that smooth resampling sees nothing beyond it.
[[nodiscard]] PixmanImagePtr CutOut(const PixelView& pic, const Rect& r) {
    PixmanImagePtr img(
        pixman_image_create_bits(PIXMAN_x8r8g8b8, r.Width(), r.Height(), nullptr, r.Width() * 4));
    if (!img) return nullptr;
    uint32_t* out = pixman_image_get_data(img.get());
    for (int32_t y = 0; y < r.Height(); ++y) {
        const uint8_t* p = pic.data + static_cast<size_t>(r.top + y) * pic.stride +
                           static_cast<size_t>(r.left) * pic.channels;
        uint32_t* o = out + static_cast<size_t>(y) * r.Width();
        for (int32_t x = 0; x < r.Width(); ++x, p += pic.channels)
            o[x] = (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
    }
    return img;
}

} // namespace

int ArtScale() {
    return CurrentServices().artScale.value_or(g_artScale);
}

void SetArtScale(int scale) {
    g_artScale = std::clamp(scale, 1, 3);
}

int ArtScaleAhead() {
    if (const auto& replaced = CurrentServices().artScale) return *replaced;
    return ArtScaleFor(DisplayScale(PhysicalDisplaySize()));
}

Surface::Surface(int32_t width, int32_t height) : Surface(width, height, ArtScale()) {}

Surface::Surface(int32_t width, int32_t height, int scale)
    : m_width(std::max(width, 0)), m_height(std::max(height, 0)), m_scale(std::max(scale, 1)) {
    const size_t count = static_cast<size_t>(m_width) * m_height * m_scale * m_scale;
    if (count > 0) m_pixels.reset(static_cast<uint32_t*>(std::calloc(count, sizeof(uint32_t))));
    if (!m_pixels) m_width = m_height = 0; // out of memory: an empty surface draws nothing
    PreferLargePages(m_pixels.get(), count * sizeof(uint32_t));
}

pixman_image* Surface::Image() const {
    if (!m_image && m_pixels) {
        m_image.reset(pixman_image_create_bits(PIXMAN_x8r8g8b8, PixelWidth(), PixelHeight(),
                                               m_pixels.get(), PixelWidth() * 4));
    }
    return m_image.get();
}

uint32_t Surface::Pixel(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return 0;
    return Row(y * m_scale)[x * m_scale] & 0x00FFFFFFu;
}

void Surface::Fill(const Rect& r, uint32_t rgb) {
    const Rect c = Times(r.Intersect(Bounds()), m_scale);
    if (m_blank && c == Times(Bounds(), m_scale))
        PrepareForWriting(m_pixels.get(), static_cast<size_t>(c.Width()) * c.Height() * 4);
    if (!c.IsEmpty()) m_blank = false;
    for (int32_t y = c.top; y < c.bottom; ++y)
        std::fill(Row(y) + c.left, Row(y) + c.right, rgb);
}

void Surface::Copy(const Rect& dst, const Surface& src, Point srcPoint) {
    Rect d = dst;
    Point s = srcPoint;
    if (!ClipCopy(d, s, {src.m_width, src.m_height}, {m_width, m_height})) return;
    if (src.m_blank && &src != this) return Fill(d, 0);
    m_blank = false;
    if (src.m_scale != m_scale) {
        if (!Image() || !src.Image()) return;
        const Rect from{s.x, s.y, s.x + d.Width(), s.y + d.Height()};
        return CompositeStretched(src.Image(), Image(), Times(d, m_scale), Times(from, src.m_scale),
                                  255);
    }
    const int k = m_scale;
    const size_t bytes = static_cast<size_t>(d.Width()) * k * 4;
    for (int32_t y = 0; y < d.Height() * k; ++y)
        std::memmove(Row(d.top * k + y) + d.left * k, src.Row(s.y * k + y) + s.x * k, bytes);
}

void Surface::Blend(const Rect& dst, const Surface& src, Point srcPoint, uint8_t alpha) {
    if (alpha == 0) return; // pixman has no shortcut for it
    if (alpha == 255) return Copy(dst, src, srcPoint);
    Rect d = dst;
    Point s = srcPoint;
    if (!ClipCopy(d, s, {src.m_width, src.m_height}, {m_width, m_height})) return;
    if (!Image() || !src.Image()) return;
    m_blank = false;
    if (src.m_blank && &src != this) {
        // Black over: what an opaque black source gives, without reading its pixels.
        pixman_color_t black{0, 0, 0, 0xFFFF};
        const PixmanImagePtr solid(pixman_image_create_solid_fill(&black));
        pixman_color_t c{0, 0, 0, static_cast<uint16_t>(alpha * 257)};
        const PixmanImagePtr mask(pixman_image_create_solid_fill(&c));
        const Rect to = Times(d, m_scale);
        pixman_image_composite32(PIXMAN_OP_OVER, solid.get(), mask.get(), Image(), 0, 0, 0, 0,
                                 to.left, to.top, to.Width(), to.Height());
        return;
    }
    if (src.m_scale != m_scale) {
        const Rect from{s.x, s.y, s.x + d.Width(), s.y + d.Height()};
        return CompositeStretched(src.Image(), Image(), Times(d, m_scale), Times(from, src.m_scale),
                                  alpha);
    }
    const int k = m_scale;
    pixman_color_t c{0, 0, 0, static_cast<uint16_t>(alpha * 257)};
    const PixmanImagePtr mask(pixman_image_create_solid_fill(&c));
    pixman_image_composite32(PIXMAN_OP_OVER, src.Image(), mask.get(), Image(), s.x * k, s.y * k, 0,
                             0, d.left * k, d.top * k, d.Width() * k, d.Height() * k);
}

void Surface::Stretch(const Rect& dst, const Surface& src, const Rect& srcRect, uint8_t alpha) {
    if (!Image() || !src.Image()) return;
    m_blank = false;
    if (dst.Width() == srcRect.Width() && dst.Height() == srcRect.Height()) {
        if (alpha == 255) return Copy(dst, src, srcRect.TopLeft());
        return Blend(dst, src, srcRect.TopLeft(), alpha);
    }
    CompositeStretched(src.Image(), Image(), Times(dst, m_scale), Times(srcRect, src.m_scale),
                       alpha);
}

void Surface::DrawPixels(const Rect& dst, const PixelView& pic, const Rect& srcRect) {
    if (!pic.data || pic.width <= 0 || pic.height <= 0 || pic.scale <= 0 || !Image()) return;
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
    m_blank = false;
    const Rect from = Times(srcRect, pic.scale);
    const Rect to = Times(dst, m_scale);
    const Rect picBounds{0, 0, pic.width, pic.height};
    if (pic.scale != m_scale && from.Intersect(picBounds) == from && !from.IsEmpty()) {
        // A picture drawn for another scale: resampled smoothly from just the part asked for.
        const PixmanImagePtr part = CutOut(pic, from);
        if (!part) return;
        CompositeStretched(part.get(), Image(), to, {0, 0, from.Width(), from.Height()}, 255, true);
        return;
    }
    const PixmanImagePtr src(pixman_image_create_bits(
        format, pic.width, pic.height, reinterpret_cast<uint32_t*>(const_cast<uint8_t*>(pic.data)),
        pic.stride));
    if (!src) return;
    CompositeStretched(src.get(), Image(), to, from, 255);
}

} // namespace platform
