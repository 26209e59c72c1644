// The look-ahead works on line codes rather than on copied boards: each of the 25 lines is
// held as one base-3 number of its cells, and a table gives every code's line value for both
// sides. A drop changes the codes of at most four lines, so a trial move costs four additions
// instead of a 42-cell copy and a walk of all 25 lines.
//
// Two facts keep the work down without changing any result:
//  - A side's own disc never lowers that side's value on a line (its runs can only grow and
//    an own disc keeps a stretch open). So the side's best line after its own drop is the
//    larger of its best line before and the new values of the lines through the drop.
//  - The score's terms are weighted so that each decides before the next (K <= 7 below one
//    step of M; 100 N + 10 L + bonus lies in 10..775, below one step of K). A column whose
//    threat term is below the best threat term cannot win, so its follow-up term is skipped.
//
// Sections: tables · positions · terms · operations.

#include "engine/search.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace {

// ---- Tables ------------------------------------------------------------------------------

constexpr std::array<int32_t, 8> POW3 = {1, 3, 9, 27, 81, 243, 729, 2187};

// Lines of different length get disjoint code ranges, so one table serves every line.
constexpr int32_t codeOffset(int32_t length) {
    int32_t offset = 0;
    for (int32_t shorter = 4; shorter < length; ++shorter)
        offset += POW3[static_cast<size_t>(shorter)];
    return offset;
}

constexpr int32_t CODE_COUNT = codeOffset(8);
static_assert(CODE_COUNT == 81 + 243 + 729 + 2187);

// Digits of a line code: 0 empty, 1 white, 2 black.
constexpr int32_t WHITE_DIGIT = 1;
constexpr int32_t BLACK_DIGIT = 2;

constexpr int32_t digitOf(int32_t side) {
    return side == SIDE_WHITE ? WHITE_DIGIT : BLACK_DIGIT;
}
constexpr size_t tableOf(int32_t side) {
    return side == SIDE_WHITE ? 0 : 1;
}

// The same walk as lineValue, over the digits of one line of `length` cells.
constexpr int32_t digitsValue(const std::array<int32_t, 7>& digits, int32_t length, int32_t side) {
    int32_t ownRun = 0, longestOwnRun = 0, openRun = 0, longestOpenRun = 0;
    for (int32_t k = 0; k < length; ++k) {
        const int32_t digit = digits[static_cast<size_t>(k)];
        const int32_t cell = digit == 0             ? CELL_EMPTY
                             : digit == WHITE_DIGIT ? SIDE_WHITE
                                                    : SIDE_BLACK;
        ownRun = cell == side ? ownRun + 1 : 0;
        openRun = cell != -side ? openRun + 1 : 0;
        longestOwnRun = longestOwnRun > ownRun ? longestOwnRun : ownRun;
        longestOpenRun = longestOpenRun > openRun ? longestOpenRun : openRun;
    }
    return longestOpenRun >= 4 ? longestOwnRun : 0;
}

// CODE_VALUES[tableOf(side)][code]: the line value of `code` for `side`. The digits are
// counted up in place rather than decoded per code, which keeps the compile-time evaluation
// within every compiler's step limit.
constexpr auto CODE_VALUES = [] {
    std::array<std::array<uint8_t, CODE_COUNT>, 2> values{};
    for (int32_t length = 4; length <= 7; ++length) {
        std::array<int32_t, 7> digits{};
        const int32_t first = codeOffset(length);
        const int32_t last = first + POW3[static_cast<size_t>(length)];
        for (int32_t code = first; code < last; ++code) {
            values[0][static_cast<size_t>(code)] =
                static_cast<uint8_t>(digitsValue(digits, length, SIDE_WHITE));
            values[1][static_cast<size_t>(code)] =
                static_cast<uint8_t>(digitsValue(digits, length, SIDE_BLACK));
            for (size_t k = 0; k < digits.size() && ++digits[k] == 3; ++k)
                digits[k] = 0;
        }
    }
    return values;
}();

static_assert(CODE_VALUES[0][codeOffset(7) + 1 + 3 + 9 + 27] == 4, "four white from the start");
static_assert(CODE_VALUES[0][codeOffset(4) + 1 + 3 + 9 + 2 * 27] == 0, "a black disc blocks");
static_assert(CODE_VALUES[1][codeOffset(7) + 2 * 729] == 1, "a lone black disc counts 1");

// For each board cell, the lines through it and the weight of its digit in each line's code.
struct CellLines {
    int32_t count;
    std::array<int32_t, 4> line;
    std::array<int32_t, 4> weight;
};

constexpr auto CELL_LINES = [] {
    std::array<CellLines, BOARD_CELLS> cells{};
    for (size_t index = 0; index < LINE_TABLE.size(); ++index) {
        const BoardLine& line = LINE_TABLE[index];
        for (int32_t k = 0; k < lineLength(line); ++k) {
            CellLines& cell = cells[static_cast<size_t>(cellIndex(
                line.startColumn + k * line.columnStep, line.startRow + k * line.rowStep))];
            cell.line[static_cast<size_t>(cell.count)] = static_cast<int32_t>(index);
            cell.weight[static_cast<size_t>(cell.count)] = POW3[static_cast<size_t>(k)];
            ++cell.count;
        }
    }
    return cells;
}();

