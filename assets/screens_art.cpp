// screens_art.cpp: the help page, the best-games table and the start-up logo.
#include "art.h"
#include "balls.h"
#include "layout.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <sstream>
#include <string>

namespace art {

namespace {

constexpr int kPageWidth = kHelpRect.Width();
// The card ends a little above the bottom panel, so that the panel's edge and corners stay
// whole below it; the rest of the page is the background as it shows there.
constexpr int kCardHeight = kBottomPanel.top - 8 - kHelpRect.top;

Rgb TextColour() {
    return Hex(0xDCEAF4);
}

// A page in the help's place: the background behind it, the card over that, and its title.
void Card(Canvas& page, Canvas& back, const char* title, int leftBall, int rightBall) {
    cairo_t* cr = page.cr();
    cairo_identity_matrix(cr);
    cairo_set_source_surface(cr, back.surface(), -kHelpRect.left * page.Factor(),
                             -kHelpRect.top * page.Factor());
    cairo_paint(cr);
    page.ResetMatrix();
    const double w = kPageWidth, h = kCardHeight;
    for (int i = 3; i >= 1; --i) { // a faint shadow just below the card
        RoundedRect(cr, 1, i, w - 2, h, 13);
        Source(cr, Hex(0x000000), 0.12);
        cairo_fill(cr);
    }
    RoundedRect(cr, 0, 0, w, h, 13);
    cairo_pattern_t* bg = cairo_pattern_create_linear(0, 0, 0, h);
    Stop(bg, 0, Hex(0x12304A));
    Stop(bg, 1, Hex(0x081826));
    cairo_set_source(cr, bg);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(bg);
    cairo_save(cr);
    cairo_clip(cr);
    Glow(cr, w / 2, 36, 300, Hex(0x4FC3D9), 0.12);
    cairo_restore(cr);
    RoundedRect(cr, 0.75, 0.75, w - 1.5, h - 1.5, 12.25);
    Source(cr, Hex(0x7FC8E8), 0.8);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    RoundedRect(cr, 4.5, 4.5, w - 9, h - 9, 9);
    Source(cr, Hex(0x7FC8E8), 0.25);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);

