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
using layout::kScoreField;
using layout::MenuButton;
using layout::Rect;

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
void DrawButton(cairo_t* cr, double x, double y, int cellWidth, const char* caption, int row);
void DrawEmptyBoard(cairo_t* cr); // the board without balls, at the origin

} // namespace art
