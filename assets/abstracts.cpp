// abstracts.cpp: level pictures of patterns and of space — mandala, glass, nebula, planets.
#include "balls.h"
#include "pictures.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace art {

namespace {

// Cosine palette: a + b cos(2 pi (c t + d)), per channel.
Rgb Palette(double t, Rgb a, Rgb b, Rgb c, Rgb d) {
    auto ch = [t](double a, double b, double c, double d) {
        return a + b * std::cos(2 * M_PI * (c * t + d));
    };
    return {ch(a.r, b.r, c.r, d.r), ch(a.g, b.g, c.g, d.g), ch(a.b, b.b, c.b, d.b)};
}

void Petal(cairo_t* cr, double length, double width) {
    cairo_move_to(cr, 0, 0);
    cairo_curve_to(cr, width, length * 0.3, width * 0.8, length * 0.8, 0, length);
    cairo_curve_to(cr, -width * 0.8, length * 0.8, -width, length * 0.3, 0, 0);
    cairo_close_path(cr);
}

} // namespace

void PaintMandala(Canvas& c) {
    cairo_t* cr = c.cr();
    VerticalGradient(cr, 0, kPicH, {{0, 0x1A0E30}, {1, 0x0C0818}});
    const double cx = kPicW / 2.0, cy = 215;
    Glow(cr, cx, cy, 230, Hex(0x6A2C8A), 0.5);
    const uint32_t fills[] = {0x1E8A9A, 0xD8466E, 0xF0B040, 0x6C4CC8, 0x2EB08A, 0xF07840};
    for (int ring = 6; ring >= 0; --ring) {
        const int n = 8 + ring * 4;
        const double inner = 14 + ring * 22, length = 34 + ring * 6;
        for (int i = 0; i < n; ++i) {
            cairo_save(cr);
            cairo_translate(cr, cx, cy);
            cairo_rotate(cr, 2 * M_PI * (i + (ring % 2) * 0.5) / n);
            cairo_translate(cr, 0, inner);
            Petal(cr, length, length * (ring % 2 ? 0.32 : 0.45));
            cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, length);
            Stop(p, 0, Hex(fills[ring % 6]));
            Stop(p, 1, Mix(Hex(fills[(ring + 2) % 6]), Hex(0xFFFFFF), 0.2));
            cairo_set_source(cr, p);
            cairo_fill_preserve(cr);
            cairo_pattern_destroy(p);
            Source(cr, Hex(0xFFD98A), 0.8);
            cairo_set_line_width(cr, 1);
            cairo_stroke(cr);
            cairo_arc(cr, 0, length + 5, 2 + ring * 0.3, 0, 2 * M_PI);
            Source(cr, Hex(0xFFE8B0), 0.9);
            cairo_fill(cr);
            cairo_restore(cr);
        }
        cairo_arc(cr, cx, cy, inner, 0, 2 * M_PI);
        Source(cr, Hex(0xFFD98A), 0.5);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
    cairo_pattern_t* heart = cairo_pattern_create_radial(cx - 4, cy - 4, 0, cx, cy, 16);
    Stop(heart, 0, Hex(0xFFF4C8));
    Stop(heart, 1, Hex(0xE0902C));
    cairo_set_source(cr, heart);
    cairo_arc(cr, cx, cy, 16, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(heart);
}

void PaintNebula(Canvas& c) {
    Shade(c, [](double x, double y) {
        const double u = x / 120.0, v = y / 120.0;
        const double wx = Fbm(u + 1.7, v + 9.2, 4, 201), wy = Fbm(u + 8.3, v + 2.8, 4, 202);
        const double n = Fbm(u + 2.5 * wx, v + 2.5 * wy, 6, 203);
        const double gas = Smooth(0.35, 0.8, n);
        const Rgb deep = Mix(Hex(0x05030E), Hex(0x1A0C3A), wy);
        Rgb col = Mix(deep,
                      Palette(n * 1.3 + wx * 0.4, {0.55, 0.35, 0.55}, {0.45, 0.35, 0.4},
                              {1.0, 1.0, 1.0}, {0.0, 0.15, 0.3}),
                      gas * 0.9);
        const double dust = Smooth(0.55, 0.75, Fbm(u * 2 + 5, v * 2, 4, 204));
        return Scale(col, 1 - 0.5 * dust);
    });
    cairo_t* cr = c.cr();
    Stars(cr, kPicH, 260, 205);
    Glow(cr, 220, 170, 30, Hex(0xFFFFFF), 0.7);
    Glow(cr, 120, 330, 18, Hex(0xBFE0FF), 0.6);
}

void PaintStainedGlass(Canvas& c) {
    // Seeds on a jittered grid; a pixel belongs to its nearest seed, lead where two meet.
    Rng rng(301);
    struct Seed {
        double x, y;
        Rgb colour;
    };
    std::vector<Seed> seeds;
    const uint32_t jewels[] = {0xB8202C, 0x1E4FB0, 0xE0A020, 0x1E8A4A,
                               0x7A2CA0, 0x2AA0C0, 0xD85A20};
    for (int gy = 0; gy < 11; ++gy)
        for (int gx = 0; gx < 8; ++gx)
            seeds.push_back({gx * 48.0 + rng.Range(4, 44), gy * 46.0 + rng.Range(4, 42),
                             Hex(jewels[rng.Next() % 7])});
    const double cx = kPicW / 2.0, side = 34, spring = 250, r = 232;
    auto insideArch = [&](double x, double y) {
        if (x < side || x > kPicW - side || y > kPicH - 40) return false;
        if (y >= spring) return true;
        // A pointed arch: each side an arc centred on the springing line.
        return std::hypot(x - (side + r), y - spring) <= r &&
               std::hypot(x - (kPicW - side - r), y - spring) <= r;
    };
    Shade(c, [&](double x, double y) {
        if (!insideArch(x, y)) { // carved stone around the window
            const double n = Fbm(x * 0.05, y * 0.05, 5, 302);
            return Mix(Hex(0x4A4450), Hex(0x8A8290), n);
        }
        // The two nearest by squared distance, which is cheap at three times the pixels.
        double q1 = 1e18, q2 = 1e18;
        const Seed *best = nullptr, *second = nullptr;
        for (const Seed& s : seeds) {
            const double q = (x - s.x) * (x - s.x) + (y - s.y) * (y - s.y);
            if (q < q1) {
                q2 = q1, second = best;
                q1 = q, best = &s;
            } else if (q < q2) {
                q2 = q, second = &s;
            }
        }
        const double d1 = std::hypot(x - best->x, y - best->y);
        const double d2 = std::hypot(x - second->x, y - second->y);
        const double rose = std::fabs(std::hypot(x - cx, y - 200) - 90);
        if (d2 - d1 < 2.2 || rose < 2.2) return Hex(0x141018);
        const double light = 0.75 + 0.45 * std::exp(-std::hypot(x - cx, y - 170) / 160);
        const double grain = 0.85 + 0.3 * Fbm(x * 0.08, y * 0.08, 3, 303);
        return Scale(best->colour, light * grain);
    });
    cairo_t* cr = c.cr();
    Glow(cr, cx, 200, 120, Hex(0xFFF0C8), 0.18);
}

void PaintKaleidoscope(Canvas& c) {
    const double cx = kPicW / 2.0, cy = 220;
    Shade(c, [&](double x, double y) {
        const double dx = x - cx, dy = y - cy;
        const double r = std::hypot(dx, dy);
        double a = std::atan2(dy, dx);
        const double seg = 2 * M_PI / 12;
        a = std::fmod(a + 2 * M_PI, seg);
        if (a > seg / 2) a = seg - a; // mirror within each of the twelve segments
        const double u = r * std::cos(a), v = r * std::sin(a);
        const double f = std::sin(u * 0.07 + 2 * std::sin(v * 0.09)) +
                         std::sin(v * 0.11 - u * 0.02) + 1.5 * Fbm(u * 0.02, v * 0.02, 3, 401);
        Rgb col = Palette(f * 0.3 + r * 0.002, {0.5, 0.42, 0.5}, {0.42, 0.36, 0.38},
                          {1.0, 1.0, 1.0}, {0.05, 0.2, 0.35});
        const double edge = Smooth(0.0, 0.25, std::fabs(std::sin(f * 3)));
        col = Mix(Hex(0x140A24), col, 0.15 + 0.85 * edge);
        return Scale(col, 1.1 - 0.5 * Smooth(150, 300, r));
    });
}

void PaintSpiralGalaxy(Canvas& c) {
    const double cx = kPicW / 2.0, cy = 215, tilt = 0.55, turn = 0.4;
    Shade(c, [&](double x, double y) {
        // Rotate, then squash to see the disc at a slant.
        const double rx = (x - cx) * std::cos(turn) + (y - cy) * std::sin(turn);
        const double ry = (-(x - cx) * std::sin(turn) + (y - cy) * std::cos(turn)) / tilt;
        const double r = std::hypot(rx, ry) + 1e-6, a = std::atan2(ry, rx);
        const double arm = std::pow(0.5 + 0.5 * std::cos(2 * (a - 2.3 * std::log(r / 12))), 3);
        const double clumps = 0.5 + Fbm(rx * 0.05, ry * 0.05, 5, 501);
        const double disc = std::exp(-r / 70);
        const double core = std::exp(-r * r / 300);
        Rgb col = Mix(Hex(0x02030A), Hex(0x0A0E26), Clamp01(y / double(kPicH)));
        col = Mix(col, Hex(0x8AB0FF), Clamp01(arm * clumps * disc * 1.6));
        const double pink = Smooth(0.8, 0.95, Fbm(rx * 0.12, ry * 0.12, 3, 502)) * arm * disc;
        col = Mix(col, Hex(0xFF7AB8), Clamp01(pink * 2));
        col = Mix(col, Hex(0xFFF2D0), Clamp01(core * 1.2 + disc * 0.25));
        return col;
    });
    Stars(c.cr(), kPicH, 200, 503);
}

void PaintRingedWorld(Canvas& c) {
    cairo_t* cr = c.cr();
    VerticalGradient(cr, 0, kPicH, {{0, 0x030612}, {1, 0x0A1430}});
    Stars(cr, kPicH, 240, 601);
    const double px = 190, py = 250, pr = 100;
    auto ring = [&](bool front) {
        cairo_save(cr);
        cairo_rectangle(cr, 0, front ? py : 0, kPicW, front ? kPicH - py : py);
        cairo_clip(cr);
        cairo_translate(cr, px, py);
        cairo_rotate(cr, -0.35);
        cairo_scale(cr, 1, 0.28);
        const uint32_t bands[] = {0xC8B08A, 0xE8D8B0, 0x9A8466, 0xD8C49C, 0xB09878};
        for (int i = 0; i < 5; ++i) {
            cairo_arc(cr, 0, 0, 150 + i * 12, 0, 2 * M_PI);
            cairo_arc_negative(cr, 0, 0, 142 + i * 12, 2 * M_PI, 0);
            Source(cr, Hex(bands[i]), 0.55);
            cairo_fill(cr);
        }
        cairo_restore(cr);
    };
    cairo_save(cr); // the far half of the rings, turned with them
    cairo_translate(cr, px, py);
    cairo_rotate(cr, -0.35);
    cairo_translate(cr, -px, -py);
    ring(false);
    cairo_restore(cr);
    // The planet: banded, lit from the upper left.
    c.BeginPixels();
    const int a = c.Factor();
    const int top = std::max(0, static_cast<int>(py - pr) * a),
              left = std::max(0, static_cast<int>(px - pr) * a);
    const int bottom = std::min(c.Height(), static_cast<int>(py + pr + 1) * a);
    const int right = std::min(c.Width(), static_cast<int>(px + pr + 1) * a);
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            const double dx = (c.At(x) - px) / pr, dy = (c.At(y) - py) / pr;
            const double d2 = dx * dx + dy * dy;
            if (d2 > 1) continue;
            const double z = std::sqrt(1 - d2);
            const double light = Clamp01(-0.55 * dx - 0.6 * dy + 0.58 * z) * 0.9 + 0.08;
            const double lat = dy * std::cos(0.35) + dx * std::sin(0.35);
            const double band = std::sin(lat * 18 + 3 * Fbm(dx * 3, lat * 8, 4, 602));
            Rgb col = Mix(Hex(0xD88A4A), Hex(0xF2D6A0), 0.5 + 0.5 * band);
            const double edge = Smooth(1.0, 0.9, std::sqrt(d2));
            c.SetPixel(x, y, Mix(c.Pixel(x, y), Scale(col, light), edge));
        }
    c.EndPixels();
    cairo_save(cr);
    cairo_translate(cr, px, py);
    cairo_rotate(cr, -0.35);
    cairo_translate(cr, -px, -py);
    ring(true);
    cairo_restore(cr);
    cairo_arc(cr, 70, 95, 14, 0, 2 * M_PI); // a small moon
    cairo_pattern_t* moon = cairo_pattern_create_radial(64, 89, 0, 70, 95, 14);
    Stop(moon, 0, Hex(0xE8ECF4));
    Stop(moon, 1, Hex(0x6A7088));
    cairo_set_source(cr, moon);
    cairo_fill(cr);
    cairo_pattern_destroy(moon);
}

