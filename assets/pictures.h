// pictures.h: the sixteen level pictures (the size of their place) and the helpers they share.
#pragma once

#include "canvas.h"
#include "layout/layout.h"

#include <initializer_list>
#include <utility>

namespace art {

constexpr int kPicW = layout::kLevelPictureRect.Width();
constexpr int kPicH = layout::kLevelPictureRect.Height();

// Landscapes (landscapes.cpp).
void PaintDawnPeaks(Canvas& c);
void PaintDeepBlue(Canvas& c);
void PaintSunsetSea(Canvas& c);
void PaintMistyForest(Canvas& c);
void PaintDunes(Canvas& c);
void PaintAurora(Canvas& c);
void PaintTwilightLake(Canvas& c);
void PaintBlossom(Canvas& c);
void PaintMoonlitHills(Canvas& c);

// Abstract and space pictures (abstracts.cpp).
void PaintMandala(Canvas& c);
void PaintNebula(Canvas& c);
void PaintStainedGlass(Canvas& c);
void PaintKaleidoscope(Canvas& c);
void PaintSpiralGalaxy(Canvas& c);
void PaintRingedWorld(Canvas& c);
void PaintGlassMarbles(Canvas& c);

// Shared helpers (level_pictures.cpp).
void VerticalGradient(cairo_t* cr, double y0, double y1,
                      std::initializer_list<std::pair<double, uint32_t>> stops);
// A skyline of hills or peaks: a filled profile from baseY down to the bottom.
void Ridge(cairo_t* cr, double baseY, double amplitude, double scale, uint32_t seed, Rgb colour,
           bool peaked, double alpha = 1.0);
void Stars(cairo_t* cr, double maxY, int count, uint32_t seed);
// Mirrors everything above waterY into the water below it, with ripples and a tint.
void Reflect(Canvas& c, int waterY, Rgb tint, double darken, uint32_t seed);

// Calls f(x, y) for every pixel with the picture coordinates it samples, and stores the colour
// it returns: a larger canvas evaluates the same field on a finer grid.
template <class F> void Shade(Canvas& c, F f) {
    c.BeginPixels();
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x)
            c.SetPixel(x, y, f(c.At(x), c.At(y)));
    c.EndPixels();
}

} // namespace art
