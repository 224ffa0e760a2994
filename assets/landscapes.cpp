// landscapes.cpp: level pictures of places — mountains, sea, forest, desert, sky and water.
#include "pictures.h"

#include <cmath>
#include <vector>

namespace art {

namespace {

void Fog(cairo_t* cr, double y, double height, Rgb colour, double alpha) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y - height, 0, y + height);
    Stop(p, 0, colour, 0);
    Stop(p, 0.5, colour, alpha);
    Stop(p, 1, colour, 0);
    cairo_set_source(cr, p);
    cairo_rectangle(cr, 0, y - height, kPicW, 2 * height);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void Pine(cairo_t* cr, double x, double ground, double height, Rgb colour) {
    const double w = height * 0.36;
    cairo_rectangle(cr, x - w * 0.06, ground - height * 0.18, w * 0.12, height * 0.2);
    for (int tier = 0; tier < 4; ++tier) {
        const double top = ground - height + tier * height * 0.2;
        const double bottom = top + height * 0.38;
        const double half = w * (0.35 + tier * 0.2);
        cairo_move_to(cr, x, top);
        cairo_line_to(cr, x + half, bottom);
        cairo_line_to(cr, x - half, bottom);
        cairo_close_path(cr);
    }
    Source(cr, colour);
    cairo_fill(cr);
}

void Bird(cairo_t* cr, double x, double y, double s) {
    cairo_move_to(cr, x - s, y - s * 0.3);
    cairo_curve_to(cr, x - s * 0.5, y - s * 0.6, x - s * 0.2, y - s * 0.3, x, y);
    cairo_curve_to(cr, x + s * 0.2, y - s * 0.3, x + s * 0.5, y - s * 0.6, x + s, y - s * 0.3);
}

void Moon(cairo_t* cr, double x, double y, double r) {
    Glow(cr, x, y, r * 4.5, Hex(0xBFD4FF), 0.25);
    cairo_pattern_t* disc = cairo_pattern_create_radial(x - r * 0.3, y - r * 0.3, 0, x, y, r);
    Stop(disc, 0, Hex(0xFFFDF2));
    Stop(disc, 1, Hex(0xD8DCE8));
    cairo_set_source(cr, disc);
    cairo_arc(cr, x, y, r, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(disc);
    Rng rng(5);
    for (int i = 0; i < 9; ++i) { // soft maria
        const double a = rng.Range(0, 2 * M_PI), d = rng.Range(0, r * 0.65);
        cairo_arc(cr, x + d * std::cos(a), y + d * std::sin(a), rng.Range(r * 0.1, r * 0.3), 0,
                  2 * M_PI);
        Source(cr, Hex(0x9AA2B8), 0.22);
        cairo_fill(cr);
    }
}

} // namespace

void PaintDawnPeaks(Canvas& c) {
    cairo_t* cr = c.cr();
    VerticalGradient(
        cr, 0, 360,
        {{0, 0x24305E}, {0.4, 0x7A5E9E}, {0.72, 0xEE9C7C}, {0.9, 0xFFD29C}, {1, 0xFFE6B8}});
    Glow(cr, 236, 196, 190, Hex(0xFFD8A0), 0.55);
    cairo_arc(cr, 236, 196, 24, 0, 2 * M_PI);
    Source(cr, Hex(0xFFF4D8));
    cairo_fill(cr);
    const uint32_t layers[] = {0xB49AC0, 0x8E77A8, 0x68578C, 0x463C6C, 0x2A2548};
    for (int i = 0; i < 5; ++i) {
        Ridge(cr, 300 + i * 38, 120 - i * 16, 0.006 + i * 0.002, 11 + i, Hex(layers[i]), true);
        Fog(cr, 305 + i * 38, 20, Hex(0xF2B8A8), 0.35 - i * 0.05);
    }
    Source(cr, Hex(0x2A2548), 0.8);
    cairo_set_line_width(cr, 1.4);
    Bird(cr, 120, 120, 8);
    Bird(cr, 142, 108, 6);
    Bird(cr, 158, 130, 5);
    cairo_stroke(cr);
}

void PaintDeepBlue(Canvas& c) {
    cairo_t* cr = c.cr();
    VerticalGradient(cr, 0, kPicH, {{0, 0x5CD2E6}, {0.35, 0x1C78A6}, {1, 0x082A4E}});
    for (int i = 0; i < 8; ++i) { // light from above
        const double x = 30 + i * 45;
        cairo_move_to(cr, x - 8, 0);
        cairo_line_to(cr, x + 14, 0);
        cairo_line_to(cr, x + 80 + i * 6, 420);
        cairo_line_to(cr, x + 30 + i * 6, 420);
        cairo_close_path(cr);
        cairo_pattern_t* ray = cairo_pattern_create_linear(0, 0, 0, 420);
        Stop(ray, 0, Hex(0xE8FFFF), 0.16 - 0.01 * (i % 3));
        Stop(ray, 1, Hex(0xE8FFFF), 0);
        cairo_set_source(cr, ray);
        cairo_fill(cr);
        cairo_pattern_destroy(ray);
    }
    Rng rng(3);
    for (int i = 0; i < 3; ++i) { // fish schools
        const double sx = 60 + i * 110, sy = 140 + i * 55;
        for (int f = 0; f < 7; ++f) {
            const double x = sx + rng.Range(-40, 40), y = sy + rng.Range(-25, 25);
            const double s = rng.Range(5, 9);
            cairo_save(cr);
            cairo_translate(cr, x, y);
            cairo_scale(cr, 1, 0.45);
            cairo_arc(cr, 0, 0, s, 0, 2 * M_PI);
            cairo_restore(cr);
            cairo_move_to(cr, x - s * 0.8, y);
            cairo_line_to(cr, x - s * 1.7, y - s * 0.5);
            cairo_line_to(cr, x - s * 1.7, y + s * 0.5);
            cairo_close_path(cr);
            Source(cr, Hex(0x0A3458), 0.55);
            cairo_fill(cr);
        }
    }
    // Sandy floor with its ripples.
    Ridge(cr, 420, 30, 0.01, 7, Hex(0xB89C66), false);
    Ridge(cr, 440, 16, 0.02, 8, Hex(0x8E7648), false, 0.6);
    for (int i = 0; i < 9; ++i) { // swaying weed
        const double x0 = 20 + i * 40 + rng.Range(-10, 10), h = rng.Range(90, 190);
        const Rgb weed = i % 2 ? Hex(0x2E8C5A) : Hex(0x3FA46A);
        for (int s = 0; s < 30; ++s) {
            const double t0 = s / 30.0, t1 = (s + 1) / 30.0;
            cairo_move_to(cr, x0 + 12 * std::sin(t0 * 5 + i), 440 - h * t0);
            cairo_line_to(cr, x0 + 12 * std::sin(t1 * 5 + i), 440 - h * t1);
            cairo_set_line_width(cr, 6 * (1 - t0) + 1);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            Source(cr, weed, 0.85);
            cairo_stroke(cr);
        }
    }
    for (int i = 0; i < 40; ++i) { // bubbles
        const double x = rng.Range(10, 348), y = rng.Range(20, 420), r = rng.Range(1.5, 6);
        cairo_arc(cr, x, y, r, 0, 2 * M_PI);
        Source(cr, Hex(0xE8FFFF), 0.6);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
        cairo_arc(cr, x - r * 0.35, y - r * 0.35, r * 0.3, 0, 2 * M_PI);
        Source(cr, Hex(0xFFFFFF), 0.8);
        cairo_fill(cr);
    }
}

void PaintSunsetSea(Canvas& c) {
    cairo_t* cr = c.cr();
    const double horizon = 280;
    VerticalGradient(cr, 0, horizon,
                     {{0, 0x1C1A4A}, {0.35, 0x6E2C6C}, {0.7, 0xE05C4C}, {1, 0xFFB460}});
    Glow(cr, 179, horizon - 10, 200, Hex(0xFFB060), 0.5);
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, kPicW, horizon);
    cairo_clip(cr);
    cairo_arc(cr, 179, horizon - 6, 42, 0, 2 * M_PI);
    Source(cr, Hex(0xFFE8B0));
    cairo_fill(cr);
    cairo_restore(cr);
    Rng rng(21);
    for (int i = 0; i < 9; ++i) { // long clouds lit from below
        const double y = rng.Range(40, 220), x = rng.Range(-40, 300), w = rng.Range(90, 200);
        cairo_save(cr);
        cairo_translate(cr, x + w / 2, y);
        cairo_scale(cr, w / 2, rng.Range(4, 9));
        cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
        cairo_restore(cr);
        cairo_pattern_t* p = cairo_pattern_create_linear(0, y - 9, 0, y + 9);
        Stop(p, 0, Hex(0x3A1E4E), 0.85);
        Stop(p, 1, Hex(0xFF9A6A), 0.85);
        cairo_set_source(cr, p);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
    }
    cairo_rectangle(cr, 0, horizon, kPicW, kPicH - horizon);
    cairo_pattern_t* sea = cairo_pattern_create_linear(0, horizon, 0, kPicH);
    Stop(sea, 0, Hex(0x8A3E5E));
    Stop(sea, 0.3, Hex(0x3C1E48));
    Stop(sea, 1, Hex(0x120C24));
    cairo_set_source(cr, sea);
    cairo_fill(cr);
    cairo_pattern_destroy(sea);
    for (int i = 0; i < 160; ++i) { // the sun's path on the water
        const double y = horizon + 2 + std::pow(rng.Uniform(), 1.6) * (kPicH - horizon);
        const double spread = 20 + (y - horizon) * 0.45;
        const double x = 179 + rng.Range(-spread, spread), w = rng.Range(4, 26);
        const double near = 1 - std::fabs(x - 179) / (spread + 1);
        cairo_rectangle(cr, x - w / 2, y, w, 1.2 + (y - horizon) * 0.01);
        Source(cr, Hex(0xFFD08A), 0.2 + 0.6 * near);
        cairo_fill(cr);
    }
    Source(cr, Hex(0x1A1028), 0.9);
    cairo_set_line_width(cr, 1.5);
    Bird(cr, 90, 150, 9);
    Bird(cr, 112, 138, 7);
    cairo_stroke(cr);
}

