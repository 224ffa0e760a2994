// board.h: the board model and its rules as plain functions of the board.
#pragma once

#include "layout/layout.h"
#include "platform/geometry.h"

#include <array>
#include <cstdint>

constexpr int32_t kColumns = layout::kColumns;
constexpr int32_t kRows = layout::kRows;
constexpr int32_t kCellSize = layout::kCellSize;
constexpr int32_t kBallColours = layout::kBallColours;

struct BoardCell {
    int32_t colour = 0; // 0 empty, 1..5 a ball of that colour
    bool mark = false;  // scratch flag of run detection and reachability
};

// Indexed [column][row], column-major.
using Board = std::array<std::array<BoardCell, kRows>, kColumns>;

void ClearMarks(Board& board);
int32_t CountEmpty(const Board& board);

// Marks (column, row) and every empty cell connected to it, depth first: right, left, down, up.
void MarkReachable(Board& board, int32_t column, int32_t row);
// Whether `to` can be reached from `from` through empty cells.
bool CanReach(Board& board, platform::Point from, platform::Point to);

// How many balls a move brings with `empty` free cells at `level`.
int32_t BallsToAdd(int32_t empty, uint32_t level);
// Places new balls with the program's generator: column, row (again while taken), colour.
void AddBalls(Board& board, uint32_t level);

// Marks every run of 4 or more of one colour in the four directions; true if any.
bool MarkRuns(Board& board);
// Empties the marked cells in column/row order; returns how many.
int32_t RemoveMarked(Board& board);

// The level rule after a removal check: updates level and the picture flag from the score.
void UpdateLevel(uint32_t& level, bool& pictureUnlocked, int32_t score);
