// layout.h: where the game puts each picture on the 800x600 play area, and the shared palette.
#pragma once

#include "canvas.h"

namespace art {

struct Box {
    int x, y, w, h;
};

// Places on the play area that the background must leave for the game's own pictures.
constexpr Box kBoard{331, 172, 277, 237};
constexpr Box kScoreField{274, 506, 72, 21};
constexpr Box kBanner{498, 498, 211, 20};
constexpr Box kLink{131, 18, 176, 44}; // every link picture has this size
constexpr Box kHelp{145, 104, 599, 395};

// The menu strip: one cell per caption, four rows of kButtonRow pixels.
constexpr int kButtonRow = 19;
struct ButtonCell {
    const char* caption;
    int cellX, cellW;
    Box place; // where the game draws the cell; w == 0 when no button uses it
};
constexpr ButtonCell kButtons[] = {
    {"SAVE", 0, 111, {372, 541, 111, 19}},   {"LOAD", 111, 111, {483, 541, 111, 19}},
    {"EXIT", 222, 111, {594, 541, 111, 19}}, {"NEW", 333, 111, {261, 541, 111, 19}},
    {"HELP", 444, 70, {672, 35, 69, 19}},    {"CREDITS", 514, 70, {0, 0, 0, 0}},
    {"MUSIC", 584, 72, {657, 61, 72, 19}},   {"SOUND", 656, 72, {583, 61, 72, 19}},
};

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
