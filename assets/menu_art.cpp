// menu_art.cpp: the background of the play area, the menu strip, the banners and link badges.
#include "art.h"
#include "balls.h"
#include "layout.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace art {

void DrawBannerField(cairo_t* cr, double x, double y) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + kBannerRect.Height());
    Stop(p, 0, Scale(FieldColour(), 0.7));
    Stop(p, 0.35, FieldColour());
    Stop(p, 1, Mix(FieldColour(), Hex(0x1A3550), 0.35));
    cairo_set_source(cr, p);
    cairo_rectangle(cr, x, y, kBannerRect.Width(), kBannerRect.Height());
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void DrawButton(cairo_t* cr, double x, double y, int width, const MenuButton& b, int row) {
    struct Look {
        uint32_t top, bottom, border, text, shadow;
        double shadowAlpha;
    };
    static const Look looks[4] = {
        {0x2F5B7C, 0x163350, 0x5E93B8, 0xE6F3FB, 0x000000, 0.6},  // normal
        {0x8E5A0E, 0xF4BD52, 0xFFE09A, 0x2A1500, 0xFFF0C8, 0.45}, // pressed, switch on
        {0x63C4EA, 0x2776A2, 0xD2F6FF, 0xFFFFFF, 0x08304A, 0.8},  // under the mouse
        {0x2A343F, 0x1E2730, 0x3A4856, 0x6C7A88, 0x000000, 0.4},  // never shown
    };
    const Look& look = looks[row];
    // The help button's place is narrower than its cell and the game squeezes the cell into it;
    // a face as wide as the place keeps the squeezed face's edge intact.
    const int faceWidth = b.place.IsEmpty() ? width : std::min(width, b.place.Width());
    const char* caption = b.caption;
    const double px = x + 1, py = y + 1, pw = faceWidth - 2;
    const double ph = kButtonRow - 2;
    cairo_save(cr);
    Source(cr, PanelColour());
    cairo_rectangle(cr, x, y, width, kButtonRow);
    cairo_fill(cr);
    cairo_new_path(cr);
    RoundedRect(cr, px, py, pw, ph, ph / 2);
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, py, 0, py + ph);
    Stop(fill, 0, Hex(look.top));
    Stop(fill, 1, Hex(look.bottom));
    cairo_set_source(cr, fill);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(fill);
    cairo_clip(cr);
    if (row == 1) {
        // Pressed in: a shadow under the upper edge.
        RoundedRect(cr, px, py + 1.5, pw, ph, ph / 2);
        Source(cr, Hex(0x000000), 0.35);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
    } else {
        // Raised: a light sheen on the upper half.
        RoundedRect(cr, px + 3, py + 1, pw - 6, ph * 0.45, ph * 0.25);
        Source(cr, Hex(0xFFFFFF), row == 2 ? 0.28 : 0.14);
        cairo_fill(cr);
    }
    cairo_reset_clip(cr);
    RoundedRect(cr, px + 0.5, py + 0.5, pw - 1, ph - 1, (ph - 1) / 2);
    Source(cr, Hex(look.border), 0.9);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    Font(cr, Face::SansBold, 10.5);
    const double cx = px + pw / 2, cy = py + ph / 2;
    Source(cr, Hex(look.shadow), look.shadowAlpha);
    TextCentered(cr, caption, cx + (row == 1 ? 0 : 0.8), cy + 0.9);
    Source(cr, Hex(look.text));
    TextCentered(cr, caption, cx, cy);
    cairo_restore(cr);
}

void DrawInset(cairo_t* cr, const Rect& b, Rgb fill) {
    RoundedRect(cr, b.left - 3, b.top - 3, b.Width() + 6, b.Height() + 6, 4);
    Source(cr, Hex(0x03080E));
    cairo_fill(cr);
    RoundedRect(cr, b.left - 2.5, b.top - 2.5, b.Width() + 5, b.Height() + 5, 3.5);
    cairo_pattern_t* edge = cairo_pattern_create_linear(0, b.top - 3, 0, b.top + b.Height() + 3);
    Stop(edge, 0, Hex(0x000000), 0.8);
    Stop(edge, 1, Hex(0x6E9CC0), 0.8);
    cairo_set_source(cr, edge);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_pattern_destroy(edge);
    Source(cr, fill);
    cairo_rectangle(cr, b.left, b.top, b.Width(), b.Height());
    cairo_fill(cr);
}

