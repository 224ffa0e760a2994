// screens_art.cpp: the help page and the start-up logo.
#include "art.h"
#include "balls.h"
#include "layout.h"

#include <cmath>
#include <string>

namespace art {

namespace {

void Heading(cairo_t* cr, const char* text, double x, double baseline) {
    Font(cr, Face::SansBold, 15);
    Source(cr, DigitColour());
    cairo_move_to(cr, x, baseline);
    cairo_show_text(cr, text);
    cairo_move_to(cr, x, baseline + 5.5);
    cairo_line_to(cr, x + 200, baseline + 5.5);
    cairo_pattern_t* line = cairo_pattern_create_linear(x, 0, x + 200, 0);
    Stop(line, 0, DigitColour(), 0.7);
    Stop(line, 1, DigitColour(), 0);
    cairo_set_source(cr, line);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_pattern_destroy(line);
}

bool SaveHelp(const std::string& dir, int factor) {
    const int w = kHelpRect.Width(), h = kHelpRect.Height();
    Canvas page(w, h, false, factor);
    cairo_t* cr = page.cr();
    cairo_pattern_t* bg = cairo_pattern_create_linear(0, 0, 0, h);
    Stop(bg, 0, Hex(0x12304A));
    Stop(bg, 1, Hex(0x081826));
    cairo_set_source(cr, bg);
    cairo_paint(cr);
    cairo_pattern_destroy(bg);
    Glow(cr, w / 2.0, 40, 300, Hex(0x4FC3D9), 0.12);
    RoundedRect(cr, 4.5, 4.5, w - 9, h - 9, 12);
    Source(cr, Hex(0x7FC8E8), 0.8);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    RoundedRect(cr, 8.5, 8.5, w - 17, h - 17, 9);
    Source(cr, Hex(0x7FC8E8), 0.25);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);

    Font(cr, Face::SerifBold, 25);
    Source(cr, Hex(0xEAFBFF));
    TextCentered(cr, "How to play Ranqua", w / 2.0, 34);
    const double half = TextWidth(cr, "How to play Ranqua") / 2 + 20;
    DrawBall(cr, w / 2.0 - half, 34, 9, 1);
    DrawBall(cr, w / 2.0 + half, 34, 9, 3);

    const double left = 26, colWidth = 292, line = 17;
    Heading(cr, "The rules", left, 78);
    static const char* rules[] = {
        "Click a ball to pick it up, then click an empty cell to move it there. The ball "
        "needs a free path through empty cells, in horizontal and vertical steps.",
        "Four or more balls of one colour in a line \xE2\x80\x94 across, down or diagonal "
        "\xE2\x80\x94 vanish, and each of them scores one point.",
        "A move that clears nothing brings 3 or 4 new balls.",
        "The game is over when the board is full.",
        "Score more than 40 points to unlock a level picture and show or hide it with the "
        "SPACE bar. Every 40 points more, the level rises and a new picture waits.",
    };
    double y = 102;
    for (const char* rule : rules) {
        DrawBall(cr, left + 5, y - 4.5, 4, 4);
        Font(cr, Face::Sans, 13.5);
        Source(cr, Hex(0xDCEAF4));
        y = Paragraph(cr, rule, left + 16, y, colWidth - 16, line) + 6;
    }

    const double right = 344;
    Heading(cr, "The menu", right, 78);
    static const char* menu[][2] = {
        {"NEW", "start a new game"},          {"SAVE", "keep this game for later"},
        {"LOAD", "return to the saved game"}, {"EXIT", "leave Ranqua"},
        {"HELP", "show this page"},           {"MUSIC", "music on or off"},
        {"SOUND", "sound effects on or off"},
    };
    y = 102;
    for (const auto& item : menu) {
        Font(cr, Face::SansBold, 13);
        Source(cr, BannerText());
        cairo_move_to(cr, right, y);
        cairo_show_text(cr, item[0]);
        Font(cr, Face::Sans, 13.5);
        Source(cr, Hex(0xDCEAF4));
        cairo_move_to(cr, right + 62, y);
        cairo_show_text(cr, item[1]);
        y += 18.5;
    }
    Font(cr, Face::Sans, 13);
    Source(cr, Hex(0xB0C8DA));
    Paragraph(cr, "A lit switch is on.", right, y + 2, 230, line);

    Heading(cr, "The five balls", right, 268);
    for (int k = 1; k <= kColours; ++k) {
        const double cx = right + 22 + (k - 1) * 47;
        DrawBall(cr, cx, 300, 14, k);
        Font(cr, Face::Sans, 13);
        Source(cr, Hex(0xDCEAF4));
        TextCentered(cr, BallName(k), cx, 331);
    }

    Font(cr, Face::SerifItalic, 14);
    Source(cr, Hex(0xA8E6FF));
    TextCentered(cr, "Click anywhere to close this page.", w / 2.0, 370);
    return page.SaveJpeg(PictureFile(dir, "HELP", factor));
}

bool SaveLogo(const std::string& dir, int factor) {
    Canvas logo(300, 300, false, factor);
    cairo_t* cr = logo.cr();
    const Rgb fill = Hex(0x021E1B); // the colour around the logo at start-up
    Source(cr, fill);
    cairo_paint(cr);
    Glow(cr, 150, 150, 140, Hex(0x2FA8A8), 0.4);
    Glow(cr, 150, 120, 90, Hex(0x8FE8F0), 0.16);
    for (int k = 1; k <= kColours; ++k) {
        const double a = M_PI * (1.15 + 0.175 * (k - 1));
        DrawBall(cr, 150 + 86 * std::cos(a), 168 + 86 * std::sin(a), 19, k);
    }
    EmbossedTitle(cr, "Ranqua", 150, 186, 50);
    Font(cr, Face::SerifItalic, 14);
    Source(cr, Hex(0xBFE8EE));
    TextCentered(cr, "a game of coloured balls", 150, 214);
    return logo.SaveJpeg(PictureFile(dir, "LOGO", factor));
}

} // namespace

bool MakeScreens(const std::string& dir, int factor) {
    return SaveHelp(dir, factor) && SaveLogo(dir, factor);
}

} // namespace art
