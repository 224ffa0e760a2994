// jpeg.cpp: libjpeg-turbo behind one function.
#include "platform/jpeg.h"

#include "platform/memory.h"

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

// Decodes into the buffer `allocate(bytes)` gives; fills `out` but its pixels on success.
template <typename Allocate>
[[nodiscard]] bool Decode(const uint8_t* data, size_t size, DecodedJpeg& out, Allocate allocate) {
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
        width * height > kMaxPixels)
        ErrorExit(reinterpret_cast<j_common_ptr>(&cinfo));
    // A 4-component picture cannot be asked for BGR: its four bytes are taken as R,G,B,A.
    const bool four = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = four ? JCS_CMYK : JCS_EXT_BGR;
    cinfo.dct_method = JDCT_ISLOW;
    jpeg_start_decompress(&cinfo);
    const int channels = four ? 4 : 3;
    const size_t stride = (static_cast<size_t>(width) * channels + 3) & ~size_t{3};
    uint8_t* pixels = allocate(stride * static_cast<size_t>(height));
    if (!pixels) ErrorExit(reinterpret_cast<j_common_ptr>(&cinfo));
    // The decoder leaves the bytes that round rows up to 4 alone: cleared, so that a picture's
    // bytes are the same whatever the buffer held before.
    const size_t used = static_cast<size_t>(width) * channels;
    for (int64_t y = 0; used < stride && y < height; ++y)
        std::memset(pixels + static_cast<size_t>(y) * stride + used, 0, stride - used);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = pixels + static_cast<size_t>(cinfo.output_scanline) * stride;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    // Reading on to the end marker is what finds a file that ends early.
    jpeg_finish_decompress(&cinfo);
    out.width = static_cast<int32_t>(width);
    out.height = static_cast<int32_t>(height);
    out.channels = channels;
    out.stride = static_cast<int32_t>(stride);
    return true;
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
