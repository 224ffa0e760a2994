// icons.cpp: the program icon (a BMP with alpha for the window) and the desktop icons.
#include "art.h"
#include "balls.h"

#include <cairo-svg.h>

#include <cstdio>
#include <vector>

namespace art {

namespace {

// Three glossy balls on a rounded tile, in a 256 x 256 design space.
void DrawIconArt(cairo_t* cr, double size) {
    cairo_save(cr);
    cairo_scale(cr, size / 256.0, size / 256.0);
    RoundedRect(cr, 8, 8, 240, 240, 52);
    cairo_pattern_t* tile = cairo_pattern_create_linear(0, 8, 0, 248);
    Stop(tile, 0, Hex(0x1E5A78));
    Stop(tile, 1, Hex(0x0A2236));
    cairo_set_source(cr, tile);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(tile);
    Source(cr, Hex(0x9FE3F5), 0.8);
    cairo_set_line_width(cr, 5);
    cairo_stroke(cr);
    DrawBall(cr, 128, 84, 50, 4);
    DrawBall(cr, 80, 166, 50, 1);
    DrawBall(cr, 176, 166, 50, 3);
    cairo_restore(cr);
}

void Put16(std::vector<uint8_t>& v, uint32_t x) {
    v.push_back(static_cast<uint8_t>(x & 0xFF));
    v.push_back(static_cast<uint8_t>((x >> 8) & 0xFF));
}
void Put32(std::vector<uint8_t>& v, uint32_t x) {
    Put16(v, x & 0xFFFF);
    Put16(v, x >> 16);
}

// 32-bit BMP with a BITMAPV4 header and an alpha mask, rows bottom-up, straight alpha.
bool SaveBmp(const std::string& path, int n) {
    Canvas icon(n, n, true);
    DrawIconArt(icon.cr(), n);
    icon.BeginPixels();
    std::vector<uint8_t> v{'B', 'M'};
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
    for (int i = 0; i < 12; ++i)
        Put32(v, 0);
    for (int y = n - 1; y >= 0; --y)
        for (int x = 0; x < n; ++x) {
            const uint32_t p = icon.Row(y)[x];
            const uint32_t a = p >> 24;
            auto straight = [a](uint32_t c) { return a == 0 ? 0 : (c * 255 + a / 2) / a; };
            Put32(v, a << 24 | straight((p >> 16) & 0xFF) << 16 | straight((p >> 8) & 0xFF) << 8 |
                         straight(p & 0xFF));
        }
    FILE* f = std::fopen(path.c_str(), "wb");
    bool ok = f && std::fwrite(v.data(), 1, v.size(), f) == v.size();
    if (f) ok = std::fclose(f) == 0 && ok;
    if (!ok) std::fprintf(stderr, "ranqua-assets: cannot write %s\n", path.c_str());
    return ok;
}

bool SavePng(const std::string& path, int n) {
    Canvas icon(n, n, true);
    DrawIconArt(icon.cr(), n);
    return icon.SavePng(path);
}

bool SaveSvg(const std::string& path) {
    cairo_surface_t* s = cairo_svg_surface_create(path.c_str(), 256, 256);
    cairo_svg_surface_set_document_unit(s, CAIRO_SVG_UNIT_PX);
    cairo_t* cr = cairo_create(s);
    DrawIconArt(cr, 256);
    cairo_destroy(cr);
    cairo_surface_finish(s);
    const bool ok = cairo_surface_status(s) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(s);
    if (!ok) std::fprintf(stderr, "ranqua-assets: cannot write %s\n", path.c_str());
    return ok;
}

} // namespace

bool MakeIcons(const std::string& dir) {
    bool ok = SaveBmp(dir + "/PRG_ICON.bmp", 64);
    for (int n : {48, 128, 256})
        ok &= SavePng(dir + "/icons/ranqua-" + std::to_string(n) + ".png", n);
    ok &= SaveSvg(dir + "/icons/ranqua.svg");
    return ok;
}

} // namespace art
