#include "board/board.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

struct Disc {
    int32_t column;
    int32_t row;
    int32_t side;
};

// A reset board with discs put straight into cells, for line tests that need a pattern no
// legal game would reach quickly.
Board boardWith(const std::vector<Disc>& discs) {
    Board board;
    resetBoard(board);
    for (const Disc& disc : discs)
        board[cellIndex(disc.column, disc.row)] = disc.side;
    return board;
}

Board replayed(std::string_view moves) {
    Board board;
    resetBoard(board);
    replayMoves(board, moves);
    return board;
}

bool isBorderCell(int32_t column, int32_t row) {
    return column == 0 || column == 8 || row == 0 || row == 7;
}

TEST(BoardReset, GivesEmptyPlayingCellsInsideABorder) {
    Board board;
    board.fill(77);
    resetBoard(board);
    for (int32_t column = 0; column < BOARD_COLUMNS; ++column)
        for (int32_t row = 0; row < BOARD_ROWS; ++row)
            EXPECT_EQ(board[cellIndex(column, row)], isBorderCell(column, row) ? BORDER : 0)
                << column << "," << row;
    for (int32_t column = 1; column <= 7; ++column)
        EXPECT_EQ(landingRow(board, column), 1);
    EXPECT_EQ(landingRow(board, 0), 0);
    EXPECT_EQ(landingRow(board, 8), 0);
    EXPECT_EQ(boardFull(board), BOARD_FALSE);
    EXPECT_EQ(bestLineValue(board, SIDE_WHITE), 0);
    EXPECT_EQ(bestLineValue(board, SIDE_BLACK), 0);
}

TEST(BoardDrop, FillsAColumnBottomUpAndRefusesTheSeventhDisc) {
    Board board;
    resetBoard(board);
    int32_t side = SIDE_WHITE;
    for (int32_t row = 1; row <= 6; ++row) {
        EXPECT_EQ(landingRow(board, 3), row);
        EXPECT_EQ(dropDisc(board, side, 3), BOARD_TRUE);
        EXPECT_EQ(board[cellIndex(3, row)], side);
        side = -side;
    }
    EXPECT_EQ(landingRow(board, 3), 0);
    const Board full = board;
    EXPECT_EQ(dropDisc(board, SIDE_WHITE, 3), BOARD_FALSE);
    EXPECT_EQ(board, full);
}

TEST(BoardDrop, BorderColumnsTakeNoDisc) {
    Board board;
    resetBoard(board);
    const Board before = board;
    EXPECT_EQ(dropDisc(board, SIDE_WHITE, 0), BOARD_FALSE);
    EXPECT_EQ(dropDisc(board, SIDE_BLACK, 8), BOARD_FALSE);
    EXPECT_EQ(board, before);
}

TEST(BoardFull, NeedsTheTopCellOfEveryColumn) {
    // Six rounds of 1..7 fill the board; no column gets a seventh disc.
    const std::string all = "123456712345671234567123456712345671234567";
    EXPECT_EQ(boardFull(replayed(all)), BOARD_TRUE);
    EXPECT_EQ(boardFull(replayed(all.substr(0, 41))), BOARD_FALSE);
    EXPECT_EQ(boardFull(replayed("")), BOARD_FALSE);
}

TEST(BoardCopy, CopiesPlayingCellsOnlyAndLeavesTheBorder) {
    const Board source = replayed("4455");
    Board destination;
    destination.fill(9);
    copyPlayingCells(destination, source);
    for (int32_t column = 0; column < BOARD_COLUMNS; ++column)
        for (int32_t row = 0; row < BOARD_ROWS; ++row)
            EXPECT_EQ(destination[cellIndex(column, row)],
                      isBorderCell(column, row) ? 9 : source[cellIndex(column, row)]);
}