static_assert(CELL_LINES[cellIndex(4, 3)].count == 4 && CELL_LINES[cellIndex(1, 6)].count == 3 &&
                  CELL_LINES[cellIndex(0, 0)].count == 0,
              "a playing cell lies on 2..4 lines, a border cell on none");

// ---- Positions ---------------------------------------------------------------------------

struct Position {
    std::array<int32_t, LINE_COUNT> codes;
    // Discs per column, indexed 1..7.
    std::array<int32_t, 8> heights;
};

Position positionOf(const Board& board) {
    Position position{};
    for (size_t index = 0; index < LINE_TABLE.size(); ++index) {
        const BoardLine& line = LINE_TABLE[index];
        const int32_t length = lineLength(line);
        int32_t code = codeOffset(length);
        for (int32_t k = 0; k < length; ++k) {
            const int32_t cell = board[static_cast<size_t>(cellIndex(
                line.startColumn + k * line.columnStep, line.startRow + k * line.rowStep))];
            assert((cell == CELL_EMPTY || cell == SIDE_WHITE || cell == SIDE_BLACK) &&
                   "the engine needs a reset board whose playing cells hold discs or nothing");
            if (cell != CELL_EMPTY)
                code += POW3[static_cast<size_t>(k)] * digitOf(cell);
        }
        position.codes[index] = code;
    }
    for (int32_t column = 1; column <= 7; ++column) {
        const int32_t row = landingRow(board, column);
        position.heights[static_cast<size_t>(column)] = row == 0 ? 6 : row - 1;
    }
    return position;
}

bool hasRoom(const Position& position, int32_t column) {
    return position.heights[static_cast<size_t>(column)] < 6;
}

const CellLines& landingCell(const Position& position, int32_t column) {
    return CELL_LINES[static_cast<size_t>(
        cellIndex(column, position.heights[static_cast<size_t>(column)] + 1))];
}

void play(Position& position, int32_t column, int32_t side) {
    const CellLines& cell = landingCell(position, column);
    const int32_t digit = digitOf(side);
    for (int32_t k = 0; k < cell.count; ++k)
        position.codes[static_cast<size_t>(cell.line[static_cast<size_t>(k)])] +=
            cell.weight[static_cast<size_t>(k)] * digit;
    ++position.heights[static_cast<size_t>(column)];
}

int32_t bestValue(const Position& position, int32_t side) {
    const auto& values = CODE_VALUES[tableOf(side)];
    int32_t best = 0;
    for (const int32_t code : position.codes)
        best = std::max<int32_t>(best, values[static_cast<size_t>(code)]);
    return best;
}

// The best of `side`'s new values on the lines through the cell its disc in `column` (which
// must have room) would take.
int32_t bestValueThroughDrop(const Position& position, int32_t column, int32_t side) {
    const auto& values = CODE_VALUES[tableOf(side)];
    const CellLines& cell = landingCell(position, column);
    const int32_t digit = digitOf(side);
    int32_t best = 0;
    for (int32_t k = 0; k < cell.count; ++k) {
        const size_t line = static_cast<size_t>(cell.line[static_cast<size_t>(k)]);
        const int32_t code = position.codes[line] + cell.weight[static_cast<size_t>(k)] * digit;
        best = std::max<int32_t>(best, values[static_cast<size_t>(code)]);
    }
    return best;
}

// `side`'s best line after its own disc in `column`, or as it is when the column is full.
int32_t bestValueAfterDrop(const Position& position, int32_t bestBefore, int32_t column,
                           int32_t side) {
    if (!hasRoom(position, column))
        return bestBefore;
    return std::max(bestBefore, bestValueThroughDrop(position, column, side));
}

int32_t winningColumn(const Position& position, int32_t side) {
    const int32_t bestBefore = bestValue(position, side);
    for (int32_t column = 1; column <= 7; ++column)
        if (hasRoom(position, column) &&
            bestValueAfterDrop(position, bestBefore, column, side) >= 4)
            return column;
    return NO_COLUMN;
}

// ---- Terms -------------------------------------------------------------------------------

// -(10000 M + 1000 K) on the position after the side's move: M the opponent's best line
// over its seven replies (a full reply column is not played), K how many replies reach M.
int32_t threatTerm(const Position& afterMove, int32_t side) {
    const int32_t opponent = -side;
    const int32_t bestBefore = bestValue(afterMove, opponent);
    ColumnValues reach;
    for (int32_t reply = 1; reply <= 7; ++reply)
        reach[reply] = bestValueAfterDrop(afterMove, bestBefore, reply, opponent);
    const int32_t m = rowMax(reach);
    return -(10000 * m + 1000 * rowCount(reach, m));
}