    Font(cr, Face::SerifBold, 22);
    Source(cr, Hex(0xEAFBFF));
    TextCentered(cr, title, w / 2, 28);
    const double half = TextWidth(cr, title) / 2 + 18;
    DrawBall(cr, w / 2 - half, 28, 8, leftBall);
    DrawBall(cr, w / 2 + half, 28, 8, rightBall);
}

void CloseLine(cairo_t* cr, double cy) {
    Font(cr, Face::SerifItalic, 13.5);
    Source(cr, BannerText());
    TextCentered(cr, "Click anywhere or press Esc to close.", kPageWidth / 2.0, cy);
}

void Heading(cairo_t* cr, const char* text, double x, double baseline, double width) {
    Font(cr, Face::SansBold, 14.5);
    Source(cr, DigitColour());
    cairo_move_to(cr, x, baseline);
    cairo_show_text(cr, text);
    cairo_move_to(cr, x, baseline + 5.5);
    cairo_line_to(cr, x + width, baseline + 5.5);
    cairo_pattern_t* line = cairo_pattern_create_linear(x, 0, x + width, 0);
    Stop(line, 0, DigitColour(), 0.7);
    Stop(line, 1, DigitColour(), 0);
    cairo_set_source(cr, line);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_pattern_destroy(line);
}

// A key cap with its name, from x on the text's baseline; returns where the cap ends.
double Key(cairo_t* cr, const char* name, double x, double baseline) {
    Font(cr, Face::SansCondensedBold, 10.5);
    const double textWidth = TextWidth(cr, name), w = std::max(14.0, std::round(textWidth + 8));
    const double top = baseline - 11, h = 14;
    RoundedRect(cr, x + 0.5, top + 0.5, w - 1, h - 1, 3);
    cairo_pattern_t* face = cairo_pattern_create_linear(0, top, 0, top + h);
    Stop(face, 0, Hex(0x33597A));
    Stop(face, 1, Hex(0x1A3650));
    cairo_set_source(cr, face);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(face);
    Source(cr, Hex(0x8CC4E4), 0.7);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    Source(cr, Hex(0xF2FAFF));
    cairo_move_to(cr, x + (w - textWidth) / 2, baseline);
    cairo_show_text(cr, name);
    return x + w;
}

void Words(cairo_t* cr, const char* text, double x, double baseline, Face face = Face::Sans,
           Rgb colour = TextColour(), double size = 12.5) {
    Font(cr, face, size);
    Source(cr, colour);
    cairo_move_to(cr, x, baseline);
    cairo_show_text(cr, text);
}

bool SaveHelp(const std::string& dir, Canvas& back, int factor) {
    Canvas page(kPageWidth, kHelpRect.Height(), false, factor);
    cairo_t* cr = page.cr();
    Card(page, back, "How to play Ranqua", 1, 3);

    const double left = 20, colWidth = 272, line = 15.5;
    Heading(cr, "The rules", left, 56, 200);
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
    double y = 77;
    int colour = 1; // each rule's bullet a ball of another colour: all five, with their marks
    for (const char* rule : rules) {
        DrawBall(cr, left + 5.5, y - 4.5, 5.5, colour++);
        Font(cr, Face::Sans, 12.5);
        Source(cr, TextColour());
        y = Paragraph(cr, rule, left + 17, y, colWidth - 17, line) + 5;
    }
    for (int k = 1; k <= kColours; ++k) { // and their names
        const double cx = left + 30 + (k - 1) * 52;
        DrawBall(cr, cx, 314, 10, k);
        Font(cr, Face::Sans, 12);
        Source(cr, Hex(0xB0C8DA));
        cairo_move_to(cr, cx - TextWidth(cr, BallName(k)) / 2, 338);
        cairo_show_text(cr, BallName(k));
    }

    const double right = 304, text = right + 112, pitch = 16.5;
    Heading(cr, "The menu and its keys", right, 56, 250);
    struct Item {
        const char* caption;
        const char* key;
        const char* what;
    };
    static const Item menu[] = {
        {"NEW", "Ctrl+N", "start a new game"},
        {"SAVE", "Ctrl+S", "keep this game"},
        {"LOAD", "Ctrl+O", "back to the saved game"},
        {"EXIT", "Ctrl+Q", "leave Ranqua"},
        {"HELP", "F1", "this page"},
        {"BEST", "F2", "the ten best games"},
        {"MUSIC", "M", "music on or off"},
        {"SOUND", "E", "sound effects on or off"},
    };
    y = 77;
    for (const Item& item : menu) {
        Words(cr, item.caption, right, y, Face::SansBold, BannerText(), 11.5);
        Key(cr, item.key, right + 56, y);
        Words(cr, item.what, text, y);
        y += pitch;
    }
    Words(cr, "Ctrl+L loads too. A lit switch is on.", right, y + 1, Face::Sans, Hex(0xB0C8DA), 12);

    Heading(cr, "Keys", right, y + 24, 250);
    y += 44;
    struct Keys {
        const char* caps[4];
        const char* what;
    };
    static const Keys keys[] = {
        {{"\xE2\x86\x90", "\xE2\x86\x91", "\xE2\x86\x93", "\xE2\x86\x92"}, "move the board cursor"},
        {{"Return"}, "pick up or drop a ball"},
        {{"Space"}, "level picture on or off"},
        {{"F11", "Alt+Return"}, "window or full screen"},
        {{"Esc"}, "close this page"},
    };
    for (const Keys& k : keys) {
        double x = right;
        for (const char* cap : k.caps)
            if (cap) x = Key(cr, cap, x, y) + 3;
        Words(cr, k.what, text, y);
        y += pitch;
    }
    Words(cr, "The keypad's arrows and Enter work too.", right, y + 1, Face::Sans, Hex(0xB0C8DA),
          12);

    CloseLine(cr, kCardHeight - 16);
    return page.SaveJpeg(PictureFile(dir, "HELP", factor), 95);
}

// Words wrapped into lines no wider than width, each centred on cx; returns the next baseline.
double CentredParagraph(cairo_t* cr, const std::string& text, double cx, double baseline,
                        double width, double lineHeight) {
    std::istringstream words(text);
    std::string word, line;
    auto flush = [&] {
        cairo_move_to(cr, cx - TextWidth(cr, line) / 2, baseline);
        cairo_show_text(cr, line.c_str());
        baseline += lineHeight;
        line.clear();
    };
    while (words >> word) {
        const std::string candidate = line.empty() ? word : line + " " + word;
        if (!line.empty() && TextWidth(cr, candidate) > width) {
            flush();
            line = word;
        } else {
            line = candidate;
        }
    }
    if (!line.empty()) flush();
    return baseline;
}

// The table's places, from the play area to the page.
Rect OnPage(const Rect& r) {
    return r.Offset(-kHelpRect.left, -kHelpRect.top);
}

// The mark of the newest entry: a small gold star.
void DrawMarkStar(cairo_t* cr, double cx, double cy) {
    Glow(cr, cx, cy, 8, DigitColour(), 0.35);
    Star(cr, cx, cy, 6.2, 2.7, 5, 0);
    cairo_pattern_t* gold = cairo_pattern_create_linear(0, cy - 6, 0, cy + 5);
    Stop(gold, 0, Hex(0xFFF2C0));
    Stop(gold, 1, Hex(0xF0A830));
    cairo_set_source(cr, gold);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(gold);
    Source(cr, Hex(0x5A3A08), 0.8);
    cairo_set_line_width(cr, 0.6);
    cairo_stroke(cr);
}

// Ten rows of dark fields under their column headings; the game writes the entries in.
void DrawTable(cairo_t* cr) {
    using namespace layout;
    const Rect first = OnPage(BestMarkPlace(0));
    const double left = first.left - 6, right = OnPage(BestField(kBestLevel, 0)).right + 8;
    Font(cr, Face::SansCondensedBold, 11.5);
    Source(cr, BannerText());
    auto heading = [&](const char* text, const Rect& field, double align) {
        const double x = field.left + (field.Width() - TextWidth(cr, text)) * align;
        cairo_move_to(cr, std::round(x), first.top - 7);
        cairo_show_text(cr, text);
    };
    heading("RANK", OnPage(BestField(kBestRank, 0)), 0.5);
    heading("SCORE", OnPage(BestField(kBestScore, 0)), 1);
    heading("DATE", OnPage(BestField(kBestDate, 0)), 0.5);
    heading("LEVEL", OnPage(BestField(kBestLevel, 0)), 0.5);
    const DigitField fields[] = {kBestRank, kBestScore, kBestDate, kBestLevel};
    for (int row = 0; row < kBestEntries; ++row) {
        const Rect mark = OnPage(BestMarkPlace(row));
        const double top = mark.top, h = mark.Height();
        // A sunken band: a dark rim, light along its lower edge.
        RoundedRect(cr, left - 1, top - 1, right - left + 2, h + 2, 4);
        Source(cr, Hex(0x03080E));
        cairo_fill(cr);
        cairo_move_to(cr, left + 3, top + h + 0.5);
        cairo_line_to(cr, right - 3, top + h + 0.5);
        Source(cr, Hex(0x6E9CC0), 0.45);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
        RoundedRect(cr, left, top, right - left, h, 3);
        Source(cr, FieldColour());
        cairo_fill(cr);
        // Faint rules between the columns of numbers, in the gaps between their fields.
        for (size_t i = 1; i < std::size(fields); ++i) {
            const double x = (OnPage(BestField(fields[i - 1], row)).right +
                              OnPage(BestField(fields[i], row)).left) /
                             2;
            cairo_move_to(cr, std::floor(x) + 0.5, top + 4);
            cairo_line_to(cr, std::floor(x) + 0.5, top + h - 4);
        }
        Source(cr, Hex(0x24496A), 0.7);
        cairo_stroke(cr);
    }
}

bool SaveBest(const std::string& dir, Canvas& back, int factor) {
    Canvas page(kPageWidth, kHelpRect.Height(), false, factor);
    cairo_t* cr = page.cr();
    Card(page, back, "Best games", 4, 2);
    DrawTable(cr);
    CloseLine(cr, kCardHeight - 16);
    return page.SaveJpeg(PictureFile(dir, "BEST", factor), 95);
}

void DrawTrophy(cairo_t* cr, double cx, double top) {
    cairo_save(cr);
    Glow(cr, cx, top + 28, 52, DigitColour(), 0.18);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    for (double side : {-1.0, 1.0}) { // the handles
        cairo_new_path(cr);
        cairo_arc(cr, cx + side * 19, top + 14, 9, 0, 2 * M_PI);
        Source(cr, Hex(0xE8A838));
        cairo_set_line_width(cr, 3.5);
        cairo_stroke(cr);
    }
    cairo_move_to(cr, cx - 22, top);
    cairo_line_to(cr, cx + 22, top);
    cairo_curve_to(cr, cx + 22, top + 26, cx + 12, top + 36, cx, top + 37);
    cairo_curve_to(cr, cx - 12, top + 36, cx - 22, top + 26, cx - 22, top);
    cairo_close_path(cr);
    cairo_move_to(cr, cx - 4, top + 36);
    cairo_line_to(cr, cx + 4, top + 36);
    cairo_line_to(cr, cx + 5, top + 46);
    cairo_line_to(cr, cx - 5, top + 46);
    cairo_close_path(cr);
    RoundedRect(cr, cx - 15, top + 46, 30, 8, 2);
    cairo_pattern_t* gold = cairo_pattern_create_linear(cx - 22, 0, cx + 22, 0);
    Stop(gold, 0, Hex(0xC8841A));
    Stop(gold, 0.35, Hex(0xFFE9A8));
    Stop(gold, 1, Hex(0xB8741A));
    cairo_set_source(cr, gold);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(gold);
    Source(cr, Hex(0x4A2E06), 0.9);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    DrawBall(cr, cx, top + 15, 7, 4);
    cairo_restore(cr);
}

bool SaveNoBest(const std::string& dir, Canvas& back, int factor) {
    Canvas page(kPageWidth, kHelpRect.Height(), false, factor);
    cairo_t* cr = page.cr();
    Card(page, back, "Best games", 4, 2);
    const double cx = kPageWidth / 2.0;
    DrawTrophy(cr, cx, 92);
    Font(cr, Face::SerifBold, 17);
    Source(cr, Hex(0xEAFBFF));
    TextCentered(cr, "No game has entered the table yet.", cx, 188);
    Font(cr, Face::Sans, 13.5);
    Source(cr, TextColour());
    const double y = CentredParagraph(cr,
                                      "Play a game to its end, until the board is full: when "
                                      "it ends with a score above 0, it takes its place here.",
                                      cx, 226, 430, 19);
    Font(cr, Face::Sans, 13);
    Source(cr, Hex(0xB0C8DA));
    CentredParagraph(cr,
                     "The ten best games are kept, each with its score, its date and the "
                     "level it reached.",
                     cx, y + 14, 430, 18);
    CloseLine(cr, kCardHeight - 16);
    return page.SaveJpeg(PictureFile(dir, "NOBEST", factor), 95);
}

bool SaveBestMark(const std::string& dir, int factor) {
    const Rect cell = layout::kBestMarkCell;
    Canvas mark(cell.Width(), cell.Height(), false, factor);
    cairo_t* cr = mark.cr();
    Source(cr, FieldColour()); // the band it is drawn on
    cairo_paint(cr);
    DrawMarkStar(cr, cell.Width() / 2.0, cell.Height() / 2.0);
    return mark.SaveJpeg(PictureFile(dir, "BESTMARK", factor), 95);
}

bool SaveLogo(const std::string& dir, int factor) {
    Canvas logo(layout::kLogoSize, layout::kLogoSize, false, factor);
    cairo_t* cr = logo.cr();
    const double mid = layout::kLogoSize / 2;
    Source(cr, Hex(layout::kBorderColour)); // the colour around the logo at start-up
    cairo_paint(cr);
    Glow(cr, mid, mid, 140, Hex(0x2FA8A8), 0.4);
    Glow(cr, mid, 120, 90, Hex(0x8FE8F0), 0.16);
    for (int k = 1; k <= kColours; ++k) {
        const double a = M_PI * (1.15 + 0.175 * (k - 1));
        DrawBall(cr, mid + 86 * std::cos(a), 168 + 86 * std::sin(a), 19, k);
    }
    EmbossedTitle(cr, "Ranqua", mid, 186, 50);
    Font(cr, Face::SerifItalic, 14);
    Source(cr, Hex(0xBFE8EE));
    TextCentered(cr, "a game of coloured balls", mid, 214);
    return logo.SaveJpeg(PictureFile(dir, "LOGO", factor));
}

} // namespace

bool MakeScreens(const std::string& dir, int factor) {
    Canvas back(layout::kPlayWidth, layout::kPlayHeight, false, factor);
    DrawBackground(back.cr());
    return SaveHelp(dir, back, factor) && SaveBest(dir, back, factor) &&
           SaveNoBest(dir, back, factor) && SaveBestMark(dir, factor) && SaveLogo(dir, factor);
}

} // namespace art
