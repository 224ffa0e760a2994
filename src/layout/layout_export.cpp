// layout_export.cpp: writes the play-area layout as shell variables (build/layout.sh), so that
// the end-to-end scripts click where the game draws without a copy of their own.
#include "layout/layout.h"

#include <cctype>
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT\n", argv[0]);
        return 2;
    }
    std::FILE* out = std::fopen(argv[1], "w");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    std::fprintf(out, "# Generated from src/layout/layout.h at build time; do not edit.\n");
    std::fprintf(out, "LAYOUT_PLAY_WIDTH=%d\nLAYOUT_PLAY_HEIGHT=%d\n", layout::kPlayWidth,
                 layout::kPlayHeight);
    std::fprintf(out, "LAYOUT_BORDER_COLOUR=\"%u %u %u\"\n", layout::kBorderColour >> 16,
                 (layout::kBorderColour >> 8) & 0xFF, layout::kBorderColour & 0xFF);
    std::fprintf(out, "LAYOUT_BOARD_LEFT=%d\nLAYOUT_BOARD_TOP=%d\nLAYOUT_CELL_SIZE=%d\n",
                 layout::kBoardRect.left, layout::kBoardRect.top, layout::kCellSize);
    std::fprintf(out, "LAYOUT_COLUMNS=%d\nLAYOUT_ROWS=%d\nLAYOUT_BALL_COLOURS=%d\n",
                 layout::kColumns, layout::kRows, layout::kBallColours);
    std::fprintf(out, "LAYOUT_LINK=\"%d %d %d %d\"\n", layout::kLinkRect.left,
                 layout::kLinkRect.top, layout::kLinkRect.right, layout::kLinkRect.bottom);
    // Each button's place as "left top right bottom", named by its caption in lower case.
    for (const layout::MenuButton& b : layout::kMenuStrip) {
        if (b.place.IsEmpty()) continue;
        std::string name;
        for (const char* c = b.caption; *c; ++c)
            name += static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
        std::fprintf(out, "LAYOUT_BUTTON_%s=\"%d %d %d %d\"\n", name.c_str(), b.place.left,
                     b.place.top, b.place.right, b.place.bottom);
    }
    return std::fclose(out) == 0 ? 0 : 1;
}
