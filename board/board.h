// The rules core: a four-in-a-row position on a bordered board, the move-string rules and the
// line evaluation that both the win test and the engine's scoring rest on.
//
// Sections: cell layout · line table · column values · operations.
//
// Every operation is allocation-free and keeps no state; the only data of the module is the
// constant LINE_TABLE. Truth values that leave the module are -1 (true) and 0 (false).
#pragma once

#include <array>
#include <cassert>
#include <cstdint>
#include <string_view>

// ---- Cell layout -------------------------------------------------------------------------
//
// 9 columns (0..8) by 8 rows (0..7); cell (column, row) is element column * 8 + row, so the
// cells of one column lie together, bottom first. Columns 0 and 8 and rows 0 and 7 are the
// border (value BORDER); the playing cells are columns 1..7 from the left, rows 1..6 from
// the bottom.
//
//   row  7 |  7 15 23 31 39 47 55 63 71 |   B  = border cell
//        6 |  6 14 22 30 38 46 54 62 70 |
//        5 |  5 13 21 29 37 45 53 61 69 |   the playing cells are
//        4 |  4 12 20 28 36 44 52 60 68 |   9..14, 17..22, ... 57..62
//        3 |  3 11 19 27 35 43 51 59 67 |   (columns 1..7, rows 1..6)
//        2 |  2 10 18 26 34 42 50 58 66 |
//        1 |  1  9 17 25 33 41 49 57 65 |
//        0 |  0  8 16 24 32 40 48 56 64 |
//           ---------------------------
//   column    0  1  2  3  4  5  6  7  8
//             B  <---- playing ---->  B
//
// The border is what every walk relies on: a walk along a line stops at the first BORDER
// cell, a drop into column 0 or 8 fails by itself, and the landing row of a border column
// is 0.

inline constexpr int32_t BOARD_COLUMNS = 9;
inline constexpr int32_t BOARD_ROWS = 8;
inline constexpr int32_t BOARD_CELLS = BOARD_COLUMNS * BOARD_ROWS;

// Cell values. A side (white 1, black -1) uses its own number as its disc value.
inline constexpr int32_t CELL_EMPTY = 0;
inline constexpr int32_t SIDE_WHITE = 1;
inline constexpr int32_t SIDE_BLACK = -1;
inline constexpr int32_t BORDER = 2;

inline constexpr int32_t BOARD_TRUE = -1;
inline constexpr int32_t BOARD_FALSE = 0;

// The longest move string: one move per playing cell.
inline constexpr int32_t MAX_MOVES = 42;

using Board = std::array<int32_t, BOARD_CELLS>;
static_assert(sizeof(Board) == 72 * sizeof(int32_t), "a board is 72 plain 32-bit cells");

constexpr int32_t cellIndex(int32_t column, int32_t row) {
    return column * BOARD_ROWS + row;
}

static_assert(cellIndex(1, 1) == 9 && cellIndex(7, 6) == 62 && cellIndex(8, 7) == 71);

// ---- Line table --------------------------------------------------------------------------

// A straight line of at least four playing cells. Stepping from the start cell by
// (columnStep, rowStep) visits the cells in order and leaves the board straight into a
// border cell; the end fields name the last playing cell and are not needed by the walk.
struct BoardLine {
    int32_t startColumn;
    int32_t startRow;
    int32_t endColumn;
    int32_t endRow;
    int32_t columnStep;
    int32_t rowStep;
};

inline constexpr int32_t LINE_COUNT = 25;

// The 6 rows, the 7 columns, then the diagonals: rising from the left edge, falling from the
// left edge, and the remaining ones walked from the right edge.
inline constexpr std::array<BoardLine, LINE_COUNT> LINE_TABLE{{
    {1, 1, 7, 1, 1, 0},   {1, 2, 7, 2, 1, 0},  {1, 3, 7, 3, 1, 0},   {1, 4, 7, 4, 1, 0},
    {1, 5, 7, 5, 1, 0},   {1, 6, 7, 6, 1, 0},  {1, 1, 1, 6, 0, 1},   {2, 1, 2, 6, 0, 1},
    {3, 1, 3, 6, 0, 1},   {4, 1, 4, 6, 0, 1},  {5, 1, 5, 6, 0, 1},   {6, 1, 6, 6, 0, 1},
    {7, 1, 7, 6, 0, 1},   {1, 1, 6, 6, 1, 1},  {1, 2, 5, 6, 1, 1},   {1, 3, 4, 6, 1, 1},
    {1, 4, 4, 1, 1, -1},  {1, 5, 5, 1, 1, -1}, {1, 6, 6, 1, 1, -1},  {7, 1, 2, 6, -1, 1},
    {7, 2, 3, 6, -1, 1},  {7, 3, 4, 6, -1, 1}, {7, 4, 4, 1, -1, -1}, {7, 5, 3, 1, -1, -1},
    {7, 6, 2, 1, -1, -1},
}};

