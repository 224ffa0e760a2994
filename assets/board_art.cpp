// board_art.cpp: the seven whole-board pictures and the score digits.
#include "art.h"
#include "balls.h"
#include "layout.h"

#include <cmath>
#include <string>

namespace art {

namespace {

constexpr int kCell = layout::kCellSize;
constexpr int kSlot = layout::kLastCellShown; // as much as the cut last column and row show
constexpr double kBallRadius = 15.5;

void SlotPath(cairo_t* cr, double x, double y) {
    cairo_new_path(cr);
    RoundedRect(cr, x + 0.5, y + 0.5, kSlot - 1, kSlot - 1, 7);
}

} // namespace

// The empty board: a flat body with one recessed slot per cell, the same in every picture so
// that a cell square copied from one onto another joins seamlessly.
void DrawEmptyBoard(cairo_t* cr) {
    Source(cr, BoardBody());
    cairo_paint(cr);
    for (int c = 0; c < layout::kColumns; ++c)
        for (int r = 0; r < layout::kRows; ++r) {
            const double x = c * kCell, y = r * kCell;
            SlotPath(cr, x, y);
            cairo_pattern_t* fill = cairo_pattern_create_linear(x, y, x + 10, y + kSlot);
            Stop(fill, 0, Hex(0x06111D));
            Stop(fill, 1, Hex(0x0F2338));
            cairo_set_source(cr, fill);
            cairo_fill(cr);
            cairo_pattern_destroy(fill);
            // Inner shadow along the upper and left edges.
            cairo_save(cr);
            SlotPath(cr, x, y);
            cairo_clip(cr);
            SlotPath(cr, x + 1.5, y + 1.5);
            Source(cr, Hex(0x000000), 0.45);
            cairo_set_line_width(cr, 3);
            cairo_stroke(cr);
            cairo_restore(cr);
            // A fine rim catching the light on the lower right.
            SlotPath(cr, x, y);
            cairo_pattern_t* rim = cairo_pattern_create_linear(x, y, x + kSlot, y + kSlot);
            Stop(rim, 0, Hex(0x5C8CB4), 0);
            Stop(rim, 0.55, Hex(0x5C8CB4), 0.1);
            Stop(rim, 1, Hex(0x7FB0D8), 0.75);
            cairo_set_source(cr, rim);
            cairo_set_line_width(cr, 1);
            cairo_stroke(cr);
            cairo_pattern_destroy(rim);
        }
}

namespace {

bool SaveBoard(const std::string& dir, int k, int factor) {
    Canvas board(kBoardRect.Width(), kBoardRect.Height(), false, factor);
    cairo_t* cr = board.cr();
    DrawEmptyBoard(cr);
    for (int c = 0; c < layout::kColumns && k != 0; ++c)
        for (int r = 0; r < layout::kRows; ++r) {
            const double cx = c * kCell + kSlot / 2.0, cy = r * kCell + kSlot / 2.0;
            if (k == layout::kHighlightPicture) {
                // The selected cell glows as a whole.
                cairo_save(cr);
                SlotPath(cr, c * kCell, r * kCell);
                cairo_clip(cr);
                Glow(cr, cx, cy, 26, Hex(0x7FE8FF), 0.9);
                cairo_restore(cr);
                DrawSelectionBall(cr, cx, cy, kBallRadius);
            } else {
                DrawBall(cr, cx, cy, kBallRadius, k);
            }
        }
    return board.SaveJpeg(PictureFile(dir, "COL" + std::to_string(k), factor), 95);
}

bool SaveDigits(const std::string& dir, int factor) {
    Canvas strip(layout::kDigitCells * layout::kDigitWidth, kScoreField.Height(), false, factor);
    cairo_t* cr = strip.cr();
    Source(cr, FieldColour());
    cairo_paint(cr);
    Font(cr, Face::MonoBold, 17);
    for (int d = 0; d < layout::kDigitCells; ++d) {
        const double cx = d * layout::kDigitWidth + layout::kDigitWidth / 2,
                     cy = kScoreField.Height() / 2.0;
        if (d == layout::kBlankDigit) continue;
        if (d == layout::kMinusDigit) {
            Source(cr, DigitColour());
            cairo_rectangle(cr, cx - 4, cy - 1.25, 8, 2.5);
            cairo_fill(cr);
            continue;
        }
        const std::string text(1, static_cast<char>('0' + d));
        Source(cr, DigitColour(), 0.22); // a faint glow around the lit figure
        for (int i = 0; i < 4; ++i)
            TextCentered(cr, text, cx + (i % 2 ? 0.6 : -0.6), cy + (i / 2 ? 0.6 : -0.6));
        Source(cr, DigitColour());
        TextCentered(cr, text, cx, cy);
    }
    return strip.SaveJpeg(PictureFile(dir, "DIGITS", factor), 97);
}

} // namespace

bool MakeBoardArt(const std::string& dir, int factor) {
    bool ok = true;
    for (int k = 0; k < layout::kBoardPictures; ++k)
        ok &= SaveBoard(dir, k, factor);
    ok &= SaveDigits(dir, factor);
    return ok;
}

} // namespace art