TEST(BoardReplay, AlternatesSidesWhiteFirst) {
    const Board board = replayed("44");
    EXPECT_EQ(board[cellIndex(4, 1)], SIDE_WHITE);
    EXPECT_EQ(board[cellIndex(4, 2)], SIDE_BLACK);
    EXPECT_EQ(landingRow(board, 4), 3);
}

struct MoveStringCase {
    std::string moves;
    int32_t accepted;
};

TEST(BoardMoveString, AcceptanceRules) {
    const std::string full = "123456712345671234567123456712345671234567";
    const std::vector<MoveStringCase> cases = {
        {"", BOARD_TRUE},
        {"444444", BOARD_TRUE},
        {"111111", BOARD_TRUE},
        {"1111111", BOARD_FALSE},        // the seventh disc in column 1
        {"12121212121212", BOARD_FALSE}, // the seventh 1 comes before the seventh 2
        {full, BOARD_TRUE},
        {full + "1", BOARD_FALSE}, // 43 characters
        {std::string(43, '4'), BOARD_FALSE},
        {"0", BOARD_FALSE},
        {"8", BOARD_FALSE},
        {"a44", BOARD_FALSE},
        {"4 4", BOARD_FALSE},
        {"448", BOARD_FALSE},
        {"440", BOARD_FALSE},
        {"44x", BOARD_FALSE},
        {std::string("4\0"
                     "4",
                     3),
         BOARD_FALSE},
        {"\xb4", BOARD_FALSE}, // a byte above 127 ('4' + 128)
    };
    for (const MoveStringCase& c : cases)
        EXPECT_EQ(checkMoveString(c.moves), c.accepted) << '"' << c.moves << '"';
}

TEST(BoardMoveString, ReadsOnlyTheGivenLength) {
    const char text[] = "4444449x";
    EXPECT_EQ(checkMoveString(std::string_view(text, 6)), BOARD_TRUE);
    EXPECT_EQ(checkMoveString(std::string_view(text, 7)), BOARD_FALSE);
    EXPECT_EQ(checkMoveString(std::string_view(nullptr, 0)), BOARD_TRUE);
}

struct LineCase {
    const char* name;
    std::vector<Disc> discs;
    int32_t line; // 1-based row of LINE_TABLE
    int32_t side;
    int32_t value;
};

TEST(BoardLineValue, CountsRunsOnlyWhereFourStillFit) {
    const int32_t W = SIDE_WHITE;
    const int32_t B = SIDE_BLACK;
    const std::vector<LineCase> cases = {
        {"empty row", {}, 1, W, 0},
        {"four white in columns 4..7", {{4, 1, W}, {5, 1, W}, {6, 1, W}, {7, 1, W}}, 1, W, 4},
        {"white 1..3 cut off by black at 4", {{1, 1, W}, {2, 1, W}, {3, 1, W}, {4, 1, B}}, 1, W, 0},
        {"the same row seen by black: its disc has four open cells",
         {{1, 1, W}, {2, 1, W}, {3, 1, W}, {4, 1, B}},
         1,
         B,
         1},
        {"five white", {{1, 2, W}, {2, 2, W}, {3, 2, W}, {4, 2, W}, {5, 2, W}}, 2, W, 5},
        {"a run counts even outside the open stretch", {{1, 3, W}, {2, 3, W}, {3, 3, B}}, 3, W, 2},
        {"gapped discs count the longest run",
         {{1, 1, W}, {2, 1, W}, {4, 1, W}, {5, 1, W}, {6, 1, W}},
         1,
         W,
         3},
        {"falling diagonal from (1,4) to (4,1)",
         {{1, 4, W}, {2, 3, W}, {3, 2, W}, {4, 1, W}},
         17,
         W,
         4},
        {"rising diagonal walked from the right", {{7, 4, B}, {6, 3, B}, {5, 2, B}}, 23, B, 3},
        {"four-cell diagonal with one opponent disc", {{5, 2, W}, {7, 4, B}}, 23, B, 0},
        {"column with three black on white", {{2, 1, W}, {2, 2, B}, {2, 3, B}, {2, 4, B}}, 8, B, 3},
        {"an own disc below the opponent's counts while four cells are open above",
         {{2, 1, W}, {2, 2, B}},
         8,
         W,
         1},
        {"no stretch of four: value 0", {{2, 1, W}, {2, 2, B}, {2, 5, B}}, 8, W, 0},
    };
    for (const LineCase& c : cases) {
        const Board board = boardWith(c.discs);
        EXPECT_EQ(lineValue(board, LINE_TABLE[static_cast<size_t>(c.line - 1)], c.side), c.value)
            << c.name;
    }
}

