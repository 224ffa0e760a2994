// jpeg.cpp: libjpeg-turbo's TurboJPEG API behind one function.
#include "platform/jpeg.h"

#include <turbojpeg.h>

#include <climits>

namespace platform {

namespace {
// Beyond these a picture is not one of ours. A few hundred bytes can claim 16384 x 16384 pixels;
// refusing them keeps such a file from taking a gigabyte (or ending the game when it cannot).
constexpr int kMaxDimension = 16384;
constexpr int64_t kMaxPixels = int64_t{1} << 24;
} // namespace

bool DecodeJpeg(const uint8_t* data, size_t size, DecodedJpeg& out) {
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
        std::vector<uint8_t> pixels(static_cast<size_t>(stride) * height);
        // A 4-component picture cannot be asked for BGR: its four bytes are taken as R,G,B,A.
        ok = tjDecompress2(h, data, static_cast<unsigned long>(size), pixels.data(), width, stride,
                           height, four ? TJPF_CMYK : TJPF_BGR,
                           TJFLAG_STOPONWARNING | TJFLAG_ACCURATEDCT) == 0;
        if (ok) {
            out.width = width;
            out.height = height;
            out.channels = channels;
            out.stride = stride;
            out.pixels = std::move(pixels);
        }
    }
    tjDestroy(h);
    return ok;
}

} // namespace platform