void PaintMistyForest(Canvas& c) {
    cairo_t* cr = c.cr();
    VerticalGradient(cr, 0, kPicH, {{0, 0xD8E8DC}, {0.45, 0x9CC0B4}, {1, 0x2E5650}});
    Glow(cr, 270, 90, 160, Hex(0xFFF8E0), 0.6);
    const uint32_t shades[] = {0x9ABDB0, 0x76A092, 0x4F7E72, 0x2F5A50, 0x163A34};
    for (int layer = 0; layer < 5; ++layer) {
        const double ground = 230 + layer * 55, h = 50 + layer * 28;
        Ridge(cr, ground, 14, 0.02, 31 + layer, Hex(shades[layer]), false);
        Rng rng(40 + layer);
        for (double x = rng.Range(-10, 10); x < kPicW + 20; x += rng.Range(10, 26) + layer * 6)
            Pine(cr, x, ground + 6, h * rng.Range(0.7, 1.15), Hex(shades[layer]));
        Fog(cr, ground + 10, 28, Hex(0xE0EEE6), 0.5 - layer * 0.07);
    }
}

void PaintDunes(Canvas& c) {
    cairo_t* cr = c.cr();
    VerticalGradient(cr, 0, 250, {{0, 0x3C86CC}, {0.7, 0x9CCCEC}, {1, 0xF4E4C8}});
    Glow(cr, 96, 84, 80, Hex(0xFFFFF0), 0.8);
    cairo_arc(cr, 96, 84, 15, 0, 2 * M_PI);
    Source(cr, Hex(0xFFFFF4));
    cairo_fill(cr);
    const uint32_t lit[] = {0xF0CC94, 0xEBB878, 0xE4A25E, 0xD88A46, 0xC47234};
    for (int i = 0; i < 5; ++i) {
        const double base = 230 + i * 52, amp = 22 + i * 8;
        const double ph = i * 1.9;
        auto crest = [&](double x) {
            return base - amp * (0.6 * std::sin(x / (60.0 + i * 14) + ph) +
                                 0.4 * std::sin(x / (31.0 + i * 5) + ph * 2));
        };
        cairo_new_path(cr);
        cairo_move_to(cr, -2, kPicH + 2);
        for (int x = -2; x <= kPicW + 2; x += 2)
            cairo_line_to(cr, x, crest(x));
        cairo_line_to(cr, kPicW + 2, kPicH + 2);
        cairo_close_path(cr);
        cairo_pattern_t* p = cairo_pattern_create_linear(0, base - amp, 0, base + 80);
        Stop(p, 0, Hex(lit[i]));
        Stop(p, 1, Scale(Hex(lit[i]), 0.62));
        cairo_set_source(cr, p);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
        cairo_new_path(cr);
        for (int x = -2; x <= kPicW + 2; x += 2)
            cairo_line_to(cr, x, crest(x) + 1);
        Source(cr, Hex(0xFFF4DC), 0.6);
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
        for (int r = 1; r < 5 && i >= 3; ++r) { // wind ripples on the near dunes
            cairo_new_path(cr);
            for (int x = -2; x <= kPicW + 2; x += 3)
                cairo_line_to(cr, x, crest(x) + r * 11 + 3 * std::sin(x / 9.0 + r));
            Source(cr, Scale(Hex(lit[i]), 0.75), 0.5);
            cairo_set_line_width(cr, 1);
            cairo_stroke(cr);
        }
    }
}

