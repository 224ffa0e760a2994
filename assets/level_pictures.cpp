// level_pictures.cpp: the list of level pictures, their captions and the helpers they share.
#include "art.h"
#include "pictures.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace art {

void VerticalGradient(cairo_t* cr, double y0, double y1,
                      std::initializer_list<std::pair<double, uint32_t>> stops) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    for (const auto& [offset, colour] : stops)
        Stop(p, offset, Hex(colour));
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
}

void Ridge(cairo_t* cr, double baseY, double amplitude, double scale, uint32_t seed, Rgb colour,
           bool peaked, double alpha) {
    cairo_new_path(cr);
    cairo_move_to(cr, -2, kPicH + 2);
    for (int x = -2; x <= kPicW + 2; x += 2) {
        double n = Fbm(x * scale, seed * 0.37, 5, seed);
        if (peaked) n = 1 - std::fabs(2 * n - 1); // sharp crests
        cairo_line_to(cr, x, baseY - amplitude * n);
    }
    cairo_line_to(cr, kPicW + 2, kPicH + 2);
    cairo_close_path(cr);
    Source(cr, colour, alpha);
    cairo_fill(cr);
}

void Stars(cairo_t* cr, double maxY, int count, uint32_t seed) {
    Rng rng(seed);
    for (int i = 0; i < count; ++i) {
        const double x = rng.Range(0, kPicW), y = rng.Range(0, maxY);
        const double size = rng.Uniform();
        const double fade = 1 - 0.7 * y / maxY;
        const Rgb tint = Mix(Hex(0xFFFFFF), i % 3 ? Hex(0xBFD8FF) : Hex(0xFFE2B8), 0.5);
        if (size > 0.97) {
            Glow(cr, x, y, 7, tint, 0.5 * fade);
            cairo_set_line_width(cr, 0.7);
            Source(cr, tint, 0.6 * fade);
            cairo_move_to(cr, x - 6, y);
            cairo_line_to(cr, x + 6, y);
            cairo_move_to(cr, x, y - 6);
            cairo_line_to(cr, x, y + 6);
            cairo_stroke(cr);
        }
        cairo_arc(cr, x, y, 0.4 + size * 0.9, 0, 2 * M_PI);
        Source(cr, tint, (0.35 + 0.65 * rng.Uniform()) * fade);
        cairo_fill(cr);
    }
}

void Reflect(Canvas& c, int waterY, Rgb tint, double darken, uint32_t seed) {
    // The ripple field is in picture units; the mirror and the shifts it gives are in pixels.
    const int a = c.Factor(), line = waterY * a;
    c.BeginPixels();
    for (int y = line; y < c.Height(); ++y) {
        const double depth = c.At(y) - waterY;
        const double k = darken * (1 - 0.25 * depth / (kPicH - waterY));
        for (int x = 0; x < c.Width(); ++x) {
            const double ripple =
                (Noise(c.At(x) * 0.02, c.At(y) * 0.35, seed) - 0.5) * (2 + depth * 0.08);
            const int sx = std::clamp(static_cast<int>(x + a * ripple * 2), 0, c.Width() - 1);
            const int sy = std::clamp(static_cast<int>(2 * line - y - 1 + a * ripple), 0, line - 1);
            c.SetPixel(x, y, Scale(Mix(c.Pixel(sx, sy), tint, 0.3), k));
        }
    }
    c.EndPixels();
}

namespace {

struct LevelPicture {
    const char* title;
    void (*paint)(Canvas&);
};

constexpr LevelPicture kPictures[kLevelPictures] = {
    {"Dawn Peaks", PaintDawnPeaks},
    {"Deep Blue", PaintDeepBlue},
    {"Mandala", PaintMandala},
    {"Sunset Sea", PaintSunsetSea},
    {"Nebula", PaintNebula},
    {"Misty Forest", PaintMistyForest},
    {"Stained Glass", PaintStainedGlass},
    {"Dunes", PaintDunes},
    {"Aurora", PaintAurora},
    {"Kaleidoscope", PaintKaleidoscope},
    {"Twilight Lake", PaintTwilightLake},
    {"Spiral Galaxy", PaintSpiralGalaxy},
    {"Blossom", PaintBlossom},
    {"Ringed World", PaintRingedWorld},
    {"Moonlit Hills", PaintMoonlitHills},
    {"Glass Marbles", PaintGlassMarbles},
};

void Caption(cairo_t* cr, int level, const char* title) {
    const std::string text = "Level " + std::to_string(level) + "  \xC2\xB7  " + title;
    Font(cr, Face::SansBold, 13);
    const double w = TextWidth(cr, text) + 26, h = 22;
    const double x = (kPicW - w) / 2, y = kPicH - h - 10;
    RoundedRect(cr, x, y, w, h, h / 2);
    Source(cr, Hex(0x000000), 0.45);
    cairo_fill_preserve(cr);
    Source(cr, Hex(0xFFFFFF), 0.35);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    Source(cr, Hex(0xFFFFFF), 0.95);
    TextCentered(cr, text, kPicW / 2.0, y + h / 2);
}

} // namespace

bool MakeLevelPicture(const std::string& dir, int index, int factor) {
    Canvas c(kPicW, kPicH, false, factor);
    kPictures[index].paint(c);
    cairo_reset_clip(c.cr());
    c.ResetMatrix();
    Caption(c.cr(), index + 1, kPictures[index].title);
    return c.SaveJpeg(PictureFile(dir, "PIC" + std::to_string(index), factor));
}

} // namespace art