void PaintGlassMarbles(Canvas& c) {
    cairo_t* cr = c.cr();
    const double floor = 300;
    VerticalGradient(cr, 0, kPicH,
                     {{0, 0x0E1A30}, {0.62, 0x1C3450}, {0.64, 0x0A1422}, {1, 0x04080E}});
    Glow(cr, 179, 170, 220, Hex(0x4FC3D9), 0.22);
    struct Marble {
        double x, y, r;
        int colour;
    };
    const Marble marbles[] = {{96, 242, 40, 1}, {262, 236, 46, 3}, {179, 254, 48, 4},
                              {60, 283, 18, 2}, {314, 286, 15, 5}, {140, 290, 12, 5},
                              {220, 292, 10, 2}};
    for (const Marble& m : marbles) { // reflections first, squashed and faded
        cairo_save(cr);
        cairo_translate(cr, m.x, 2 * floor - m.y + m.r * 0.1);
        cairo_scale(cr, 1, -0.9);
        cairo_push_group(cr);
        DrawBall(cr, 0, 0, m.r, m.colour);
        cairo_pop_group_to_source(cr);
        cairo_paint_with_alpha(cr, 0.28);
        cairo_restore(cr);
    }
    cairo_pattern_t* fade = cairo_pattern_create_linear(0, floor, 0, kPicH);
    Stop(fade, 0, Hex(0x04080E), 0);
    Stop(fade, 0.7, Hex(0x04080E), 0.9);
    cairo_set_source(cr, fade);
    cairo_rectangle(cr, 0, floor, kPicW, kPicH - floor);
    cairo_fill(cr);
    cairo_pattern_destroy(fade);
    for (const Marble& m : marbles)
        DrawBall(cr, m.x, m.y, m.r, m.colour);
    Rng rng(701);
    for (int i = 0; i < 24; ++i) { // sparkles
        const double x = rng.Range(10, 348), y = rng.Range(20, 200), s = rng.Range(2, 6);
        Star(cr, x, y, s, s * 0.25, 4, 0);
        Source(cr, Hex(0xE8FBFF), rng.Range(0.4, 0.9));
        cairo_fill(cr);
    }
}

} // namespace art
