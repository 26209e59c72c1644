// The engine's move choice: a fixed three-ply look-ahead on a board of the rules core.
// Private to the engine library (and its tests).
//
// chooseColumn's order of preference, from the score's weights:
//   1. a column whose drop gives the side four in a row (the lowest such column);
//   2. the smallest M, the best line the opponent reaches with its best reply, then the
//      smallest K, the number of replies that reach M;
//   3. the largest N, the best line the side is sure to reach with a follow-up whatever the
//      reply, then the largest L, the number of replies that leave exactly N;
//   4. the largest positionBonus, then the lowest column.
#pragma once

#include "board/board.h"

#include <cstdint>

inline constexpr int32_t NO_COLUMN = 0;
inline constexpr int32_t FULL_COLUMN_SCORE = INT32_MIN;

// The column 1..7 to play for `side` on a board that keeps the column invariant (discs fill
// each column from row 1 without a gap). A full board gives 1.
int32_t chooseColumn(const Board& board, int32_t side);

// The lowest column whose drop gives `side` a line value of 4 or more anywhere on the board,
// so a side that already has four gets the lowest column with room; NO_COLUMN when none does.
int32_t findWinningColumn(const Board& board, int32_t side);

// -(10000 M + 1000 K) + 100 N + 10 L + positionBonus for a column with room, else
// FULL_COLUMN_SCORE.
int32_t scoreColumn(const Board& board, int32_t side, int32_t column);

// (5 - |4 - column|) - trunc(|3.5 - landing row|) for a column with room, else 0. Range 0..5.
int32_t positionBonus(const Board& board, int32_t column);
