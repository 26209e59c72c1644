#include "board/board.h"

#include <limits>

namespace {

constexpr int32_t TOP_ROW = 6;

// Column numbers reach the board unchecked; anything outside 0..8 would index past the
// 72 cells, so the bound is at least asserted where it enters.
constexpr bool isBoardColumn(int32_t column) {
    return column >= 0 && column <= 8;
}

} // namespace

void resetBoard(Board& board) {
    for (int32_t column = 0; column < BOARD_COLUMNS; ++column)
        for (int32_t row = 0; row < BOARD_ROWS; ++row)
            board[cellIndex(column, row)] = BORDER;
    for (int32_t column = 1; column <= 7; ++column)
        for (int32_t row = 1; row <= 6; ++row)
            board[cellIndex(column, row)] = CELL_EMPTY;
}

void copyPlayingCells(Board& destination, const Board& source) {
    for (int32_t column = 1; column <= 7; ++column)
        for (int32_t row = 1; row <= 6; ++row)
            destination[cellIndex(column, row)] = source[cellIndex(column, row)];
}

int32_t dropDisc(Board& board, int32_t side, int32_t column) {
    assert(isBoardColumn(column) && "dropDisc takes a column 0..8; check the caller's column");
    if (board[cellIndex(column, TOP_ROW)] != CELL_EMPTY)
        return BOARD_FALSE;
    // The border row 0 is never empty, so the descent stops at row 1 at the latest.
    int32_t row = TOP_ROW;
    while (board[cellIndex(column, row - 1)] == CELL_EMPTY)
        --row;
    board[cellIndex(column, row)] = side;
    return BOARD_TRUE;
}

int32_t landingRow(const Board& board, int32_t column) {
    assert(isBoardColumn(column) && "landingRow takes a column 0..8; check the caller's column");
    for (int32_t row = 1; row <= TOP_ROW; ++row)
        if (board[cellIndex(column, row)] == CELL_EMPTY)
            return row;
    return 0;
}

int32_t boardFull(const Board& board) {
    for (int32_t column = 1; column <= 7; ++column)
        if (board[cellIndex(column, TOP_ROW)] == CELL_EMPTY)
            return BOARD_FALSE;
    return BOARD_TRUE;
}

int32_t checkMoveString(std::string_view moves) {
    if (moves.size() > static_cast<size_t>(MAX_MOVES))
        return BOARD_FALSE;
    for (const char move : moves)
        if (move < '1' || move > '7')
            return BOARD_FALSE;
    // Only digits reach this point, so every character names a counter.
    int32_t discs[8] = {};
    for (const char move : moves)
        if (++discs[move - '0'] > TOP_ROW)
            return BOARD_FALSE;
    return BOARD_TRUE;
}

void replayMoves(Board& board, std::string_view moves) {
    int32_t side = SIDE_WHITE;
    for (const char move : moves) {
        const int32_t column = move - '0';
        assert(column >= 1 && column <= 7 &&
               "replayMoves needs a string that checkMoveString "
               "accepted; check it first");
        // A release build skips what the assert would have caught rather than write outside
        // the board.
        if (column >= 1 && column <= 7)
            dropDisc(board, side, column);
        side = -side;
    }
}

int32_t lineValue(const Board& board, const BoardLine& line, int32_t side) {
    int32_t ownRun = 0;
    int32_t longestOwnRun = 0;
    int32_t openRun = 0;
    int32_t longestOpenRun = 0;
    int32_t column = line.startColumn;
    int32_t row = line.startRow;
    for (int32_t cell = board[cellIndex(column, row)]; cell != BORDER;
         cell = board[cellIndex(column, row)]) {
        ownRun = cell == side ? ownRun + 1 : 0;
        openRun = cell != -side ? openRun + 1 : 0;
        if (ownRun > longestOwnRun)
            longestOwnRun = ownRun;
        if (openRun > longestOpenRun)
            longestOpenRun = openRun;
        column += line.columnStep;
        row += line.rowStep;
    }
    return longestOpenRun >= 4 ? longestOwnRun : 0;
}

int32_t bestLineValue(const Board& board, int32_t side) {
    int32_t best = 0;
    for (const BoardLine& line : LINE_TABLE) {
        const int32_t value = lineValue(board, line, side);
        if (value > best)
            best = value;
    }
    return best;
}

int32_t rowMin(const ColumnValues& values) {
    int32_t smallest = std::numeric_limits<int32_t>::max();
    for (int32_t column = 1; column <= 7; ++column)
        if (values[column] < smallest)
            smallest = values[column];
    return smallest;
}

int32_t rowMax(const ColumnValues& values) {
    int32_t largest = std::numeric_limits<int32_t>::min();
    for (int32_t column = 1; column <= 7; ++column)
        if (values[column] > largest)
            largest = values[column];
    return largest;
}

int32_t rowIndexOf(const ColumnValues& values, int32_t value) {
    for (int32_t column = 1; column <= 7; ++column)
        if (values[column] == value)
            return column;
    return 0;
}

int32_t rowCount(const ColumnValues& values, int32_t value) {
    int32_t count = 0;
    for (int32_t column = 1; column <= 7; ++column)
        if (values[column] == value)
            ++count;
    return count;
}
