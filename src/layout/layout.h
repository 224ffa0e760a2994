// layout.h: every place on the 800x600 play area that the game and its picture generator share.
//
// The one copy of these numbers: the game draws and hits at them, the generator leaves room for
// them in the background and sizes the pictures pasted there, and the end-to-end scripts read
// them from build/layout.sh (written by layout_export.cpp). Play-area coordinates, left, top,
// right, bottom with right and bottom exclusive.
#pragma once

#include "platform/geometry.h"

#include <cstdint>

namespace layout {

using platform::Point;
using platform::Rect;

inline constexpr int32_t kPlayWidth = 800;
inline constexpr int32_t kPlayHeight = 600;
// Around the play area on a larger display, and around the logo that start-up shows on it:
// 0x00RRGGBB.
inline constexpr uint32_t kBorderColour = 0x021E1B;
// The logo, a square centred on the whole display at start-up.
inline constexpr int32_t kLogoSize = 300;

// The board: seven columns by six rows of square cells from its top left corner. The whole-board
// pictures are this size; the last column and row show only part of their cells.
inline constexpr int32_t kColumns = 7;
inline constexpr int32_t kRows = 6;
inline constexpr int32_t kCellSize = 40;
inline constexpr Rect kBoardRect{331, 172, 608, 409};
// How much of a cell of the last column, and of the last row, the board shows.
inline constexpr int32_t kLastCellShown = kBoardRect.Width() - (kColumns - 1) * kCellSize;
static_assert(kLastCellShown == kBoardRect.Height() - (kRows - 1) * kCellSize);
// Cell (column, row) relative to the board's top left corner.
inline constexpr Rect CellRect(int32_t column, int32_t row) {
    return {kCellSize * column, kCellSize * row, kCellSize * (column + 1), kCellSize * (row + 1)};
}
// Balls come in five colours, 1 to 5. The whole-board pictures "COL0" to "COL6" are the empty
// board, the board full of balls of each colour, and full of the highlight that marks the
// selected ball.
inline constexpr int32_t kBallColours = 5;
inline constexpr int32_t kHighlightPicture = kBallColours + 1;
inline constexpr int32_t kBoardPictures = kBallColours + 2;

inline constexpr Rect kScoreField{274, 506, 346, 527};
inline constexpr Rect kBannerRect{498, 498, 709, 518};
// Every link picture has the size of this place.
inline constexpr Rect kLinkRect{131, 18, 307, 62};
inline constexpr Point kLinkPosition = kLinkRect.TopLeft();
inline constexpr Rect kHelpRect{145, 104, 744, 499};
// Where the level picture rests once shown; every level picture has its size. Showing it
// zooms from the start place to the end place, 5 pixels above its rest.
inline constexpr Rect kLevelPictureRect{192, 20, 550, 489};
inline constexpr Rect kLevelZoomStart{214, 17, 324, 167};
inline constexpr Rect kLevelZoomEnd = kLevelPictureRect.Offset(0, -5);

// The digit strip: 0 to 9, a blank cell and a minus sign, each as tall as the score field. The
// score is drawn right-aligned, one cell at a time leftwards from the last one.
inline constexpr int32_t kDigitWidth = 12;
inline constexpr int32_t kDigitCells = 12;
inline constexpr int32_t kBlankDigit = 10;
inline constexpr int32_t kMinusDigit = 11;
inline constexpr Rect DigitCell(int32_t d) {
    return {kDigitWidth * d, 0, kDigitWidth * (d + 1), kScoreField.Height()};
}
inline constexpr Rect kLastDigitPlace{kScoreField.right - kDigitWidth, kScoreField.top,
                                      kScoreField.right, kScoreField.bottom};

// The menu strip: one cell per caption in a row, four rows (normal, pressed or on, under the
// mouse, never shown). A button copies its cell's row to its place; no place, no button.
inline constexpr int32_t kButtonRow = 19;
struct MenuButton {
    const char* caption;
    Rect cell; // the first row's
    Rect place;
};
inline constexpr MenuButton kSaveButton{"SAVE", {0, 0, 111, 19}, {372, 541, 483, 560}};
inline constexpr MenuButton kLoadButton{"LOAD", {111, 0, 222, 19}, {483, 541, 594, 560}};
inline constexpr MenuButton kExitButton{"EXIT", {222, 0, 333, 19}, {594, 541, 705, 560}};
inline constexpr MenuButton kNewButton{"NEW", {333, 0, 444, 19}, {261, 541, 372, 560}};
// One pixel narrower than its cell: the game squeezes the cell into it.
inline constexpr MenuButton kHelpButton{"HELP", {444, 0, 514, 19}, {672, 35, 741, 54}};
// Beside help, as wide as its cell: the table of the best games.
inline constexpr MenuButton kBestButton{"BEST", {514, 0, 584, 19}, {600, 35, 670, 54}};
inline constexpr MenuButton kMusicButton{"MUSIC", {584, 0, 656, 19}, {657, 61, 729, 80}};
inline constexpr MenuButton kSoundButton{"SOUND", {656, 0, 728, 19}, {583, 61, 655, 80}};
// In strip order.
inline constexpr MenuButton kMenuStrip[] = {kSaveButton, kLoadButton, kExitButton,  kNewButton,
                                            kHelpButton, kBestButton, kMusicButton, kSoundButton};
inline constexpr int32_t kMenuStripWidth = kSoundButton.cell.right;

// The best-games table, shown in the help's place: ten rows of dark fields (the digit strip's
// background) that the game fills with digit cells, best first, and a column for the mark of
// the newest entry. A date is ten cells, YYYY-MM-DD with the minus cell between.
inline constexpr int32_t kBestEntries = 10;
inline constexpr int32_t kBestFirstRowTop = 182;
inline constexpr int32_t kBestRowPitch = 25;
struct DigitField {
    int32_t left;
    int32_t cells;
};
inline constexpr DigitField kBestRank{288, 2};
inline constexpr DigitField kBestScore{340, 7};
inline constexpr DigitField kBestDate{452, 10};
inline constexpr DigitField kBestLevel{600, 2};
// The mark's picture has this size; it is drawn in the mark column of its row.
inline constexpr Rect kBestMarkCell{0, 0, 14, kScoreField.Height()};
inline constexpr int32_t kBestMarkLeft = 264;
inline constexpr Rect BestRow(int32_t row, int32_t left, int32_t width) {
    const int32_t top = kBestFirstRowTop + row * kBestRowPitch;
    return {left, top, left + width, top + kScoreField.Height()};
}
inline constexpr Rect BestField(DigitField f, int32_t row) {
    return BestRow(row, f.left, f.cells * kDigitWidth);
}
inline constexpr Rect BestMarkPlace(int32_t row) {
    return BestRow(row, kBestMarkLeft, kBestMarkCell.Width());
}

} // namespace layout
