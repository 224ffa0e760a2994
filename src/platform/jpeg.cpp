// jpeg.cpp: libjpeg-turbo behind one function.
#include "platform/jpeg.h"

#include <climits>
#include <csetjmp>
#include <cstdio>

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

} // namespace

bool DecodeJpeg(const uint8_t* data, size_t size, DecodedJpeg& out) {
    if (!data || size == 0 || size > ULONG_MAX) return false;
    jpeg_decompress_struct cinfo{};
    ErrorManager err{};
    cinfo.err = jpeg_std_error(&err.base);
    err.base.error_exit = ErrorExit;
    err.base.emit_message = EmitMessage;
    err.base.output_message = OutputMessage;
    // Everything that must survive a jump back here lives outside the jumping frame's locals.
    DecodedJpeg result;
    if (setjmp(err.escape) != 0) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
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
    result.width = static_cast<int32_t>(width);
    result.height = static_cast<int32_t>(height);
    result.channels = four ? 4 : 3;
    result.stride = (result.width * result.channels + 3) & ~3;
    result.pixels.resize(static_cast<size_t>(result.stride) * static_cast<size_t>(height));
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = result.pixels.data() + static_cast<size_t>(cinfo.output_scanline) *
                                                  static_cast<size_t>(result.stride);
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    // Reading on to the end marker is what finds a file that ends early.
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    out = std::move(result);
    return true;
}

} // namespace platform
