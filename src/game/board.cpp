// board.cpp: runs, reachability, new balls and the level rule.
#include "game/board.h"

#include "platform/rand.h"

namespace {

bool OnBoard(int32_t c, int32_t r) {
    return c >= 0 && c < kColumns && r >= 0 && r < kRows;
}

// The run that starts at (c, r) and steps by (dc, dr) while the colour stays.
void MarkRunFrom(Board& board, int32_t c, int32_t r, int32_t dc, int32_t dr, bool& any) {
    const int32_t k = board[c][r].colour;
    int32_t length = 1;
    while (OnBoard(c + dc * length, r + dr * length) &&
           board[c + dc * length][r + dr * length].colour == k)
        ++length;
    if (length < 4) return;
    for (int32_t i = 0; i < length; ++i)
        board[c + dc * i][r + dr * i].mark = true;
    any = true;
}

} // namespace

void ClearMarks(Board& board) {
    for (auto& column : board)
        for (BoardCell& cell : column)
            cell.mark = false;
}

int32_t CountEmpty(const Board& board) {
    int32_t n = 0;
    for (const auto& column : board)
        for (const BoardCell& cell : column)
            n += cell.colour == 0;
    return n;
}

void MarkReachable(Board& board, int32_t column, int32_t row) {
    board[column][row].mark = true;
    auto open = [&](int32_t c, int32_t r) {
        return OnBoard(c, r) && !board[c][r].mark && board[c][r].colour == 0;
    };
    if (open(column + 1, row)) MarkReachable(board, column + 1, row);
    if (open(column - 1, row)) MarkReachable(board, column - 1, row);
    if (open(column, row + 1)) MarkReachable(board, column, row + 1);
    if (open(column, row - 1)) MarkReachable(board, column, row - 1);
}

bool CanReach(Board& board, platform::Point from, platform::Point to) {
    ClearMarks(board);
    if (!OnBoard(from.x, from.y) || !OnBoard(to.x, to.y)) return false;
    MarkReachable(board, from.x, from.y);
    return board[to.x][to.y].mark;
}

int32_t BallsToAdd(int32_t empty, uint32_t level) {
    const int64_t threshold = 30 - static_cast<int64_t>(level);
    if (empty > threshold) return 4;
    if (empty > 3) return 3;
    return empty;
}

void AddBalls(Board& board, uint32_t level) {
    const int32_t count = BallsToAdd(CountEmpty(board), level);
    for (int32_t i = 0; i < count; ++i) {
        int32_t c, r;
        do { // draw: see platform::Rand
            c = platform::Rand() % kColumns;
            r = platform::Rand() % kRows;
        } while (board[c][r].colour != 0);
        board[c][r].colour = platform::Rand() % kBallColours + 1;
    }
}

bool MarkRuns(Board& board) {
    ClearMarks(board);
    bool any = false;
    for (int32_t c = 0; c < kColumns; ++c)
        for (int32_t r = 0; r < kRows; ++r) {
            if (board[c][r].colour == 0) continue;
            MarkRunFrom(board, c, r, 1, 0, any);
            MarkRunFrom(board, c, r, 0, 1, any);
            MarkRunFrom(board, c, r, 1, 1, any);
            MarkRunFrom(board, c, r, 1, -1, any);
        }
    return any;
}

int32_t RemoveMarked(Board& board) {
    int32_t removed = 0;
    for (auto& column : board)
        for (BoardCell& cell : column)
            if (cell.mark) {
                ++removed;
                cell.colour = 0;
            }
    return removed;
}

void UpdateLevel(uint32_t& level, bool& pictureUnlocked, int32_t score) {
    const uint32_t old = level;
    if (pictureUnlocked)
        level = (static_cast<uint32_t>(score) - 40u) / 40u;
    else if (score > 40)
        level = 1;
    if (level == old) return;
    if (level > 0) level -= 1;
    if (!pictureUnlocked) {
        pictureUnlocked = true;
        level = 0;
    }
    if (level >= 16)
        level = static_cast<uint32_t>(platform::Rand() % 16); // draw: see platform::Rand
}
