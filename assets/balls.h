// balls.h: the glossy balls of the five colours, each with its own mark, and the selection ball.
#pragma once

#include "canvas.h"
#include "layout/layout.h"

namespace art {

constexpr int kColours = layout::kBallColours;

// Colour 1..5: red (dot), green (ring), blue (triangle), gold (square), violet (star).
Rgb BallColour(int colour);
const char* BallName(int colour);

// A shaded ball of radius r centred on (cx, cy), with its colour's mark.
void DrawBall(cairo_t* cr, double cx, double cy, double r, int colour);
// The mark alone, scaled to a ball of radius r.
void DrawMark(cairo_t* cr, double cx, double cy, double r, int colour);
// The pale glowing ball that marks the selection when blended over a ball.
void DrawSelectionBall(cairo_t* cr, double cx, double cy, double r);

} // namespace art