void PaintAurora(Canvas& c) {
    const double water = 360;
    Shade(c, [&](double x, double y) {
        const double sky = y / water;
        Rgb col = Mix(Hex(0x020610), Hex(0x0C2440), sky);
        const double base = 190 + 40 * std::sin(x / 70.0) + 18 * std::sin(x / 23.0 + 1);
        const double rays = 0.4 + 0.6 * Fbm(x * 0.09, 0.5, 3, 9);
        const double above = base - y;
        if (above > -12) {
            const double body =
                above < 0 ? std::exp(-above * above / 30.0) : std::exp(-above / (70 + 50 * rays));
            const Rgb tone = Mix(Hex(0x3CFFA4), Hex(0xC054FF), Clamp01(above / 150));
            col = Mix(col, tone, Clamp01(body * rays * 0.9));
        }
        return col;
    });
    cairo_t* cr = c.cr();
    Stars(cr, water, 170, 12);
    // Snowy mountains and their dark feet.
    Ridge(cr, 335, 120, 0.006, 51, Hex(0x9AAECC), true);
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, kPicW, water);
    cairo_clip(cr);
    Ridge(cr, 338, 70, 0.011, 52, Hex(0x5C7090), true, 0.85);
    Ridge(cr, 356, 26, 0.02, 53, Hex(0x1A2438), false);
    cairo_restore(cr);
    Reflect(c, static_cast<int>(water), Hex(0x0A1A30), 0.7, 61);
}

