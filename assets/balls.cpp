// balls.cpp: shading of the balls and the marks that tell the colours apart without colour.
#include "balls.h"

#include <algorithm>
#include <cmath>

namespace art {

Rgb BallColour(int colour) {
    switch (colour) {
    case 1:
        return Hex(0xDA3A3A);
    case 2:
        return Hex(0x3DB04E);
    case 3:
        return Hex(0x2F6FE4);
    case 4:
        return Hex(0xF2C230);
    default:
        return Hex(0xA24FD8);
    }
}

const char* BallName(int colour) {
    switch (colour) {
    case 1:
        return "red";
    case 2:
        return "green";
    case 3:
        return "blue";
    case 4:
        return "gold";
    default:
        return "violet";
    }
}

namespace {

void MarkPath(cairo_t* cr, double cx, double cy, double r, int colour) {
    const double s = r * 0.46;
    cairo_new_path(cr);
    switch (colour) {
    case 1:
        cairo_arc(cr, cx, cy, s * 0.62, 0, 2 * M_PI);
        break;
    case 2:
        cairo_arc(cr, cx, cy, s * 0.95, 0, 2 * M_PI);
        cairo_new_sub_path(cr);
        cairo_arc_negative(cr, cx, cy, s * 0.55, 2 * M_PI, 0);
        break;
    case 3:
        cairo_move_to(cr, cx, cy - s * 1.0);
        cairo_line_to(cr, cx + s * 0.98, cy + s * 0.72);
        cairo_line_to(cr, cx - s * 0.98, cy + s * 0.72);
        cairo_close_path(cr);
        break;
    case 4:
        cairo_rectangle(cr, cx - s * 0.72, cy - s * 0.72, s * 1.44, s * 1.44);
        break;
    default:
        Star(cr, cx, cy + s * 0.06, s * 1.08, s * 0.46, 5, 0);
        break;
    }
}

} // namespace

void DrawMark(cairo_t* cr, double cx, double cy, double r, int colour) {
    const Rgb base = BallColour(colour);
    cairo_save(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    // A pressed-in look: a dark shadow up-left, the light face, a fine dark edge.
    MarkPath(cr, cx - r * 0.04, cy - r * 0.04, r, colour);
    Source(cr, Scale(base, 0.35), 0.55);
    cairo_fill(cr);
    MarkPath(cr, cx, cy, r, colour);
    Source(cr, Mix(base, Hex(0xFFFFFF), 0.85), 0.92);
    cairo_fill_preserve(cr);
    Source(cr, Scale(base, 0.4), 0.8);
    cairo_set_line_width(cr, std::max(0.8, r * 0.06));
    cairo_stroke(cr);
    cairo_restore(cr);
}

void DrawBall(cairo_t* cr, double cx, double cy, double r, int colour) {
    const Rgb base = BallColour(colour);
    const Rgb white = Hex(0xFFFFFF);
    cairo_save(cr);
    // Contact shadow below the ball.
    cairo_pattern_t* sh = cairo_pattern_create_radial(cx + r * 0.08, cy + r * 0.12, r * 0.6,
                                                      cx + r * 0.08, cy + r * 0.12, r * 1.08);
    Stop(sh, 0, Hex(0x000000), 0.45);
    Stop(sh, 1, Hex(0x000000), 0);
    cairo_set_source(cr, sh);
    cairo_arc(cr, cx + r * 0.08, cy + r * 0.12, r * 1.08, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(sh);
    // Body: lit from the upper left.
    cairo_pattern_t* body = cairo_pattern_create_radial(cx - r * 0.38, cy - r * 0.42, 0, cx, cy, r);
    Stop(body, 0, Mix(base, white, 0.42));
    Stop(body, 0.28, Mix(base, white, 0.06));
    Stop(body, 0.66, base);
    Stop(body, 1, Scale(base, 0.32));
    cairo_set_source(cr, body);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(body);
    // Light bounced up from below.
    cairo_pattern_t* rim =
        cairo_pattern_create_radial(cx, cy - r * 0.35, r * 0.9, cx, cy - r * 0.1, r * 1.05);
    Stop(rim, 0, Mix(base, white, 0.5), 0);
    Stop(rim, 1, Mix(base, white, 0.45), 0.35);
    cairo_set_source(cr, rim);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(rim);
    DrawMark(cr, cx, cy + r * 0.04, r, colour);
    // The glossy highlight.
    cairo_save(cr);
    cairo_translate(cr, cx - r * 0.36, cy - r * 0.5);
    cairo_scale(cr, 1.0, 0.62);
    cairo_pattern_t* hi = cairo_pattern_create_radial(0, 0, 0, 0, 0, r * 0.42);
    Stop(hi, 0, white, 0.95);
    Stop(hi, 0.5, white, 0.55);
    Stop(hi, 1, white, 0);
    cairo_set_source(cr, hi);
    cairo_arc(cr, 0, 0, r * 0.42, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(hi);
    cairo_restore(cr);
    cairo_restore(cr);
}

void DrawSelectionBall(cairo_t* cr, double cx, double cy, double r) {
    const Rgb glow = Hex(0x9FF3FF);
    const Rgb white = Hex(0xFFFFFF);
    cairo_save(cr);
    // A bright halo around the ball.
    cairo_pattern_t* halo = cairo_pattern_create_radial(cx, cy, r * 0.85, cx, cy, r * 1.2);
    Stop(halo, 0, white, 1);
    Stop(halo, 0.35, glow, 0.95);
    Stop(halo, 1, glow, 0);
    cairo_set_source(cr, halo);
    cairo_arc(cr, cx, cy, r * 1.2, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(halo);
    // A pale glassy body, mid-toned enough that the ball below tints it.
    cairo_pattern_t* body =
        cairo_pattern_create_radial(cx - r * 0.35, cy - r * 0.4, 0, cx, cy, r * 0.95);
    Stop(body, 0, white);
    Stop(body, 0.3, Hex(0xA8D4E0));
    Stop(body, 0.75, Hex(0x5E8A9C));
    Stop(body, 1, Hex(0x3E6678));
    cairo_set_source(cr, body);
    cairo_arc(cr, cx, cy, r * 0.95, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(body);
    cairo_arc(cr, cx, cy, r * 0.95, 0, 2 * M_PI);
    Source(cr, white, 0.9);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    cairo_restore(cr);
}

} // namespace art
