// generate.cpp: draws every picture and makes every sound the game carries.
// Placeholder art: flat pictures of the exact sizes, plain tones of the exact lengths.
#include <cairo.h>
#include <turbojpeg.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string g_out;

bool SaveJpeg(cairo_surface_t* s, const std::string& name) {
    cairo_surface_flush(s);
    const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    const int stride = cairo_image_surface_get_stride(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    tjhandle tj = tjInitCompress();
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    const int rc = tjCompress2(tj, data, w, stride, h, TJPF_BGRX, &jpeg, &size, TJSAMP_444, 92,
                               TJFLAG_ACCURATEDCT);
    bool ok = rc == 0;
    if (ok) {
        FILE* f = std::fopen((g_out + "/" + name).c_str(), "wb");
        ok = f && std::fwrite(jpeg, 1, size, f) == size;
        if (f) std::fclose(f);
    }
    tjFree(jpeg);
    tjDestroy(tj);
    return ok;
}

bool Picture(const std::string& name, int w, int h, double r, double g, double b) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    cairo_t* cr = cairo_create(s);
    cairo_set_source_rgb(cr, r, g, b);
    cairo_paint(cr);
    cairo_destroy(cr);
    const bool ok = SaveJpeg(s, name);
    cairo_surface_destroy(s);
    return ok;
}

void Put16(std::vector<uint8_t>& v, uint16_t x) {
    v.push_back(x & 0xFF);
    v.push_back(x >> 8);
}
void Put32(std::vector<uint8_t>& v, uint32_t x) {
    Put16(v, x & 0xFFFF);
    Put16(v, x >> 16);
}

bool Wave(const std::string& name, uint32_t dataBytes, double freq) {
    std::vector<uint8_t> v;
    const char* riff = "RIFF";
    v.insert(v.end(), riff, riff + 4);
    Put32(v, 36 + dataBytes);
    const char* hdr = "WAVEfmt ";
    v.insert(v.end(), hdr, hdr + 8);
    Put32(v, 16);
    Put16(v, 1);
    Put16(v, 2);
    Put32(v, 11025);
    Put32(v, 11025 * 4);
    Put16(v, 4);
    Put16(v, 16);
    const char* data = "data";
    v.insert(v.end(), data, data + 4);
    Put32(v, dataBytes);
    const uint32_t frames = dataBytes / 4;
    for (uint32_t i = 0; i < frames; ++i) {
        const double t = i / 11025.0;
        const double env = std::exp(-4.0 * t);
        const auto s = static_cast<int16_t>(8000 * env * std::sin(2 * M_PI * freq * t));
        Put16(v, static_cast<uint16_t>(s));
        Put16(v, static_cast<uint16_t>(s));
    }
    FILE* f = std::fopen((g_out + "/" + name).c_str(), "wb");
    const bool ok = f && std::fwrite(v.data(), 1, v.size(), f) == v.size();
    if (f) std::fclose(f);
    return ok;
}

bool Icon() {
    // 32 x 32, 32-bit BMP with an alpha mask (BITMAPV4 header), bottom-up rows.
    const int n = 32;
    std::vector<uint8_t> v;
    v.push_back('B');
    v.push_back('M');
    const uint32_t header = 14 + 108, pixels = n * n * 4;
    Put32(v, header + pixels);
    Put32(v, 0);
    Put32(v, header);
    Put32(v, 108);
    Put32(v, n);
    Put32(v, n);
    Put16(v, 1);
    Put16(v, 32);
    Put32(v, 3); // BI_BITFIELDS
    Put32(v, pixels);
    Put32(v, 2835);
    Put32(v, 2835);
    Put32(v, 0);
    Put32(v, 0);
    Put32(v, 0x00FF0000);
    Put32(v, 0x0000FF00);
    Put32(v, 0x000000FF);
    Put32(v, 0xFF000000);
    Put32(v, 0x73524742); // 'sRGB'
    for (int i = 0; i < 12; ++i) Put32(v, 0);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const double dx = x - 15.5, dy = y - 15.5;
            const bool in = dx * dx + dy * dy < 15 * 15;
            Put32(v, in ? 0xFFD03030u : 0u);
        }
    FILE* f = std::fopen((g_out + "/PRG_ICON.bmp").c_str(), "wb");
    const bool ok = f && std::fwrite(v.data(), 1, v.size(), f) == v.size();
    if (f) std::fclose(f);
    return ok;
}

bool Png(const std::string& name, int size) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(s);
    cairo_arc(cr, size / 2.0, size / 2.0, size * 0.45, 0, 2 * M_PI);
    cairo_set_source_rgb(cr, 0.8, 0.2, 0.2);
    cairo_fill(cr);
    cairo_destroy(cr);
    const bool ok = cairo_surface_write_to_png(s, (g_out + "/" + name).c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(s);
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: ranqua-assets OUTPUT-FOLDER\n");
        return 2;
    }
    g_out = argv[1];
    fs::create_directories(g_out + "/Internet");
    fs::create_directories(g_out + "/icons");
    bool ok = true;
    ok &= Picture("BACK.jpg", 800, 600, 0.05, 0.15, 0.2);
    ok &= Picture("LOGO.jpg", 300, 300, 0.6, 0.2, 0.2);
    ok &= Picture("BUT.jpg", 728, 76, 0.3, 0.3, 0.5);
    for (int i = 1; i <= 8; ++i) ok &= Picture("M_BUTT" + std::to_string(i) + ".jpg", 211, 20, 0.2, 0.1 * i, 0.3);
    for (const char* n : {"M_CLEAR", "M_LOSE", "M_SAVED", "M_MOVE", "M_CONT"})
        ok &= Picture(std::string(n) + ".jpg", 211, 20, 0.1, 0.1, 0.1);
    for (int i = 0; i <= 6; ++i) ok &= Picture("COL" + std::to_string(i) + ".jpg", 277, 237, 0.1 * i, 0.3, 0.4);
    ok &= Picture("DIGITS.jpg", 144, 21, 0.9, 0.9, 0.9);
    ok &= Picture("HELP.jpg", 599, 395, 0.2, 0.3, 0.2);
    for (int i = 0; i < 16; ++i) ok &= Picture("PIC" + std::to_string(i) + ".jpg", 358, 469, 0.05 * i, 0.4, 0.3);
    ok &= Wave("LOGO.wav", 97536, 440);
    ok &= Wave("BTN.wav", 38272, 660);
    for (const char* n : {"W_NEW", "W_LOAD", "W_SAVE", "W_MOVE", "W_LOSE"}) ok &= Wave(std::string(n) + ".wav", 24000, 550);
    ok &= Wave("W_BDMOVE.wav", 38272, 330);
    ok &= Icon();
    for (const char* n : {"Internet/cairo.jpg", "Internet/sdl.jpg", "Internet/debian.jpg"})
        ok &= Picture(n, 120, 40, 0.5, 0.5, 0.5);
    ok &= Png("icons/ranqua-48.png", 48) && Png("icons/ranqua-128.png", 128) && Png("icons/ranqua-256.png", 256);
    FILE* f = std::fopen((g_out + "/icons/ranqua.svg").c_str(), "w");
    ok &= f && std::fputs("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\"><circle cx=\"128\" cy=\"128\" r=\"115\" fill=\"#cc3333\"/></svg>\n", f) >= 0;
    if (f) std::fclose(f);
    if (!ok) {
        std::fprintf(stderr, "ranqua-assets: could not write every file to %s\n", g_out.c_str());
        return 1;
    }
    return 0;
}
