// best_table.h: the picture of the best games' table, for the overlay in the help's place.
#pragma once

#include "game/best_games.h"
#include "platform/surface.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace ui {

// Draws the table into `target`, a surface of the help place's size: the picture "NOBEST" when
// the table is empty, otherwise "BEST" with each entry's rank, score, date and level in digit
// cells (numbers right-aligned, blank cells before them) and "BESTMARK" beside entry `marked`.
void DrawBestTable(platform::Surface& target, const BestTable& table, std::optional<size_t> marked);

// The digit cells of a field of `cells` cells showing `value` right-aligned, blank before it;
// a value too long for the field shows as nines, the most the field can say.
std::vector<int32_t> NumberCells(uint32_t value, int32_t cells);
// The ten cells of a date, YYYY-MM-DD, the minus cell between; a character that is no digit
// is a blank cell.
std::vector<int32_t> DateCells(const std::string& date);

} // namespace ui