namespace {

void Panel(cairo_t* cr, double x, double y, double w, double h) {
    // Shadow, body, then a fine light edge.
    for (int i = 6; i >= 1; --i) {
        RoundedRect(cr, x - i + 2, y - i + 4, w + 2 * i - 4, h + 2 * i - 4, 12 + i);
        Source(cr, Hex(0x000000), 0.05);
        cairo_fill(cr);
    }
    RoundedRect(cr, x, y, w, h, 11);
    Source(cr, PanelColour());
    cairo_fill(cr);
    RoundedRect(cr, x + 0.5, y + 0.5, w - 1, h - 1, 10.5);
    cairo_pattern_t* edge = cairo_pattern_create_linear(0, y, 0, y + h);
    Stop(edge, 0, Hex(0x7FB4D8), 0.7);
    Stop(edge, 1, Hex(0x2A4E6C), 0.7);
    cairo_set_source(cr, edge);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_pattern_destroy(edge);
}

void Sky(cairo_t* cr) {
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, kPlayHeight);
    Stop(sky, 0, Hex(0x081627));
    Stop(sky, 0.45, Hex(0x0E2B44));
    Stop(sky, 1, Hex(0x061623));
    cairo_set_source(cr, sky);
    cairo_paint(cr);
    cairo_pattern_destroy(sky);
    Glow(cr, 469, 290, 420, Hex(0x2A6A8E), 0.35);
    // Slow ribbons of light, like water seen from below.
    for (int band = 0; band < 7; ++band) {
        const double base = band < 4 ? 430 + band * 16 : 40 + (band - 4) * 22;
        const double amp = 18 + band * 3, phase = band * 1.7, thick = 10 + band % 3 * 7;
        cairo_new_path(cr);
        for (int x = -10; x <= kPlayWidth + 10; x += 10)
            cairo_line_to(cr, x, base + amp * std::sin(x / 130.0 + phase));
        for (int x = kPlayWidth + 10; x >= -10; x -= 10)
            cairo_line_to(cr, x,
                          base + thick + amp * std::sin(x / 130.0 + phase + 0.35) +
                              6 * std::sin(x / 47.0 + band));
        cairo_close_path(cr);
        Source(cr, band % 2 ? Hex(0x4FC3D9) : Hex(0x3C8FD0), 0.045);
        cairo_fill(cr);
    }
    Rng rng(7);
    for (int i = 0; i < 46; ++i) { // soft out-of-focus lights
        const double x = rng.Range(0, kPlayWidth), y = rng.Range(0, kPlayHeight),
                     r = rng.Range(5, 34);
        const Rgb c = i % 5 == 0 ? Hex(0xFFC861) : (i % 2 ? Hex(0x7FE0F0) : Hex(0x6FA8E8));
        cairo_arc(cr, x, y, r, 0, 2 * M_PI);
        Source(cr, c, rng.Range(0.02, 0.05));
        cairo_fill(cr);
    }
    for (int i = 0; i < 140; ++i) { // fine motes of light
        const double x = rng.Range(0, kPlayWidth), y = rng.Range(0, kPlayHeight);
        Glow(cr, x, y, rng.Range(1.2, 2.6), Hex(0xCFF4FF), rng.Range(0.15, 0.55));
    }
    const double cx = kPlayWidth / 2, cy = kPlayHeight / 2;
    cairo_pattern_t* vignette = cairo_pattern_create_radial(cx, cy, 280, cx, cy, 560);
    Stop(vignette, 0, Hex(0x000000), 0);
    Stop(vignette, 1, Hex(0x000000), 0.55);
    cairo_set_source(cr, vignette);
    cairo_paint(cr);
    cairo_pattern_destroy(vignette);
}

