// jpeg_image.h: CJpegImage, a decoded JPEG picture that draws itself onto surfaces.
#pragma once

#include "platform/geometry.h"
#include "platform/jpeg.h"
#include "platform/surface.h"

#include <cstdint>
#include <memory>
#include <string>

// The layout description handed with the pixels to the drawing call (a DIB header). Kept
// whole on purpose: only biBitCount is read; the other fields still describe the pixels.
struct BitmapInfoHeader {
    uint32_t biSize = 0;
    int32_t biWidth = 0;
    int32_t biHeight = 0; // negative: rows are stored top-down
    uint16_t biPlanes = 0;
    uint16_t biBitCount = 0; // 24, 32, or 0 when the picture cannot be drawn
    uint32_t biCompression = 0;
    uint32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 0;
    int32_t biYPelsPerMeter = 0;
    uint32_t biClrUsed = 0;
    uint32_t biClrImportant = 0;
};

struct BitmapInfo {
    BitmapInfoHeader bmiHeader;
    uint32_t bmiColors[1] = {0}; // never used
};

class CJpegImage {
public:
    CJpegImage() = default;
    virtual ~CJpegImage() = default;
    CJpegImage(const CJpegImage&) = delete;
    CJpegImage& operator=(const CJpegImage&) = delete;

    // Decode the "jpeg" resource `name`, or a JPEG file. On failure the message box says
    // "Error opening JPEG file", false is returned and the picture keeps what it held.
    // At an art scale a above 1 the resource drawn for it, "name@ax", is taken when the
    // program carries it (and it is exactly a times the size); otherwise `name` itself.
    bool LoadFromResource(const std::string& name);
    bool LoadFromFile(const std::string& path);
    // Decodes JPEG bytes already in memory (the two loads end here); `scale` is how many
    // pixels of it make one logical pixel.
    bool LoadFromMemory(const uint8_t* data, size_t size, int32_t scale = 1);

    // LoadFromResource in two halves, so that the decoding may run on another thread while
    // the caller goes on: DecodeResource says nothing and touches no picture; LoadDecoded
    // keeps its pixels, or says "Error opening JPEG file" as LoadFromResource would.
    struct Decoded {
        platform::DecodedJpeg info;
        std::unique_ptr<uint8_t[]> pixels;
        int32_t scale = 0;    // pixels to a logical pixel; 0 when nothing could be decoded
        int32_t forScale = 1; // the art scale it was decoded for
    };
    static Decoded DecodeResource(const std::string& name, int32_t artScale);
    bool LoadDecoded(Decoded decoded);
    // Decodes quietly, as DecodeResource does, the `part` (in pixels) of JPEG bytes that make one
    // logical pixel of `scale` pixels: for a picture of which only a corner is ever drawn.
    static Decoded DecodePart(const uint8_t* data, size_t size, int32_t scale,
                              const platform::JpegPart& part);

    // The whole picture at the target's origin.
    void Draw(platform::Surface* target) const;
    // The part `r` of the picture to the same rectangle of the target, 1:1.
    void Draw(platform::Surface* target, const platform::Rect& r) const;
    // The whole picture with its top-left corner at `p`.
    void DrawAt(platform::Surface* target, platform::Point p) const;
    // Region `src` stretched into `dst`; returns the rows drawn, 0 when nothing is drawn.
    int DrawStretched(platform::Surface* target, const platform::Rect& dst,
                      const platform::Rect& src) const;
    // The whole picture centred in `r` (halves truncated, so odd sizes lose a pixel).
    void DrawCentered(platform::Surface* target, const platform::Rect& r) const;

    // Keeps only the part `r` (logical, clipped to the picture), which becomes the whole
    // picture: for a large picture of which only a corner is ever drawn again.
    void KeepOnly(const platform::Rect& r);

    // Colour bytes R,G,B,A become B,G,R premultiplied by A: (c * a + 1) >> 8.
    static void PremultiplyAlpha(uint8_t* pixels, int32_t width, int32_t height);

    // Logical size; the pixels are m_scale times as wide and high.
    int32_t m_width = 0;
    int32_t m_height = 0;
    std::unique_ptr<uint8_t[]> m_pixels;
    uint32_t m_channels = 0;
    BitmapInfo m_bitmapInfo{}; // describes the pixels as they are
    int32_t m_scale = 1;

private:
    // Decodes a picture of `scale` pixels to a logical one: false when it is not a JPEG or not
    // made of whole logical pixels. Says nothing: the callers choose what a failure means.
    static bool Decode(const uint8_t* data, size_t size, int32_t scale,
                       platform::DecodedJpeg& decoded, std::unique_ptr<uint8_t[]>& pixels,
                       const platform::JpegPart& part = {});
    // Keeps decoded pixels drawn at `scale`; always succeeds.
    bool Take(const platform::DecodedJpeg& decoded, std::unique_ptr<uint8_t[]> pixels,
              int32_t scale);
    void BuildBitmapInfo();
    int32_t PixelWidth() const { return m_width * m_scale; }
    int32_t Stride() const { return (PixelWidth() * static_cast<int32_t>(m_channels) + 3) & ~3; }
};
