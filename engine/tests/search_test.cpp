#include "engine/search.h"

#include "engine/tests/random_moves.h"
#include "engine/tests/reference.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

Board replayed(std::string_view moves) {
    Board board;
    resetBoard(board);
    replayMoves(board, moves);
    return board;
}

int32_t sideToMove(std::string_view moves) {
    return moves.size() % 2 == 0 ? SIDE_WHITE : SIDE_BLACK;
}

struct ScoreCase {
    std::string moves;
    std::array<int32_t, 7> scores;
};

// Scores from the terms worked out by hand: -(10000 M + 1000 K) + 100 N + 10 L + bonus.
TEST(EngineScore, HandWorkedPositions) {
    const std::vector<ScoreCase> cases = {
        // M 1, K 7, N 2, L 7 everywhere; only the bonus differs.
        {"", {-16730, -16729, -16728, -16727, -16728, -16729, -16730}},
        // M 2 everywhere; K 3 but 2 in column 4; N 1, L 1 on the wings, N 2, L 7 inside.
        {"4", {-22890, -22889, -22728, -21726, -22728, -22889, -22890}},
        // M 2, K 2 everywhere; N 3, L 7 in columns 2, 3, 5, 6, N 2, L 7 in 1, 4, 7.
        {"4444", {-21730, -21629, -21628, -21726, -21628, -21629, -21730}},
    };
    for (const ScoreCase& c : cases) {
        const Board board = replayed(c.moves);
        for (int32_t column = 1; column <= 7; ++column) {
            const int32_t expected = c.scores[static_cast<size_t>(column - 1)];
            EXPECT_EQ(scoreColumn(board, sideToMove(c.moves), column), expected)
                << '"' << c.moves << "\" column " << column;
            EXPECT_EQ(reference::scoreColumn(board, sideToMove(c.moves), column), expected)
                << "reference, \"" << c.moves << "\" column " << column;
        }
    }
}

TEST(EngineScore, FullColumnScoresLowest) {
    const Board board = replayed("444444");
    EXPECT_EQ(scoreColumn(board, SIDE_WHITE, 4), FULL_COLUMN_SCORE);
    EXPECT_EQ(positionBonus(board, 4), 0);
}

TEST(EngineBonus, CentreColumnsAndMiddleRows) {
    struct BonusCase {
        std::string moves;
        int32_t column;
        int32_t bonus;
    };
    const std::vector<BonusCase> cases = {
        {"", 1, 0},      {"", 4, 3},     {"", 7, 0},     {"4", 4, 4},
        {"44", 4, 5},    {"444", 4, 5},  {"4444", 4, 4}, {"44444", 4, 3},
        {"11111", 1, 0}, {"2222", 2, 2}, {"77", 7, 2},   {"444444", 4, 0},
    };
    for (const BonusCase& c : cases) {
        const Board board = replayed(c.moves);
        EXPECT_EQ(positionBonus(board, c.column), c.bonus) << '"' << c.moves << "\" " << c.column;
        EXPECT_EQ(reference::positionBonus(board, c.column), c.bonus) << "reference";
    }
}

TEST(EngineWin, LooksAtTheWholeBoard) {
    struct WinCase {
        std::string moves;
        int32_t side;
        int32_t column;
    };
    const std::vector<WinCase> cases = {
        {"", SIDE_WHITE, NO_COLUMN},
        {"445566", SIDE_WHITE, 3}, // both 3 and 7 complete row 1
        {"445566", SIDE_BLACK, NO_COLUMN},
        {"4455667", SIDE_BLACK, 7},    // white has won; black can still make its own four
        {"1212121", SIDE_BLACK, 2},    // black completes its own column
        {"1212121", SIDE_WHITE, 1},    // white already has four: the lowest column with room
        {"1212121113", SIDE_WHITE, 2}, // ... and column 1 is full
        {"1717171", SIDE_BLACK, 7},
    };
    for (const WinCase& c : cases) {
        const Board board = replayed(c.moves);
        EXPECT_EQ(findWinningColumn(board, c.side), c.column) << '"' << c.moves << '"';
        EXPECT_EQ(reference::findWinningColumn(board, c.side), c.column) << "reference";
    }
}

// The fast search against the literal model on random positions, for both sides, so that
// positions with the "wrong" side to move are covered too.
TEST(EngineSearch, MatchesTheReferenceOnRandomPositions) {
#ifdef NDEBUG
    constexpr int32_t POSITIONS = 3000;
#else
    constexpr int32_t POSITIONS = 150;
#endif
    std::mt19937 random(20240611);
    for (int32_t n = 0; n < POSITIONS; ++n) {
        const std::string moves = randomMoves::legal(random);
        const Board board = replayed(moves);
        for (const int32_t side : {SIDE_WHITE, SIDE_BLACK}) {
            ASSERT_EQ(findWinningColumn(board, side), reference::findWinningColumn(board, side))
                << '"' << moves << "\" side " << side;
            for (int32_t column = 1; column <= 7; ++column)
                ASSERT_EQ(scoreColumn(board, side, column),
                          reference::scoreColumn(board, side, column))
                    << '"' << moves << "\" side " << side << " column " << column;
            ASSERT_EQ(chooseColumn(board, side), reference::chooseColumn(board, side))
                << '"' << moves << "\" side " << side;
        }
    }
}

} // namespace
