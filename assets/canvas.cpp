// canvas.cpp: drawing surfaces, text, noise and the JPEG and PNG writers of the generator.
#include "canvas.h"

#include <turbojpeg.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

namespace art {

Rgb Hex(uint32_t rgb) {
    return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0};
}

Rgb Mix(Rgb a, Rgb b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb Scale(Rgb c, double k) {
    return {c.r * k, c.g * k, c.b * k};
}

void Source(cairo_t* cr, Rgb c, double alpha) {
    cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

void Stop(cairo_pattern_t* p, double offset, Rgb c, double alpha) {
    cairo_pattern_add_color_stop_rgba(p, offset, c.r, c.g, c.b, alpha);
}

Canvas::Canvas(int width, int height, bool alpha, int factor)
    : m_width(width * factor), m_height(height * factor), m_factor(factor),
      m_surface(cairo_image_surface_create(alpha ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24,
                                           m_width, m_height)),
      m_cr(cairo_create(m_surface)) {
    ResetMatrix();
    cairo_font_options_t* fo = cairo_font_options_create();
    cairo_font_options_set_antialias(fo, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(fo, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(fo, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(m_cr, fo);
    cairo_font_options_destroy(fo);
    if (!alpha) {
        cairo_set_source_rgb(m_cr, 0, 0, 0);
        cairo_paint(m_cr);
    }
}

Canvas::~Canvas() {
    cairo_destroy(m_cr);
    cairo_surface_destroy(m_surface);
}

void Canvas::ResetMatrix() {
    cairo_identity_matrix(m_cr);
    if (m_factor != 1) cairo_scale(m_cr, m_factor, m_factor);
}

uint32_t* Canvas::Row(int y) {
    unsigned char* data = cairo_image_surface_get_data(m_surface);
    return reinterpret_cast<uint32_t*>(data + y * cairo_image_surface_get_stride(m_surface));
}

void Canvas::BeginPixels() {
    cairo_surface_flush(m_surface);
}
void Canvas::EndPixels() {
    cairo_surface_mark_dirty(m_surface);
}

Rgb Canvas::Pixel(int x, int y) {
    const uint32_t p = Row(y)[x];
    return Hex(p & 0xFFFFFF);
}

void Canvas::SetPixel(int x, int y, Rgb c) {
    auto byte = [](double v) { return static_cast<uint32_t>(std::lround(Clamp01(v) * 255.0)); };
    Row(y)[x] = 0xFF000000u | byte(c.r) << 16 | byte(c.g) << 8 | byte(c.b);
}

bool Canvas::SaveJpeg(const std::string& path, int quality) {
    cairo_surface_flush(m_surface);
    const int stride = cairo_image_surface_get_stride(m_surface);
    unsigned char* data = cairo_image_surface_get_data(m_surface);
    tjhandle tj = tjInitCompress();
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    // Baseline, 4:4:4 so that thin captions keep their colour edges.
    const int rc = tjCompress2(tj, data, m_width, stride, m_height, TJPF_BGRX, &jpeg, &size,
                               TJSAMP_444, quality, TJFLAG_ACCURATEDCT);
    bool ok = rc == 0;
    if (ok) {
        FILE* f = std::fopen(path.c_str(), "wb");
        ok = f && std::fwrite(jpeg, 1, size, f) == size;
        if (f) ok = std::fclose(f) == 0 && ok;
    }
    tjFree(jpeg);
    tjDestroy(tj);
    if (!ok) std::fprintf(stderr, "ranqua-assets: cannot write %s\n", path.c_str());
    return ok;
}

bool Canvas::SavePng(const std::string& path) {
    const bool ok = cairo_surface_write_to_png(m_surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    if (!ok) std::fprintf(stderr, "ranqua-assets: cannot write %s\n", path.c_str());
    return ok;
}

std::string PictureFile(const std::string& dir, const std::string& name, int factor) {
    return dir + "/" + name + (factor == 1 ? "" : "@" + std::to_string(factor) + "x") + ".jpg";
}

void Font(cairo_t* cr, Face face, double size) {
    const char* family = "DejaVu Sans";
    cairo_font_slant_t slant = CAIRO_FONT_SLANT_NORMAL;
    cairo_font_weight_t weight = CAIRO_FONT_WEIGHT_NORMAL;
    switch (face) {
    case Face::Sans:
        break;
    case Face::SansBold:
        weight = CAIRO_FONT_WEIGHT_BOLD;
        break;
    case Face::SansCondensedBold:
        family = "DejaVu Sans Condensed";
        weight = CAIRO_FONT_WEIGHT_BOLD;
        break;
    case Face::Serif:
        family = "DejaVu Serif";
        break;
    case Face::SerifBold:
        family = "DejaVu Serif";
        weight = CAIRO_FONT_WEIGHT_BOLD;
        break;
    case Face::SerifItalic:
        family = "DejaVu Serif";
        slant = CAIRO_FONT_SLANT_ITALIC;
        break;
    case Face::MonoBold:
        family = "DejaVu Sans Mono";
        weight = CAIRO_FONT_WEIGHT_BOLD;
        break;
    }
    cairo_select_font_face(cr, family, slant, weight);
    cairo_set_font_size(cr, size);
}

double TextWidth(cairo_t* cr, const std::string& text) {
    cairo_text_extents_t e;
    cairo_text_extents(cr, text.c_str(), &e);
    return e.x_advance;
}

void TextCentered(cairo_t* cr, const std::string& text, double cx, double cy) {
    cairo_text_extents_t e;
    cairo_text_extents(cr, text.c_str(), &e);
    cairo_move_to(cr, cx - e.x_bearing - e.width / 2, cy - e.y_bearing - e.height / 2);
    cairo_show_text(cr, text.c_str());
}

void TextPath(cairo_t* cr, const std::string& text, double x, double baseline) {
    cairo_move_to(cr, x, baseline);
    cairo_text_path(cr, text.c_str());
}

void EmbossedTitle(cairo_t* cr, const std::string& text, double cx, double baseline, double size) {
    Font(cr, Face::SerifBold, size);
    const double x = cx - TextWidth(cr, text) / 2;
    TextPath(cr, text, x + 2, baseline + 3);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.5);
    cairo_fill(cr);
    TextPath(cr, text, x, baseline);
    cairo_pattern_t* fill =
        cairo_pattern_create_linear(0, baseline - 0.75 * size, 0, baseline + 0.2 * size);
    cairo_pattern_add_color_stop_rgb(fill, 0, 0xF4 / 255.0, 0xFD / 255.0, 1.0);
    cairo_pattern_add_color_stop_rgb(fill, 0.55, 0x9F / 255.0, 0xE3 / 255.0, 0xF5 / 255.0);
    cairo_pattern_add_color_stop_rgb(fill, 1, 0x3A / 255.0, 0x9C / 255.0, 0xC8 / 255.0);
    cairo_set_source(cr, fill);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(fill);
    cairo_set_source_rgba(cr, 0x0A / 255.0, 0x22 / 255.0, 0x36 / 255.0, 0.8);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

double Paragraph(cairo_t* cr, const std::string& text, double x, double baseline, double width,
                 double lineHeight) {
    std::istringstream words(text);
    std::string word, line;
    auto flush = [&] {
        cairo_move_to(cr, x, baseline);
        cairo_show_text(cr, line.c_str());
        baseline += lineHeight;
        line.clear();
    };
    while (words >> word) {
        const std::string candidate = line.empty() ? word : line + " " + word;
        if (!line.empty() && TextWidth(cr, candidate) > width) {
            flush();
            line = word;
        } else {
            line = candidate;
        }
    }
    if (!line.empty()) flush();
    return baseline;
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double radius) {
    const double r = std::min(radius, std::min(w, h) / 2);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 1.5 * M_PI);
    cairo_close_path(cr);
}

void Star(cairo_t* cr, double cx, double cy, double outer, double inner, int points,
          double rotation) {
    cairo_new_sub_path(cr);
    for (int i = 0; i < 2 * points; ++i) {
        const double a = rotation - M_PI / 2 + i * M_PI / points;
        const double r = i % 2 == 0 ? outer : inner;
        cairo_line_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
    }
    cairo_close_path(cr);
}

void Glow(cairo_t* cr, double cx, double cy, double radius, Rgb c, double alpha) {
    cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, radius);
    Stop(p, 0, c, alpha);
    Stop(p, 0.4, c, alpha * 0.45);
    Stop(p, 1, c, 0);
    cairo_set_source(cr, p);
    cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

uint32_t Rng::Next() {
    m_state ^= m_state << 13;
    m_state ^= m_state >> 7;
    m_state ^= m_state << 17;
    return static_cast<uint32_t>(m_state >> 32);
}

double Rng::Uniform() {
    return Next() / 4294967296.0;
}

double Hash(int x, int y, uint32_t seed) {
    uint32_t h = seed * 0x27D4EB2Du ^ static_cast<uint32_t>(x) * 0x85EBCA6Bu ^
                 static_cast<uint32_t>(y) * 0xC2B2AE35u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return (h & 0xFFFFFF) / 16777216.0;
}

double Noise(double x, double y, uint32_t seed) {
    const double fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    double tx = x - fx, ty = y - fy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    const double a = Hash(ix, iy, seed), b = Hash(ix + 1, iy, seed);
    const double c = Hash(ix, iy + 1, seed), d = Hash(ix + 1, iy + 1, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

double Fbm(double x, double y, int octaves, uint32_t seed) {
    double sum = 0, amp = 0.5, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * Noise(x, y, seed + i * 101);
        norm += amp;
        x = x * 2.03 + 17.1;
        y = y * 2.01 + 3.7;
        amp *= 0.5;
    }
    return sum / norm;
}

double Smooth(double e0, double e1, double x) {
    const double t = Clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

double Clamp01(double x) {
    return x < 0 ? 0 : (x > 1 ? 1 : x);
}

} // namespace art