TEST(BoardLineValue, BestLineValueIsTheWinTest) {
    const Board columnFour = replayed("1212121"); // white stacks four in column 1
    EXPECT_EQ(bestLineValue(columnFour, SIDE_WHITE), 4);
    EXPECT_EQ(bestLineValue(columnFour, SIDE_BLACK), 3);
    const Board rowFour = boardWith({{4, 1, 1}, {5, 1, 1}, {6, 1, 1}, {7, 1, 1}});
    EXPECT_GE(bestLineValue(rowFour, SIDE_WHITE), 4);
    EXPECT_EQ(bestLineValue(rowFour, SIDE_BLACK), 0);
}

TEST(BoardLineTable, CoversEveryPlayingCellOnItsFourDirections) {
    // Per cell, how many table lines pass through it, counted by walking the table.
    int32_t passes[BOARD_CELLS] = {};
    for (const BoardLine& line : LINE_TABLE) {
        Board board;
        resetBoard(board);
        int32_t column = line.startColumn;
        int32_t row = line.startRow;
        while (board[cellIndex(column, row)] != BORDER) {
            ++passes[cellIndex(column, row)];
            column += line.columnStep;
            row += line.rowStep;
        }
        EXPECT_EQ(column - line.columnStep, line.endColumn);
        EXPECT_EQ(row - line.rowStep, line.endRow);
    }
    // The centre cell lies on its row, its column and both long diagonals; a corner on its
    // row, its column and one diagonal.
    EXPECT_EQ(passes[cellIndex(4, 3)], 4);
    EXPECT_EQ(passes[cellIndex(1, 1)], 3);
    EXPECT_EQ(passes[cellIndex(7, 6)], 3);
    EXPECT_EQ(passes[cellIndex(4, 6)], 4);
    // The rising diagonal through (2,6) has only two cells.
    EXPECT_EQ(passes[cellIndex(2, 6)], 3);
}

TEST(BoardColumnValues, MinMaxIndexAndCount) {
    ColumnValues values;
    const int32_t row[7] = {3, 5, 5, 1, 5, 0, 2};
    for (int32_t column = 1; column <= 7; ++column)
        values[column] = row[column - 1];
    EXPECT_EQ(rowIndexOf(values, 5), 2);
    EXPECT_EQ(rowCount(values, 5), 3);
    EXPECT_EQ(rowMax(values), 5);
    EXPECT_EQ(rowMin(values), 0);
    EXPECT_EQ(rowIndexOf(values, 4), 0);
    EXPECT_EQ(rowCount(values, 4), 0);
    EXPECT_EQ(rowIndexOf(values, 2), 7);
}

TEST(BoardColumnValues, ExtremeValues) {
    ColumnValues values;
    for (int32_t column = 1; column <= 7; ++column)
        values[column] = INT32_MIN;
    EXPECT_EQ(rowMax(values), INT32_MIN);
    EXPECT_EQ(rowIndexOf(values, rowMax(values)), 1);
    EXPECT_EQ(rowCount(values, INT32_MIN), 7);
    values[6] = INT32_MAX;
    EXPECT_EQ(rowMin(values), INT32_MIN);
    EXPECT_EQ(rowMax(values), INT32_MAX);
    EXPECT_EQ(rowIndexOf(values, INT32_MAX), 6);
}

} // namespace
