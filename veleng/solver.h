// Exact solver of the perfect-play engine (private to veleng and its tools).
//
// Sections: the transposition table, the solver (negamax with alpha-beta and null windows,
// iterative narrowing of the score), the move choice at the root.
#pragma once

#include "veleng/position.h"

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace veleng {

constexpr bool isPrime(std::uint64_t n) {
    for (std::uint64_t d = 2; d * d <= n; ++d) {
        if (n % d == 0) {
            return false;
        }
    }
    return n >= 2;
}

constexpr std::uint64_t nextPrime(std::uint64_t n) {
    return isPrime(n) ? n : nextPrime(n + 1);
}

// Entries hold a bound on the score of one position (low byte) and, when one move proved a
// lower bound, that move's column + 1 in the orientation of the key (next three bits). Only the low
// 32 bits of the key are stored: the slot is the key modulo a prime, and by the Chinese remainder
// theorem slot and stored bits together identify any key below 2^49 (every key is), so a hit is
// never a different position.
class TranspositionTable {
public:
    static constexpr std::uint64_t SIZE = nextPrime(std::uint64_t{1} << 24);
    static_assert(SIZE * (std::uint64_t{1} << 32) >= (std::uint64_t{1} << (WIDTH * GROUP)),
                  "slot and partial key must identify every key");
    static constexpr std::uint64_t BYTES = SIZE * (sizeof(std::uint32_t) + sizeof(std::uint16_t));

    TranspositionTable();
    void clear();
    // 0 if nothing is stored for this key.
    std::uint16_t get(Bits key) const {
        std::uint64_t i = key % SIZE;
        return keys[i] == static_cast<std::uint32_t>(key) ? values[i] : 0;
    }
    void put(Bits key, std::uint16_t value) {
        std::uint64_t i = key % SIZE;
        keys[i] = static_cast<std::uint32_t>(key);
        values[i] = value;
    }

private:
    // Zeroed pages from the system: untouched parts of the table cost no memory or time.
    struct FREE {
        void operator()(void* p) const { std::free(p); }
    };
    std::unique_ptr<std::uint32_t[], FREE> keys;
    std::unique_ptr<std::uint16_t[], FREE> values;
};

using Clock = std::chrono::steady_clock;

class Solver {
public:
    // Exact score of a position that is neither won nor full. Returns 0 with aborted()
    // set when the deadline passed first.
    int solve(const Position& p);

    // Score within the window (alpha, beta): a result r with alpha < r < beta is exact,
    // r <= alpha an upper bound, r >= beta a lower bound.
    // Precondition: the side to move cannot win at once and the game is not over.
    int negamax(const Position& p, int alpha, int beta);

    // The column (0-based) that last proved a lower bound for `p`, or -1.
    int provenMove(const Position& p) const;

    // Is the score of `p` at least `target`? One null-window search.
    bool scoreAtLeast(const Position& p, int target);

    void setDeadline(Clock::time_point t) {
        deadline = t;
        hasDeadline = true;
        aborted_ = false;
    }
    void clearDeadline() {
        hasDeadline = false;
        aborted_ = false;
    }
    bool aborted() const { return aborted_; }

    std::uint64_t nodes = 0;
    TranspositionTable table;

private:
    bool timeUp();

    Clock::time_point deadline{};
    bool hasDeadline = false;
    bool aborted_ = false;
};

// Result of the root move choice; column is 1 to 7.
struct CHOICE {
    int column = 0;
    // Bit c - 1 set for every column whose value equals the best (full choices only).
    unsigned bestColumns = 0;
    // Value of the chosen move, from the mover's view (full choices only).
    int score = 0;
    // False when the deadline cut the search short and column is the best found so far.
    bool exact = true;
};

// Best column of a position that is neither won nor full: the highest score, and among
// equal scores the first in CENTRE_ORDER. With `full` the score and every column of the best
// score are determined as well (for the book and the tests); otherwise the search stops as
// soon as the column is known.
CHOICE chooseMove(Solver& solver, const Position& p, bool full = false);

} // namespace veleng
