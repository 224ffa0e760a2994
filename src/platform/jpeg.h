// jpeg.h: JPEG decoding into the row layout that pictures keep.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace platform {

struct DecodedJpeg {
    int32_t width = 0;
    int32_t height = 0;
    // 3: B,G,R (colour or grey expanded); 4: R,G,B,A as stored (not premultiplied).
    int32_t channels = 0;
    int32_t stride = 0; // (width * channels + 3) & ~3
    std::vector<uint8_t> pixels;
};

// How much of a picture to decode. One wider than `maxWidth` or higher than `maxHeight` pixels
// is refused before anything is decoded; of the others only the top-left `width` x `height`
// pixels are decoded and kept (fewer when the picture is smaller), the same pixels a whole
// decode has there. The rest of the file is then not read: a picture that ends early is found
// only where it is decoded.
struct JpegPart {
    int32_t maxWidth = INT32_MAX;
    int32_t maxHeight = INT32_MAX;
    int32_t width = INT32_MAX;
    int32_t height = INT32_MAX;
};

// Decodes a whole JPEG image; false on any error, truncation included.
[[nodiscard]] bool DecodeJpeg(const uint8_t* data, size_t size, DecodedJpeg& out);
// The same, with the pixels in a buffer of their own (`out.pixels` stays empty): pictures
// keep them as they are, with no copy and no clearing before the decoder writes every byte.
// With `part`, only that part of it.
[[nodiscard]] bool DecodeJpeg(const uint8_t* data, size_t size, DecodedJpeg& out,
                              std::unique_ptr<uint8_t[]>& pixels, const JpegPart& part = {});

} // namespace platform