// The side's best line after its best follow-up on `afterReply`, whose best line before the
// follow-up is `bestBefore`; a full follow-up column is not played.
int32_t bestAfterFollowUp(const Position& afterReply, int32_t bestBefore, int32_t side) {
    int32_t best = bestBefore;
    for (int32_t followUp = 1; followUp <= 7; ++followUp)
        best = std::max(best, bestValueAfterDrop(afterReply, bestBefore, followUp, side));
    return best;
}

int32_t highestValue(const std::array<int32_t, 8>& linesWithValue) {
    int32_t value = 7;
    while (value > 0 && linesWithValue[static_cast<size_t>(value)] == 0)
        --value;
    return value;
}

// 100 N + 10 L on the position after the side's move: F(reply) is the side's best line after
// its best follow-up to that reply, N the smallest F over the seven replies, L how many
// replies give N.
int32_t followUpTerm(const Position& afterMove, int32_t side) {
    const auto& values = CODE_VALUES[tableOf(side)];
    // The side's best line after a reply, kept as a count of lines per value: a reply
    // changes at most four lines, so the count is patched instead of rescanning all 25.
    std::array<int32_t, 8> linesWithValue{};
    for (const int32_t code : afterMove.codes)
        ++linesWithValue[values[static_cast<size_t>(code)]];

    Position afterReply = afterMove;
    ColumnValues reach;
    for (int32_t reply = 1; reply <= 7; ++reply) {
        if (!hasRoom(afterMove, reply)) {
            reach[reply] = bestAfterFollowUp(afterMove, highestValue(linesWithValue), side);
            continue;
        }
        const CellLines& cell = landingCell(afterMove, reply);
        play(afterReply, reply, -side);
        std::array<int32_t, 8> counts = linesWithValue;
        for (int32_t k = 0; k < cell.count; ++k) {
            const size_t line = static_cast<size_t>(cell.line[static_cast<size_t>(k)]);
            --counts[values[static_cast<size_t>(afterMove.codes[line])]];
            ++counts[values[static_cast<size_t>(afterReply.codes[line])]];
        }
        reach[reply] = bestAfterFollowUp(afterReply, highestValue(counts), side);
        // Undo the reply: afterReply is afterMove again.
        for (int32_t k = 0; k < cell.count; ++k) {
            const size_t line = static_cast<size_t>(cell.line[static_cast<size_t>(k)]);
            afterReply.codes[line] = afterMove.codes[line];
        }
        afterReply.heights[static_cast<size_t>(reply)] =
            afterMove.heights[static_cast<size_t>(reply)];
    }
    const int32_t n = rowMin(reach);
    return 100 * n + 10 * rowCount(reach, n);
}

} // namespace

// ---- Operations --------------------------------------------------------------------------

int32_t positionBonus(const Board& board, int32_t column) {
    const int32_t row = landingRow(board, column);
    if (row == 0)
        return 0;
    // trunc(|3.5 - row|) in whole numbers: |7 - 2 row| is odd and non-negative, so halving
    // it rounds toward zero.
    return (5 - std::abs(4 - column)) - std::abs(7 - 2 * row) / 2;
}

int32_t findWinningColumn(const Board& board, int32_t side) {
    return winningColumn(positionOf(board), side);
}

int32_t scoreColumn(const Board& board, int32_t side, int32_t column) {
    assert(column >= 1 && column <= 7 && "scoreColumn takes a playing column 1..7");
    Position afterMove = positionOf(board);
    if (!hasRoom(afterMove, column))
        return FULL_COLUMN_SCORE;
    play(afterMove, column, side);
    return threatTerm(afterMove, side) + followUpTerm(afterMove, side) +
           positionBonus(board, column);
}

int32_t chooseColumn(const Board& board, int32_t side) {
    assert((side == SIDE_WHITE || side == SIDE_BLACK) && "the side to move is 1 or -1");
    const Position position = positionOf(board);
    const int32_t winning = winningColumn(position, side);
    if (winning != NO_COLUMN)
        return winning;

    std::array<Position, 8> afterMove{};
    ColumnValues threat;
    for (int32_t column = 1; column <= 7; ++column) {
        threat[column] = FULL_COLUMN_SCORE;
        if (!hasRoom(position, column))
            continue;
        afterMove[static_cast<size_t>(column)] = position;
        play(afterMove[static_cast<size_t>(column)], column, side);
        threat[column] = threatTerm(afterMove[static_cast<size_t>(column)], side);
    }
    const int32_t bestThreat = rowMax(threat);
    // Every column full: all seven scores are equal and the lowest column is the answer.
    if (bestThreat == FULL_COLUMN_SCORE)
        return 1;

    int32_t bestColumn = NO_COLUMN;
    int32_t bestScore = FULL_COLUMN_SCORE;
    for (int32_t column = 1; column <= 7; ++column) {
        if (threat[column] != bestThreat)
            continue;
        const int32_t score = threat[column] +
                              followUpTerm(afterMove[static_cast<size_t>(column)], side) +
                              positionBonus(board, column);
        if (bestColumn == NO_COLUMN || score > bestScore) {
            bestColumn = column;
            bestScore = score;
        }
    }
    return bestColumn;
}