// Number of playing cells a line's walk visits before it meets the border.
constexpr int32_t lineLength(const BoardLine& line) {
    int32_t length = 0;
    int32_t column = line.startColumn;
    int32_t row = line.startRow;
    while (column >= 1 && column <= 7 && row >= 1 && row <= 6) {
        ++length;
        column += line.columnStep;
        row += line.rowStep;
    }
    return length;
}

namespace boardDetail {
// A row is sound when its walk has at least four cells, ends exactly on its end cell and
// leaves into the border (which lineLength's stopping rule already guarantees).
constexpr bool lineTableIsSound() {
    int32_t perLength[8] = {};
    for (const BoardLine& line : LINE_TABLE) {
        const int32_t length = lineLength(line);
        if (length < 4 || length > 7)
            return false;
        if (line.startColumn + (length - 1) * line.columnStep != line.endColumn ||
            line.startRow + (length - 1) * line.rowStep != line.endRow)
            return false;
        ++perLength[length];
    }
    // 6 rows of 7; 7 columns and 4 diagonals of 6; 4 diagonals each of 5 and of 4.
    return perLength[7] == 6 && perLength[6] == 11 && perLength[5] == 4 && perLength[4] == 4;
}
} // namespace boardDetail

static_assert(LINE_TABLE.size() == 25, "the board has exactly 25 lines of four or more cells");
static_assert(boardDetail::lineTableIsSound(), "every line must walk 4..7 cells to its end");
static_assert(lineLength(LINE_TABLE[0]) == 7 && lineLength(LINE_TABLE[6]) == 6 &&
              lineLength(LINE_TABLE[15]) == 4 && lineLength(LINE_TABLE[24]) == 6);

// ---- Column values -----------------------------------------------------------------------

// Seven per-column values, indexed by column 1..7 like the board.
struct ColumnValues {
    std::array<int32_t, 7> values{};

    constexpr int32_t& operator[](int32_t column) {
        assert(column >= 1 && column <= 7 && "ColumnValues is indexed by column 1..7");
        return values[static_cast<size_t>(column - 1)];
    }
    constexpr int32_t operator[](int32_t column) const {
        assert(column >= 1 && column <= 7 && "ColumnValues is indexed by column 1..7");
        return values[static_cast<size_t>(column - 1)];
    }
};

// ---- Operations --------------------------------------------------------------------------

// Every cell becomes BORDER, then every playing cell CELL_EMPTY.
void resetBoard(Board& board);

// Copies the 42 playing cells; the destination's border is left as it is.
void copyPlayingCells(Board& destination, const Board& source);

// Drops a disc of `side` into `column` (0..8). Fails (BOARD_FALSE, board unchanged) when the
// column's top playing cell is taken, which includes the border columns 0 and 8.
int32_t dropDisc(Board& board, int32_t side, int32_t column);

// The row (1..6) a disc dropped into `column` (0..8) would land in; 0 when it is full or a
// border column.
int32_t landingRow(const Board& board, int32_t column);

// BOARD_TRUE when row 6 of every column 1..7 is taken.
int32_t boardFull(const Board& board);

// BOARD_TRUE when `moves` has at most 42 characters, each '1'..'7', and names no column
// more than six times. Reads exactly moves.size() bytes; needs no terminating zero.
int32_t checkMoveString(std::string_view moves);

// Drops the moves of an accepted move string onto a freshly reset board, white first.
void replayMoves(Board& board, std::string_view moves);

// The longest run of `side`'s discs on the line if the line still has a stretch of four or
// more cells without an opponent disc somewhere on it, else 0. Result 0..7.
int32_t lineValue(const Board& board, const BoardLine& line, int32_t side);

// The largest lineValue over LINE_TABLE; 4 or more means `side` has four in a row.
int32_t bestLineValue(const Board& board, int32_t side);

int32_t rowMin(const ColumnValues& values);
int32_t rowMax(const ColumnValues& values);
// The lowest column 1..7 holding `value`, 0 when none does.
int32_t rowIndexOf(const ColumnValues& values, int32_t value);
// How many of the columns 1..7 hold `value`.
int32_t rowCount(const ColumnValues& values, int32_t value);
