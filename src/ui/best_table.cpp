// best_table.cpp: the best games' table composed from its picture and the digit strip.
#include "ui/best_table.h"

#include "gfx/jpeg_image.h"
#include "layout/layout.h"

namespace ui {

namespace {

using platform::Rect;

// Play-area places into the surface of the help place.
Rect InTable(const Rect& r) {
    return r.Offset(-layout::kHelpRect.left, -layout::kHelpRect.top);
}

void DrawField(platform::Surface& target, const CJpegImage& digits, layout::DigitField field,
               int32_t row, const std::vector<int32_t>& cells) {
    Rect cell = InTable(layout::BestField(field, row));
    cell.right = cell.left + layout::kDigitWidth;
    for (int32_t d : cells) {
        digits.DrawStretched(&target, cell, layout::DigitCell(d));
        cell = cell.Offset(layout::kDigitWidth, 0);
    }
}

} // namespace

std::vector<int32_t> NumberCells(uint32_t value, int32_t cells) {
    std::vector<int32_t> out(static_cast<size_t>(cells), layout::kBlankDigit);
    uint64_t most = 1;
    for (int32_t i = 0; i < cells; ++i)
        most *= 10;
    if (value >= most) value = static_cast<uint32_t>(most - 1);
    for (int32_t i = cells - 1; i >= 0; --i) {
        out[static_cast<size_t>(i)] = static_cast<int32_t>(value % 10);
        value /= 10;
        if (value == 0) break;
    }
    return out;
}

std::vector<int32_t> DateCells(const std::string& date) {
    std::vector<int32_t> out(static_cast<size_t>(layout::kBestDate.cells), layout::kBlankDigit);
    for (size_t i = 0; i < out.size() && i < date.size(); ++i) {
        if (date[i] >= '0' && date[i] <= '9') out[i] = date[i] - '0';
        if (date[i] == '-') out[i] = layout::kMinusDigit;
    }
    return out;
}

void DrawBestTable(platform::Surface& target, const BestTable& table,
                   std::optional<size_t> marked) {
    const std::vector<BestEntry>& entries = table.Entries();
    {
        CJpegImage picture;
        picture.LoadFromResource(entries.empty() ? "NOBEST" : "BEST");
        picture.Draw(&target);
    }
    if (entries.empty()) return;
    CJpegImage digits;
    digits.LoadFromResource("DIGITS");
    for (int32_t row = 0; row < layout::kBestEntries; ++row) {
        const auto at = static_cast<size_t>(row);
        const BestEntry* e = at < entries.size() ? &entries[at] : nullptr;
        auto blank = [](layout::DigitField f) {
            return std::vector<int32_t>(static_cast<size_t>(f.cells), layout::kBlankDigit);
        };
        DrawField(target, digits, layout::kBestRank, row,
                  e ? NumberCells(static_cast<uint32_t>(row + 1), layout::kBestRank.cells)
                    : blank(layout::kBestRank));
        DrawField(target, digits, layout::kBestScore, row,
                  e ? NumberCells(static_cast<uint32_t>(e->score), layout::kBestScore.cells)
                    : blank(layout::kBestScore));
        DrawField(target, digits, layout::kBestDate, row,
                  e ? DateCells(e->date) : blank(layout::kBestDate));
        DrawField(target, digits, layout::kBestLevel, row,
                  e ? NumberCells(e->level, layout::kBestLevel.cells) : blank(layout::kBestLevel));
    }
    if (marked && *marked < entries.size()) {
        CJpegImage mark;
        mark.LoadFromResource("BESTMARK");
        mark.DrawStretched(&target, InTable(layout::BestMarkPlace(static_cast<int32_t>(*marked))),
                           layout::kBestMarkCell);
    }
}

} // namespace ui
