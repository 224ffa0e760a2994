// jpeg.cpp: libjpeg-turbo's TurboJPEG API behind one function.
#include "platform/jpeg.h"

#include <turbojpeg.h>

#include <climits>
#include <cstring>

namespace platform {

namespace {
// Beyond these a picture is not one of ours. A few hundred bytes can claim 16384 x 16384 pixels;
// refusing them keeps such a file from taking a gigabyte (or ending the game when it cannot).
constexpr int kMaxDimension = 16384;
constexpr int64_t kMaxPixels = int64_t{1} << 24;
} // namespace

namespace {

// Decodes into the buffer `allocate(bytes)` gives; fills `out` but its pixels on success.
template <typename Allocate>
bool Decode(const uint8_t* data, size_t size, DecodedJpeg& out, Allocate allocate) {
    if (!data || size == 0 || size > ULONG_MAX) return false;
    tjhandle h = tjInitDecompress();
    if (!h) return false;
    int width = 0, height = 0, subsamp = 0, colorspace = 0;
    bool ok = tjDecompressHeader3(h, data, static_cast<unsigned long>(size), &width, &height,
                                  &subsamp, &colorspace) == 0 &&
              width > 0 && height > 0 && width <= kMaxDimension && height <= kMaxDimension &&
              int64_t{width} * height <= kMaxPixels;
    if (ok) {
        const bool four = colorspace == TJCS_CMYK || colorspace == TJCS_YCCK;
        const int channels = four ? 4 : 3;
        const int stride = (width * channels + 3) & ~3;
        uint8_t* pixels = allocate(static_cast<size_t>(stride) * height);
        // A 4-component picture cannot be asked for BGR: its four bytes are taken as R,G,B,A.
        ok = pixels && tjDecompress2(h, data, static_cast<unsigned long>(size), pixels, width,
                                     stride, height, four ? TJPF_CMYK : TJPF_BGR,
                                     TJFLAG_STOPONWARNING | TJFLAG_ACCURATEDCT) == 0;
        // The decoder leaves the bytes that round rows up to 4 alone: cleared, so that a
        // picture's bytes are the same whatever the buffer held before.
        const size_t used = static_cast<size_t>(width) * channels;
        for (int y = 0; ok && used < static_cast<size_t>(stride) && y < height; ++y)
            std::memset(pixels + static_cast<size_t>(y) * stride + used, 0, stride - used);
        if (ok) {
            out.width = width;
            out.height = height;
            out.channels = channels;
            out.stride = stride;
        }
    }
    tjDestroy(h);
    return ok;
}

} // namespace

bool DecodeJpeg(const uint8_t* data, size_t size, DecodedJpeg& out) {
    std::vector<uint8_t> pixels;
    if (!Decode(data, size, out, [&pixels](size_t bytes) {
            pixels.resize(bytes);
            return pixels.data();
        }))
        return false;
    out.pixels = std::move(pixels);
    return true;
}

bool DecodeJpeg(const uint8_t* data, size_t size, DecodedJpeg& out,
                std::unique_ptr<uint8_t[]>& pixels) {
    std::unique_ptr<uint8_t[]> buffer;
    if (!Decode(data, size, out, [&buffer](size_t bytes) {
            buffer = std::make_unique_for_overwrite<uint8_t[]>(bytes);
            return buffer.get();
        }))
        return false;
    out.pixels.clear();
    pixels = std::move(buffer);
    return true;
}

} // namespace platform
