// layout.h: the generator's view of the play-area layout, and the shared palette.
#pragma once

#include "canvas.h"
#include "layout/layout.h"

namespace art {

// The places the game and the generator share, in the game's own rectangle style.
using layout::kBannerRect;
using layout::kBoardRect;
using layout::kButtonRow;
using layout::kHelpRect;
using layout::kLinkRect;
using layout::kMenuStrip;
using layout::kPlayHeight;
using layout::kPlayWidth;
using layout::kScoreField;
using layout::MenuButton;
using layout::Rect;

// The panel of score, banner and commands at the bottom; overlays in the help's place end
// above it.
inline constexpr Rect kBottomPanel{188, 488, 720, 571};

// Palette shared by the background and the pictures pasted onto it.
inline Rgb PanelColour() {
    return Hex(0x132A40);
}
inline Rgb FieldColour() {
    return Hex(0x061320);
} // score field and banner strip
inline Rgb DigitColour() {
    return Hex(0xFFC861);
}
inline Rgb BannerText() {
    return Hex(0xA8E6FF);
}
inline Rgb BoardBody() {
    return Hex(0x1B3550);
}

// Drawn the same in the background and in the pictures pasted onto it.
void DrawBannerField(cairo_t* cr, double x, double y);
// Button b's look in the given row, in a box `width` wide at (x, y): its cell in the strip, or
// its place in the background.
void DrawButton(cairo_t* cr, double x, double y, int width, const MenuButton& b, int row);
void DrawEmptyBoard(cairo_t* cr); // the board without balls, at the origin
// A sunken frame just outside a field that the game paints into, and the field.
void DrawInset(cairo_t* cr, const Rect& field, Rgb fill);
// The whole play-area background, at the origin.
void DrawBackground(cairo_t* cr);

} // namespace art