void Title(cairo_t* cr) {
    // Wholly below the help picture's top edge (y 104), so help never leaves a sliver of it.
    Glow(cr, 469.5, 132, 150, Hex(0x4FC3D9), 0.12);
    EmbossedTitle(cr, "Ranqua", 469.5, 148, 46);
}

void BoardFrame(cairo_t* cr) {
    const double x = kBoardRect.left - 13, y = kBoardRect.top - 13, w = kBoardRect.Width() + 26,
                 h = kBoardRect.Height() + 26;
    for (int i = 10; i >= 1; --i) {
        RoundedRect(cr, x - i, y - i + 5, w + 2 * i, h + 2 * i, 14 + i);
        Source(cr, Hex(0x000000), 0.045);
        cairo_fill(cr);
    }
    RoundedRect(cr, x, y, w, h, 12);
    cairo_pattern_t* metal = cairo_pattern_create_linear(x, y, x + w * 0.4, y + h);
    Stop(metal, 0, Hex(0x6C9CBE));
    Stop(metal, 0.45, Hex(0x2E5878));
    Stop(metal, 1, Hex(0x1A3852));
    cairo_set_source(cr, metal);
    cairo_fill(cr);
    cairo_pattern_destroy(metal);
    RoundedRect(cr, x + 0.5, y + 0.5, w - 1, h - 1, 11.5);
    Source(cr, Hex(0xB8E4FF), 0.45);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    // The board's own margin, three pixels of its body all round.
    RoundedRect(cr, kBoardRect.left - 4, kBoardRect.top - 4, kBoardRect.Width() + 8,
                kBoardRect.Height() + 8, 5);
    Source(cr, Hex(0x081420));
    cairo_fill(cr);
    Source(cr, BoardBody());
    cairo_rectangle(cr, kBoardRect.left - 3, kBoardRect.top - 3, kBoardRect.Width() + 6,
                    kBoardRect.Height() + 6);
    cairo_fill(cr);
    cairo_save(cr);
    cairo_translate(cr, kBoardRect.left, kBoardRect.top);
    cairo_rectangle(cr, 0, 0, kBoardRect.Width(), kBoardRect.Height());
    cairo_clip(cr);
    DrawEmptyBoard(cr);
    cairo_restore(cr);
}

void Label(cairo_t* cr, const char* text, double right, double cy) {
    Font(cr, Face::SansCondensedBold, 12);
    cairo_text_extents_t e;
    cairo_text_extents(cr, text, &e);
    Source(cr, Hex(0x000000), 0.5);
    cairo_move_to(cr, right - e.x_advance + 1, cy - e.y_bearing - e.height / 2 + 1);
    cairo_show_text(cr, text);
    Source(cr, Hex(0x8DB8D6));
    cairo_move_to(cr, right - e.x_advance, cy - e.y_bearing - e.height / 2);
    cairo_show_text(cr, text);
}

} // namespace

void DrawBackground(cairo_t* cr) {
    Sky(cr);
    Title(cr);
    BoardFrame(cr);
    // Link picture slot, top left.
    Panel(cr, kLinkRect.left - 10, kLinkRect.top - 8, kLinkRect.Width() + 20,
          kLinkRect.Height() + 16);
    DrawInset(cr, kLinkRect, FieldColour());
    // Help, best games and the two switches, top right.
    Panel(cr, 573, 26, 178, 63);
    // Score, message banner and the command row, at the bottom.
    Panel(cr, kBottomPanel.left, kBottomPanel.top, kBottomPanel.Width(), kBottomPanel.Height());
    Label(cr, "SCORE", 266, kScoreField.top + kScoreField.Height() / 2.0);
    DrawInset(cr, kScoreField, FieldColour());
    DrawInset(cr, kBannerRect, FieldColour());
    DrawBannerField(cr, kBannerRect.left, kBannerRect.top);
    for (int k = 1; k <= kColours; ++k)
        DrawBall(cr, 371 + (k - 1) * 26.5, 516.5, 8.5, k);
    for (const MenuButton& b : kMenuStrip)
        if (!b.place.IsEmpty()) DrawButton(cr, b.place.left, b.place.top, b.place.Width(), b, 0);
}

