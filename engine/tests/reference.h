// A plain, literal model of the engine's move choice, written straight on board operations
// with copied working boards and no shortcuts. The library's fast search must give the same
// column for every position; the tests compare the two.
#pragma once

#include "board/board.h"

#include <climits>
#include <cmath>
#include <string_view>

namespace reference {

inline int32_t positionBonus(const Board& board, int32_t column) {
    const int32_t row = landingRow(board, column);
    if (row == 0)
        return 0;
    return (5 - std::abs(4 - column)) - static_cast<int32_t>(std::trunc(std::fabs(3.5 - row)));
}

inline int32_t findWinningColumn(const Board& board, int32_t side) {
    Board work;
    resetBoard(work);
    for (int32_t column = 1; column <= 7; ++column) {
        copyPlayingCells(work, board);
        if (dropDisc(work, side, column) == BOARD_TRUE && bestLineValue(work, side) >= 4)
            return column;
    }
    return 0;
}

inline int32_t scoreColumn(const Board& board, int32_t side, int32_t column) {
    Board afterReply;
    Board afterFollowUp;
    resetBoard(afterReply);
    resetBoard(afterFollowUp);
    if (board[cellIndex(column, 6)] != 0)
        return INT32_MIN;

    ColumnValues threat;
    for (int32_t reply = 1; reply <= 7; ++reply) {
        copyPlayingCells(afterReply, board);
        dropDisc(afterReply, side, column);
        dropDisc(afterReply, -side, reply);
        threat[reply] = bestLineValue(afterReply, -side);
    }
    const int32_t m = rowMax(threat);
    const int32_t k = rowCount(threat, m);
    int32_t score = -(10000 * m + 1000 * k);

    ColumnValues followUp;
    for (int32_t reply = 1; reply <= 7; ++reply) {
        copyPlayingCells(afterReply, board);
        dropDisc(afterReply, side, column);
        dropDisc(afterReply, -side, reply);
        ColumnValues reach;
        for (int32_t next = 1; next <= 7; ++next) {
            copyPlayingCells(afterFollowUp, afterReply);
            dropDisc(afterFollowUp, side, next);
            reach[next] = bestLineValue(afterFollowUp, side);
        }
        followUp[reply] = rowMax(reach);
    }
    const int32_t n = rowMin(followUp);
    const int32_t l = rowCount(followUp, n);
    score += 100 * n + 10 * l;
    return score + positionBonus(board, column);
}

inline int32_t chooseColumn(const Board& board, int32_t side) {
    const int32_t winning = findWinningColumn(board, side);
    if (winning != 0)
        return winning;
    ColumnValues scores;
    for (int32_t column = 1; column <= 7; ++column)
        scores[column] = scoreColumn(board, side, column);
    return rowIndexOf(scores, rowMax(scores));
}

inline int32_t answer(std::string_view moves) {
    Board board;
    resetBoard(board);
    if (checkMoveString(moves) != BOARD_TRUE)
        return -1;
    replayMoves(board, moves);
    return chooseColumn(board, moves.size() % 2 == 0 ? 1 : -1);
}

} // namespace reference
