// jpeg.cpp: libjpeg-turbo behind one function.
#include "platform/jpeg.h"

#include "platform/memory.h"

#include <algorithm>
#include <climits>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

namespace platform {

namespace {

// Beyond these a picture is not one of ours. A few hundred bytes can claim 16384 x 16384 pixels;
// refusing them keeps such a file from taking a gigabyte (or ending the game when it cannot).
constexpr int kMaxDimension = 16384;
constexpr int64_t kMaxPixels = int64_t{1} << 24;

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf escape;
};

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->escape, 1);
}

// Warnings after which the decoder has every pixel as the file meant it: stray bytes skipped
// between two markers (which every viewer shows past), an unknown JFIF revision, a bad colour
// profile that is not used. Any other warning (data that ends early, a bad code) means missing
// or wrong pixels, and the picture is refused as a whole.
bool Harmless(int code) {
    return code == JWRN_EXTRANEOUS_DATA || code == JWRN_JFIF_MAJOR || code == JWRN_BOGUS_ICC;
}

void EmitMessage(j_common_ptr cinfo, int level) {
    if (level < 0 && !Harmless(cinfo->err->msg_code)) ErrorExit(cinfo);
}

void OutputMessage(j_common_ptr) {}

// The decoder's state, given back however the decoding ends (a failure jumps back to the frame
// that holds this, so it ends there too).
struct DecompressRelease {
    jpeg_decompress_struct* cinfo;
    ~DecompressRelease() { jpeg_destroy_decompress(cinfo); }
};

// Rows and columns decoded beyond a part that is kept: the smoothing of subsampled colour looks
// into the next block (at most 32 pixels wide), so the part's edge comes out as in a whole decode.
constexpr int64_t kPartContext = 32;

// Decodes `part` into the buffer `allocate(bytes)` gives; fills `out` but its pixels on success.
template <typename Allocate>
[[nodiscard]] bool Decode(const uint8_t* data, size_t size, DecodedJpeg& out, const JpegPart& part,
                          Allocate allocate) {
    if (!data || size == 0 || size > ULONG_MAX) return false;
    jpeg_decompress_struct cinfo{};
    const DecompressRelease release{&cinfo};
    ErrorManager err{};
    cinfo.err = jpeg_std_error(&err.base);
    err.base.error_exit = ErrorExit;
    err.base.emit_message = EmitMessage;
    err.base.output_message = OutputMessage;
    // Nothing that must survive a jump back here lives in this frame but the decoder's state;
    // the pixels belong to the caller's buffer.
    if (setjmp(err.escape) != 0) return false;
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK)
        ErrorExit(reinterpret_cast<j_common_ptr>(&cinfo));
    const auto width = static_cast<int64_t>(cinfo.image_width);
    const auto height = static_cast<int64_t>(cinfo.image_height);
    if (width <= 0 || height <= 0 || width > kMaxDimension || height > kMaxDimension ||
        width * height > kMaxPixels || width > part.maxWidth || height > part.maxHeight ||
        part.width <= 0 || part.height <= 0)
        ErrorExit(reinterpret_cast<j_common_ptr>(&cinfo));
    // A 4-component picture cannot be asked for BGR: its four bytes are taken as R,G,B,A.
    const bool four = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = four ? JCS_CMYK : JCS_EXT_BGR;
    cinfo.dct_method = JDCT_ISLOW;
    jpeg_start_decompress(&cinfo);
    const int64_t keptWidth = std::min<int64_t>(width, part.width);
    const int64_t keptHeight = std::min<int64_t>(height, part.height);
    const int64_t rows = std::min(height, keptHeight + kPartContext);
    if (keptWidth + kPartContext < width) {
        JDIMENSION left = 0, decoded = static_cast<JDIMENSION>(keptWidth + kPartContext);
        jpeg_crop_scanline(&cinfo, &left, &decoded);
    }
    const int channels = four ? 4 : 3;
    const size_t stride = (static_cast<size_t>(keptWidth) * channels + 3) & ~size_t{3};
    const size_t used = static_cast<size_t>(keptWidth) * channels;
    // Rows that are not kept whole go through a spare row after the kept ones.
    const size_t decodedRow = static_cast<size_t>(cinfo.output_width) * channels;
    const bool whole = decodedRow == used && rows == keptHeight;
    const size_t keptBytes = stride * static_cast<size_t>(keptHeight);
    uint8_t* pixels = allocate(keptBytes + (whole ? 0 : decodedRow));
    if (!pixels) ErrorExit(reinterpret_cast<j_common_ptr>(&cinfo));
    // The decoder leaves the bytes that round rows up to 4 alone: cleared, so that a picture's
    // bytes are the same whatever the buffer held before.
    for (int64_t y = 0; used < stride && y < keptHeight; ++y)
        std::memset(pixels + static_cast<size_t>(y) * stride + used, 0, stride - used);
    while (cinfo.output_scanline < rows) {
        const JDIMENSION y = cinfo.output_scanline;
        uint8_t* kept = y < keptHeight ? pixels + static_cast<size_t>(y) * stride : nullptr;
        JSAMPROW row = whole ? kept : pixels + keptBytes;
        jpeg_read_scanlines(&cinfo, &row, 1);
        if (kept && row != kept) std::memcpy(kept, row, used);
    }
    if (cinfo.output_scanline < cinfo.output_height)
        jpeg_skip_scanlines(&cinfo, cinfo.output_height - cinfo.output_scanline);
    // Reading on to the end marker is what finds a file that ends early (once the rows left are
    // skipped, there is nothing more to read).
    jpeg_finish_decompress(&cinfo);
    out.width = static_cast<int32_t>(keptWidth);
    out.height = static_cast<int32_t>(keptHeight);
    out.channels = channels;
    out.stride = static_cast<int32_t>(stride);
    return true;
}

} // namespace

bool DecodeJpeg(const uint8_t* data, size_t size, DecodedJpeg& out) {
    std::vector<uint8_t> pixels;
    if (!Decode(data, size, out, JpegPart{}, [&pixels](size_t bytes) {
            pixels.resize(bytes);
            return pixels.data();
        }))
        return false;
    pixels.resize(static_cast<size_t>(out.stride) * static_cast<size_t>(out.height));
    out.pixels = std::move(pixels);
    return true;
}

bool DecodeJpeg(const uint8_t* data, size_t size, DecodedJpeg& out,
                std::unique_ptr<uint8_t[]>& pixels, const JpegPart& part) {
    std::unique_ptr<uint8_t[]> buffer;
    if (!Decode(data, size, out, part, [&buffer](size_t bytes) {
            buffer = std::make_unique_for_overwrite<uint8_t[]>(bytes);
            PreferLargePages(buffer.get(), bytes);
            PrepareForWriting(buffer.get(), bytes);
            return buffer.get();
        }))
        return false;
    out.pixels.clear();
    pixels = std::move(buffer);
    return true;
}

} // namespace platform
