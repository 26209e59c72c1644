// Bitboard position of the perfect-play engine (private to veleng and its tools).
//
// Sections: board geometry and bit order, line detection, the Position type.
#pragma once

#include <array>
#include <bit>
#include <cstdint>

namespace veleng {

constexpr int WIDTH = 7;
constexpr int HEIGHT = 6;
constexpr int CELLS = WIDTH * HEIGHT;

// Bit order: one group of HEIGHT + 1 bits per column, column 1 in the lowest group. Inside a
// group the bits count the rows from the bottom; the top bit of each group is a sentinel that
// is never set by a disc, so shifting a bitboard by a whole group never joins two columns
// into a line.
//
//   sentinel  6 13 20 27 34 41 48
//   row 6     5 12 19 26 33 40 47
//   row 5     4 11 18 25 32 39 46
//   row 4     3 10 17 24 31 38 45
//   row 3     2  9 16 23 30 37 44
//   row 2     1  8 15 22 29 36 43
//   row 1     0  7 14 21 28 35 42
//   column    1  2  3  4  5  6  7
constexpr int GROUP = HEIGHT + 1;
static_assert(WIDTH * GROUP <= 64, "the board with its sentinel row must fit one 64-bit word");

using Bits = std::uint64_t;

constexpr Bits bottomBit(int col) {
    return Bits{1} << (col * GROUP);
}
constexpr Bits topBit(int col) {
    return Bits{1} << (HEIGHT - 1 + col * GROUP);
}
constexpr Bits columnBits(int col) {
    return ((Bits{1} << HEIGHT) - 1) << (col * GROUP);
}

constexpr Bits BOTTOM_MASK = [] {
    Bits b = 0;
    for (int c = 0; c < WIDTH; ++c) {
        b |= bottomBit(c);
    }
    return b;
}();
constexpr Bits BOARD_MASK = BOTTOM_MASK * ((Bits{1} << HEIGHT) - 1);
static_assert(std::popcount(BOARD_MASK) == CELLS);

// Scores: 0 for a draw; a side that wins with its k-th disc scores 22 - k, its opponent
// k - 22. A higher score is a sooner win or a later loss, which is exactly the order in
// which the engine prefers its moves.
constexpr int MIN_SCORE = -(CELLS / 2) + 3;
constexpr int MAX_SCORE = (CELLS + 1) / 2 - 3;
static_assert(MIN_SCORE == -18 && MAX_SCORE == 18);

// Columns (0-based) from the centre outwards; among equal choices the earlier one is taken:
// 4, 3, 5, 2, 6, 1, 7 counted from 1. The left neighbour comes first, which keeps answers
// deterministic but means mirror-image positions need not get mirror-image answers.
constexpr std::array<int, WIDTH> CENTRE_ORDER = {3, 2, 4, 1, 5, 0, 6};

// Cells that would complete a line of four for the discs `own` (empty cells only).
constexpr Bits winningCells(Bits own, Bits occupied) {
    // vertical: three discs directly below
    Bits r = (own << 1) & (own << 2) & (own << 3);
    // the three other directions, by their shift: horizontal, and the two diagonals
    for (int s : {GROUP, GROUP - 1, GROUP + 1}) {
        Bits p = (own << s) & (own << 2 * s);
        r |= p & (own << 3 * s);
        r |= p & (own >> s);
        p = (own >> s) & (own >> 2 * s);
        r |= p & (own << s);
        r |= p & (own >> 3 * s);
    }
    return r & (BOARD_MASK ^ occupied);
}

constexpr bool hasFour(Bits own) {
    for (int s : {1, GROUP, GROUP - 1, GROUP + 1}) {
        Bits m = own & (own >> s);
        if (m & (m >> 2 * s)) {
            return true;
        }
    }
    return false;
}

// Mirror image of a key or bitboard: the column groups in reverse order.
constexpr Bits mirrorBits(Bits b) {
    Bits r = 0;
    for (int c = 0; c < WIDTH; ++c) {
        r |= ((b >> (c * GROUP)) & ((Bits{1} << GROUP) - 1)) << ((WIDTH - 1 - c) * GROUP);
    }
    return r;
}

// A position as seen by the side to move: `current` holds its discs, `mask` all discs.
class Position {
public:
    // Precondition: `own` lies inside `occupied`, a set of columns filled from the bottom,
    // and `count` is the number of discs in `occupied`.
    static Position fromBits(Bits own, Bits occupied, int count) {
        Position p;
        p.current = own;
        p.mask = occupied;
        p.count = count;
        return p;
    }

    bool canPlay(int col) const { return (mask & topBit(col)) == 0; }

    // Precondition: canPlay(col).
    void play(int col) { playBit((mask + bottomBit(col)) & columnBits(col)); }

    void playBit(Bits move) {
        current ^= mask;
        mask |= move;
        ++count;
    }

    // Precondition: canPlay(col).
    bool isWinningMove(int col) const {
        return (winningCells(current, mask) & possible() & columnBits(col)) != 0;
    }

    bool canWinNext() const { return (winningCells(current, mask) & possible()) != 0; }

    // True if the side that has just moved has four in a line.
    bool lastMoverHasFour() const { return hasFour(current ^ mask); }

    int moves() const { return count; }
    Bits discs() const { return mask; }
    Bits ownDiscs() const { return current; }

    // Unique for each position: in every column the bit above the top disc is set as well.
    Bits key() const { return current + mask + BOTTOM_MASK; }
    Bits symmetricKey() const {
        Bits k = key();
        Bits m = mirrorBits(k);
        return m < k ? m : k;
    }

    Bits possible() const { return (mask + BOTTOM_MASK) & BOARD_MASK; }

    // Moves that do not hand the opponent a win on its next move; 0 if every move does.
    // Precondition: the side to move cannot win at once.
    Bits nonLosingMoves() const {
        Bits avail = possible();
        Bits threats = winningCells(current ^ mask, mask);
        Bits forced = avail & threats;
        if (forced) {
            if (forced & (forced - 1)) {
                return 0;
            }
            avail = forced;
        }
        // never play directly below an opponent's threat
        return avail & ~(threats >> 1);
    }

    // Move ordering: how many winning cells the move leaves the mover.
    int threatCount(Bits move) const { return std::popcount(winningCells(current | move, mask)); }

private:
    Bits current = 0;
    Bits mask = 0;
    int count = 0;
};

} // namespace veleng
