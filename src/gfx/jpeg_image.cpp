// jpeg_image.cpp: loading (resource, file, memory) and drawing of CJpegImage.
#include "gfx/jpeg_image.h"

#include "platform/files.h"
#include "platform/jpeg.h"
#include "platform/message_box.h"
#include "platform/resources.h"

#include <cstring>

namespace {
// Development trace of the loader: it does nothing in the finished game.
void Trace(const char*) {}
} // namespace

bool CJpegImage::LoadFromResource(const std::string& name) {
    return LoadDecoded(DecodeResource(name, platform::ArtScale()));
}

CJpegImage::Decoded CJpegImage::DecodeResource(const std::string& name, int32_t artScale) {
    Decoded d;
    d.forScale = artScale;
    if (artScale > 1) {
        const platform::ResourceData sharp =
            platform::FindResource("jpeg", name + "@" + std::to_string(artScale) + "x");
        // A variant that is not exactly a times a whole picture is not one we can place.
        if (sharp && Decode(sharp.data, sharp.size, artScale, d.info, d.pixels)) {
            platform::ReleaseResourcePages(sharp);
            d.scale = artScale;
            return d;
        }
    }
    const platform::ResourceData res = platform::FindResource("jpeg", name);
    if (Decode(res.data, res.size, 1, d.info, d.pixels)) d.scale = 1;
    platform::ReleaseResourcePages(res);
    return d;
}

bool CJpegImage::LoadDecoded(Decoded decoded) {
    if (decoded.scale == 0) {
        Trace("Cannot read image data\n");
        platform::MessageBox("Error opening JPEG file");
        return false;
    }
    return Take(decoded.info, std::move(decoded.pixels), decoded.scale);
}

bool CJpegImage::LoadFromFile(const std::string& path) {
    const auto bytes = platform::ReadFileBytes(path);
    if (!bytes) {
        Trace("Cannot read JPEG file header from file\n");
        platform::MessageBox("Error opening JPEG file");
        return false;
    }
    return LoadFromMemory(bytes->data(), bytes->size());
}

bool CJpegImage::LoadFromMemory(const uint8_t* data, size_t size, int32_t scale) {
    Decoded d;
    if (Decode(data, size, scale, d.info, d.pixels)) d.scale = scale;
    return LoadDecoded(std::move(d));
}

CJpegImage::Decoded CJpegImage::DecodePart(const uint8_t* data, size_t size, int32_t scale,
                                           const platform::JpegPart& part) {
    Decoded d;
    d.forScale = scale;
    if (Decode(data, size, scale, d.info, d.pixels, part)) d.scale = scale;
    return d;
}

bool CJpegImage::Decode(const uint8_t* data, size_t size, int32_t scale,
                        platform::DecodedJpeg& decoded, std::unique_ptr<uint8_t[]>& pixels,
                        const platform::JpegPart& part) {
    return scale >= 1 && platform::DecodeJpeg(data, size, decoded, pixels, part) &&
           decoded.width % scale == 0 && decoded.height % scale == 0;
}

bool CJpegImage::Take(const platform::DecodedJpeg& decoded, std::unique_ptr<uint8_t[]> pixels,
                      int32_t scale) {
    if (decoded.channels == 4) PremultiplyAlpha(pixels.get(), decoded.width, decoded.height);
    m_pixels = std::move(pixels);
    m_scale = scale;
    m_width = decoded.width / scale;
    m_height = decoded.height / scale;
    m_channels = static_cast<uint32_t>(decoded.channels);
    BuildBitmapInfo();
    return true;
}

void CJpegImage::KeepOnly(const platform::Rect& r) {
    const platform::Rect k = r.Intersect({0, 0, m_width, m_height});
    if (!m_pixels || k.IsEmpty()) {
        m_pixels.reset();
        m_width = m_height = 0;
        BuildBitmapInfo();
        return;
    }
    const int32_t oldStride = Stride();
    const size_t rowBytes = static_cast<size_t>(k.Width()) * m_scale * m_channels;
    const uint8_t* from = m_pixels.get() + static_cast<size_t>(k.top) * m_scale * oldStride +
                          static_cast<size_t>(k.left) * m_scale * m_channels;
    m_width = k.Width();
    m_height = k.Height();
    const int32_t stride = Stride();
    auto kept = std::make_unique<uint8_t[]>(static_cast<size_t>(stride) * m_height * m_scale);
    for (int32_t y = 0; y < m_height * m_scale; ++y)
        std::memcpy(kept.get() + static_cast<size_t>(y) * stride,
                    from + static_cast<size_t>(y) * oldStride, rowBytes);
    m_pixels = std::move(kept);
    BuildBitmapInfo();
}

void CJpegImage::PremultiplyAlpha(uint8_t* p, int32_t width, int32_t height) {
    const size_t count = static_cast<size_t>(width) * height;
    for (size_t i = 0; i < count; ++i, p += 4) {
        const unsigned c0 = p[0], c1 = p[1], c2 = p[2], a = p[3];
        p[0] = static_cast<uint8_t>((c2 * a + 1) >> 8);
        p[1] = static_cast<uint8_t>((c1 * a + 1) >> 8);
        p[2] = static_cast<uint8_t>((c0 * a + 1) >> 8);
    }
}

void CJpegImage::BuildBitmapInfo() {
    m_bitmapInfo = BitmapInfo{};
    BitmapInfoHeader& h = m_bitmapInfo.bmiHeader;
    h.biSize = 40;
    h.biWidth = m_width * m_scale;
    h.biHeight = -m_height * m_scale;
    h.biPlanes = 1;
    if (m_channels == 3)
        h.biBitCount = 24;
    else if (m_channels == 4)
        h.biBitCount = 32;
    else
        Trace("Unsupported number of channels!\n");
    h.biCompression = 0; // BI_RGB
}

void CJpegImage::Draw(platform::Surface* target) const {
    Draw(target, {0, 0, m_width, m_height});
}

void CJpegImage::Draw(platform::Surface* target, const platform::Rect& r) const {
    DrawStretched(target, r, r);
}

void CJpegImage::DrawAt(platform::Surface* target, platform::Point p) const {
    DrawStretched(target, {p.x, p.y, p.x + m_width, p.y + m_height}, {0, 0, m_width, m_height});
}

int CJpegImage::DrawStretched(platform::Surface* target, const platform::Rect& dst,
                              const platform::Rect& src) const {
    if (!target || !m_pixels || m_bitmapInfo.bmiHeader.biBitCount == 0) return 0;
    if (dst.Width() <= 0 || dst.Height() <= 0 || src.Width() <= 0 || src.Height() <= 0) return 0;
    const platform::PixelView view{m_pixels.get(),     PixelWidth(),
                                   m_height * m_scale, static_cast<int32_t>(m_channels),
                                   Stride(),           m_scale};
    target->DrawPixels(dst, view, src);
    return dst.Height();
}

void CJpegImage::DrawCentered(platform::Surface* target, const platform::Rect& r) const {
    const int32_t W = r.Width(), H = r.Height(), w = m_width, h = m_height;
    const platform::Rect dst =
        platform::Rect{W / 2 - w / 2, H / 2 - h / 2, W / 2 + w / 2, H / 2 + h / 2}.Offset(r.left,
                                                                                          r.top);
    DrawStretched(target, dst, {0, 0, w, h});
}