void PaintTwilightLake(Canvas& c) {
    cairo_t* cr = c.cr();
    const double water = 300;
    VerticalGradient(cr, 0, water,
                     {{0, 0x1A1840}, {0.5, 0x56407C}, {0.85, 0xD884A0}, {1, 0xF0B0A0}});
    Stars(cr, 150, 60, 71);
    // A thin crescent: a disc with a sky-coloured disc over it.
    Glow(cr, 270, 70, 60, Hex(0xFFE8D0), 0.25);
    cairo_save(cr);
    cairo_arc(cr, 270, 70, 16, 0, 2 * M_PI);
    cairo_clip(cr);
    cairo_arc(cr, 270, 70, 16, 0, 2 * M_PI);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 277, 65, 15, 0, 2 * M_PI);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    Source(cr, Hex(0xFFF2DC));
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, kPicW, water);
    cairo_clip(cr);
    Ridge(cr, 262, 120, 0.007, 72, Hex(0x5E4A86), true);
    Ridge(cr, 290, 50, 0.012, 73, Hex(0x33295A), true);
    Ridge(cr, 302, 12, 0.03, 74, Hex(0x181430), false);
    for (int i = 0; i < 7; ++i)
        Pine(cr, 12 + i * 9 + (i % 2) * 4, 302, 40 + (i % 3) * 12, Hex(0x120E24));
    cairo_rectangle(cr, 258, 284, 20, 14); // a cabin with a lit window
    Source(cr, Hex(0x120E24));
    cairo_fill(cr);
    cairo_move_to(cr, 255, 285);
    cairo_line_to(cr, 268, 275);
    cairo_line_to(cr, 281, 285);
    cairo_fill(cr);
    Glow(cr, 268, 290, 14, Hex(0xFFC060), 0.6);
    cairo_rectangle(cr, 265, 288, 6, 5);
    Source(cr, Hex(0xFFD080));
    cairo_fill(cr);
    cairo_restore(cr);
    Reflect(c, static_cast<int>(water), Hex(0x2A2450), 0.78, 75);
}