namespace {

bool SaveBack(const std::string& dir, int factor) {
    Canvas back(kPlayWidth, kPlayHeight, false, factor);
    DrawBackground(back.cr());
    return back.SaveJpeg(PictureFile(dir, "BACK", factor), 95);
}

bool SaveStrip(const std::string& dir, int factor) {
    Canvas strip(layout::kMenuStripWidth, 4 * kButtonRow, false, factor);
    for (int row = 0; row < 4; ++row)
        for (const MenuButton& b : kMenuStrip)
            DrawButton(strip.cr(), b.cell.left, row * kButtonRow, b.cell.Width(), b, row);
    return strip.SaveJpeg(PictureFile(dir, "BUT", factor), 95);
}

bool SaveBanner(const std::string& dir, const char* name, const char* caption, Rgb colour,
                int factor) {
    Canvas banner(kBannerRect.Width(), kBannerRect.Height(), false, factor);
    cairo_t* cr = banner.cr();
    DrawBannerField(cr, 0, 0);
    if (*caption) {
        Font(cr, Face::SansBold, 12);
        const double cx = kBannerRect.Width() / 2.0, cy = kBannerRect.Height() / 2.0;
        Source(cr, colour, 0.25);
        TextCentered(cr, caption, cx, cy + 0.7);
        Source(cr, colour);
        TextCentered(cr, caption, cx, cy);
        const double half = TextWidth(cr, caption) / 2 + 12;
        for (double side : {-1.0, 1.0}) { // small diamonds either side of the caption
            const double dx = cx + side * half;
            cairo_move_to(cr, dx, cy - 3);
            cairo_line_to(cr, dx + 3, cy);
            cairo_line_to(cr, dx, cy + 3);
            cairo_line_to(cr, dx - 3, cy);
            cairo_close_path(cr);
            Source(cr, colour, 0.55);
            cairo_fill(cr);
        }
    }
    return banner.SaveJpeg(PictureFile(dir, name, factor), 95);
}

bool SaveBanners(const std::string& dir, int factor) {
    struct Item {
        const char* name;
        const char* caption;
        uint32_t colour;
    };
    static const Item items[] = {
        {"M_BUTT1", "NEW GAME", 0xA8E6FF},      {"M_BUTT2", "LOAD GAME", 0xA8E6FF},
        {"M_BUTT3", "SAVE GAME", 0xA8E6FF},     {"M_BUTT4", "HELP", 0xA8E6FF},
        {"M_BUTT5", "EXIT GAME", 0xA8E6FF},     {"M_BUTT6", "SOUND ON/OFF", 0xA8E6FF},
        {"M_BUTT7", "MUSIC ON/OFF", 0xA8E6FF},  {"M_BUTT8", "SOUND ON/OFF", 0xA8E6FF},
        {"M_BUTT9", "BEST GAMES", 0xA8E6FF},    {"M_CLEAR", "", 0xA8E6FF},
        {"M_LOSE", "GAME OVER", 0xFF9A7A},      {"M_SAVED", "GAME SAVED", 0x9AF2B4},
        {"M_MOVE", "YOUR MOVE", 0xFFC861},      {"M_CONT", "CONTINUE", 0xFFC861},
        {"M_BEST", "NEW BEST SCORE", 0xFFD75E}, // good news, after the loss message
        {"M_TOPTEN", "TOP TEN", 0xFFD75E},
    };
    bool ok = true;
    for (const Item& i : items)
        ok &= SaveBanner(dir, i.name, i.caption, Hex(i.colour), factor);
    return ok;
}

// Small badges of our own drawing that point to the projects the game is built with.
enum class Emblem { Screen, Package, Curve };

void DrawEmblem(cairo_t* cr, Emblem e, double cx, double cy, Rgb ink) {
    cairo_save(cr);
    Source(cr, ink);
    cairo_set_line_width(cr, 2);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    switch (e) {
    case Emblem::Screen:
        RoundedRect(cr, cx - 12, cy - 10, 24, 16, 2.5);
        cairo_stroke(cr);
        cairo_move_to(cr, cx - 6, cy + 11);
        cairo_line_to(cr, cx + 6, cy + 11);
        cairo_move_to(cr, cx, cy + 6);
        cairo_line_to(cr, cx, cy + 11);
        cairo_stroke(cr);
        cairo_arc(cr, cx - 3, cy - 2, 3, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_arc(cr, cx + 4, cy - 2, 2, 0, 2 * M_PI);
        cairo_fill(cr);
        break;
    case Emblem::Package:
        cairo_move_to(cr, cx, cy - 12);
        cairo_line_to(cr, cx + 11, cy - 6);
        cairo_line_to(cr, cx + 11, cy + 7);
        cairo_line_to(cr, cx, cy + 13);
        cairo_line_to(cr, cx - 11, cy + 7);
        cairo_line_to(cr, cx - 11, cy - 6);
        cairo_close_path(cr);
        cairo_move_to(cr, cx - 11, cy - 6);
        cairo_line_to(cr, cx, cy);
        cairo_line_to(cr, cx + 11, cy - 6);
        cairo_move_to(cr, cx, cy);
        cairo_line_to(cr, cx, cy + 13);
        cairo_stroke(cr);
        break;
    case Emblem::Curve:
        cairo_move_to(cr, cx - 12, cy + 9);
        cairo_curve_to(cr, cx - 8, cy - 14, cx + 8, cy + 14, cx + 12, cy - 9);
        cairo_stroke(cr);
        cairo_set_line_width(cr, 1);
        cairo_move_to(cr, cx - 12, cy + 9);
        cairo_line_to(cr, cx - 8, cy - 14);
        cairo_move_to(cr, cx + 12, cy - 9);
        cairo_line_to(cr, cx + 8, cy + 14);
        cairo_stroke(cr);
        for (double s : {-1.0, 1.0}) {
            cairo_rectangle(cr, cx + s * 8 - 2, cy + s * 14 - 2, 4, 4);
            cairo_fill(cr);
        }
        break;
    }
    cairo_restore(cr);
}

bool SaveLink(const std::string& dir, const char* name, const char* line1, const char* line2,
              Emblem emblem, uint32_t top, uint32_t bottom, int factor) {
    Canvas badge(kLinkRect.Width(), kLinkRect.Height(), false, factor);
    cairo_t* cr = badge.cr();
    Source(cr, FieldColour());
    cairo_paint(cr);
    RoundedRect(cr, 0.5, 0.5, kLinkRect.Width() - 1, kLinkRect.Height() - 1, 7);
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, 0, 0, kLinkRect.Height());
    Stop(fill, 0, Hex(top));
    Stop(fill, 1, Hex(bottom));
    cairo_set_source(cr, fill);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(fill);
    Source(cr, Hex(0xFFFFFF), 0.55);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    Glow(cr, 26, 22, 22, Hex(0xFFFFFF), 0.18);
    DrawEmblem(cr, emblem, 26, 21, Hex(0xF4FAFF));
    Source(cr, Hex(0xE8F2FA), 0.85);
    Font(cr, Face::SerifItalic, 11);
    cairo_move_to(cr, 50, 18);
    cairo_show_text(cr, line1);
    Source(cr, Hex(0xFFFFFF));
    Font(cr, Face::SansBold, 17);
    cairo_move_to(cr, 50, 36);
    cairo_show_text(cr, line2);
    return badge.SaveJpeg(PictureFile(dir + "/Internet", name, factor));
}

} // namespace

bool MakeMenuArt(const std::string& dir, int factor) {
    bool ok = SaveBack(dir, factor);
    ok &= SaveStrip(dir, factor);
    ok &= SaveBanners(dir, factor);
    // Files beside the game rather than resources, so that a player can add their own.
    ok &= SaveLink(dir, "sdl", "made with", "SDL", Emblem::Screen, 0x2C5FA8, 0x15305A, factor);
    ok &= SaveLink(dir, "debian", "runs on", "Debian", Emblem::Package, 0xA83A5A, 0x55172E, factor);
    ok &= SaveLink(dir, "cairo", "drawn with", "cairo", Emblem::Curve, 0x2E8C6E, 0x134535, factor);
    return ok;
}

} // namespace art