namespace {

void Branch(cairo_t* cr, Rng& rng, double x, double y, double angle, double length, double width,
            int depth, std::vector<std::pair<double, double>>& tips) {
    const double x2 = x + length * std::cos(angle), y2 = y + length * std::sin(angle);
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x2, y2);
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    Source(cr, Hex(0x3A2428));
    cairo_stroke(cr);
    if (depth == 0) {
        tips.push_back({x2, y2});
        return;
    }
    const int children = depth > 5 ? 2 : 2 + static_cast<int>(rng.Uniform() * 1.6);
    for (int i = 0; i < children; ++i) {
        const double turn = rng.Range(0.25, 0.6) * (i % 2 ? 1 : -1);
        Branch(cr, rng, x2, y2, angle + turn, length * rng.Range(0.68, 0.82), width * 0.68,
               depth - 1, tips);
    }
}

} // namespace

void PaintBlossom(Canvas& c) {
    cairo_t* cr = c.cr();
    VerticalGradient(cr, 0, kPicH, {{0, 0xBFDDF4}, {0.55, 0xFBE4EC}, {1, 0xF6D2DA}});
    Ridge(cr, 300, 90, 0.004, 81, Hex(0xD8D4EC), true); // a far mountain
    Ridge(cr, 400, 22, 0.006, 82, Hex(0x8CB87C), false);
    Ridge(cr, 430, 14, 0.01, 83, Hex(0x6A9C60), false);
    Rng rng(84);
    std::vector<std::pair<double, double>> tips;
    Branch(cr, rng, 170, 440, -M_PI / 2 - 0.08, 95, 16, 7, tips);
    const uint32_t pinks[] = {0xFFB8CC, 0xF58AAE, 0xFFD4E0, 0xE86C98, 0xFFFFFF};
    for (const auto& [x, y] : tips)
        for (int i = 0; i < 5; ++i) {
            const double bx = x + rng.Range(-9, 9), by = y + rng.Range(-9, 9);
            cairo_arc(cr, bx, by, rng.Range(2.5, 5.5), 0, 2 * M_PI);
            Source(cr, Hex(pinks[rng.Next() % 5]), 0.85);
            cairo_fill(cr);
        }
    for (int i = 0; i < 50; ++i) { // drifting petals
        const double x = rng.Range(0, kPicW), y = rng.Range(60, 440);
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_rotate(cr, rng.Range(0, M_PI));
        cairo_scale(cr, 3.2, 1.8);
        cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
        cairo_restore(cr);
        Source(cr, Hex(pinks[i % 4]), 0.8);
        cairo_fill(cr);
    }
}

void PaintMoonlitHills(Canvas& c) {
    cairo_t* cr = c.cr();
    VerticalGradient(cr, 0, kPicH, {{0, 0x040A1E}, {0.5, 0x142A56}, {1, 0x1E3A66}});
    Stars(cr, 300, 220, 91);
    Moon(cr, 248, 118, 36);
    const uint32_t hills[] = {0x24406E, 0x1A3258, 0x122644, 0x0A1830};
    for (int i = 0; i < 4; ++i) {
        const double base = 300 + i * 45;
        cairo_new_path(cr);
        cairo_move_to(cr, -2, kPicH + 2);
        for (int x = -2; x <= kPicW + 2; x += 2)
            cairo_line_to(cr, x,
                          base - 26 * std::sin(x / (70.0 + 15 * i) + i * 2.1) -
                              8 * std::sin(x / 23.0 + i));
        cairo_line_to(cr, kPicW + 2, kPicH + 2);
        cairo_close_path(cr);
        cairo_pattern_t* p = cairo_pattern_create_linear(200, base - 30, 120, base + 60);
        Stop(p, 0, Mix(Hex(hills[i]), Hex(0x8AA8E0), 0.25));
        Stop(p, 1, Hex(hills[i]));
        cairo_set_source(cr, p);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
    }
    for (int i = 0; i < 3; ++i) { // round trees on the near hill
        const double x = 40 + i * 26, y = 395 - i * 4;
        cairo_rectangle(cr, x - 1.5, y, 3, 14);
        cairo_arc(cr, x, y, 11 - i * 2, 0, 2 * M_PI);
        Source(cr, Hex(0x050C1A));
        cairo_fill(cr);
    }
    Rng rng(93);
    for (int i = 0; i < 26; ++i) // fireflies
        Glow(cr, rng.Range(0, kPicW), rng.Range(330, 440), rng.Range(3, 6), Hex(0xFFE680), 0.8);
}

} // namespace art
