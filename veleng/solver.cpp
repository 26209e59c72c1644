#include "veleng/solver.h"

#include <cassert>
#include <cstring>

namespace veleng {

namespace {

// Table values: upper bounds u stored as u - MIN_SCORE + 1 (1 to BOUND_SPAN), lower bounds l
// as l - MIN_SCORE + 1 + BOUND_SPAN; 0 is an empty slot.
constexpr int BOUND_SPAN = MAX_SCORE - MIN_SCORE + 1;
static_assert(2 * BOUND_SPAN < 256, "both kinds of bound must fit one byte");

constexpr std::uint16_t upperValue(int u) {
    return static_cast<std::uint16_t>(u - MIN_SCORE + 1);
}
constexpr std::uint16_t lowerValue(int l, int col) {
    return static_cast<std::uint16_t>((l - MIN_SCORE + 1 + BOUND_SPAN) | ((col + 1) << 8));
}

// Moves sorted by falling threat count; among equal counts the earlier insertion wins,
// and insertions come in CENTRE_ORDER.
class MoveList {
public:
    void add(Bits move, int score) {
        int i = size++;
        for (; i > 0 && entries[i - 1].score < score; --i) {
            entries[i] = entries[i - 1];
        }
        entries[i] = {move, score};
    }
    int count() const { return size; }
    Bits operator[](int i) const { return entries[i].move; }

private:
    struct ENTRY {
        Bits move;
        int score;
    };
    ENTRY entries[WIDTH]{};
    int size = 0;
};

} // namespace

TranspositionTable::TranspositionTable()
    : keys(static_cast<std::uint32_t*>(std::calloc(SIZE, sizeof(std::uint32_t)))),
      values(static_cast<std::uint16_t*>(std::calloc(SIZE, sizeof(std::uint16_t)))) {
    assert(keys && values && "the transposition table needs its memory");
}

void TranspositionTable::clear() {
    std::memset(keys.get(), 0, SIZE * sizeof(std::uint32_t));
    std::memset(values.get(), 0, SIZE * sizeof(std::uint16_t));
}

bool Solver::timeUp() {
    if (!hasDeadline) {
        return false;
    }
    if (!aborted_ && (nodes & 0xFFF) == 0 && Clock::now() >= deadline) {
        aborted_ = true;
    }
    return aborted_;
}

int Solver::negamax(const Position& p, int alpha, int beta) {
    assert(alpha < beta && "negamax needs a non-empty window");
    assert(!p.canWinNext() && "negamax needs a position without an immediate win");
    ++nodes;
    if (timeUp()) {
        return 0;
    }

    Bits next = p.nonLosingMoves();
    if (next == 0) {
        // the opponent wins with its next disc
        return -(CELLS - p.moves()) / 2;
    }
    if (p.moves() >= CELLS - 2) {
        return 0;
    }

    // Neither side can win within two plies, so these bounds hold.
    int lowest = -(CELLS - 2 - p.moves()) / 2;
    if (alpha < lowest) {
        alpha = lowest;
        if (alpha >= beta) {
            return alpha;
        }
    }
    int highest = (CELLS - 1 - p.moves()) / 2;
    if (beta > highest) {
        beta = highest;
        if (alpha >= beta) {
            return beta;
        }
    }

    Bits ownKey = p.key();
    Bits key = p.symmetricKey();
    bool mirrored = key != ownKey;
    int hinted = -1;
    std::uint16_t entry = table.get(key);
    if (entry) {
        int v = entry & 0xFF;
        if (entry >> 8) {
            hinted = (entry >> 8) - 1;
            hinted = mirrored ? WIDTH - 1 - hinted : hinted;
        }
        if (v > BOUND_SPAN) {
            int lower = v - BOUND_SPAN + MIN_SCORE - 1;
            if (alpha < lower) {
                alpha = lower;
                if (alpha >= beta) {
                    return alpha;
                }
            }
        } else {
            int upper = v + MIN_SCORE - 1;
            if (beta > upper) {
                beta = upper;
                if (alpha >= beta) {
                    return beta;
                }
            }
        }
    }

    // The move that refuted this position before goes first.
    MoveList moves;
    if (hinted >= 0 && (next & columnBits(hinted))) {
        moves.add(next & columnBits(hinted), 1000);
    }
    for (int col : CENTRE_ORDER) {
        if (Bits move = next & columnBits(col); move && col != hinted) {
            moves.add(move, p.threatCount(move));
        }
    }

    for (int i = 0; i < moves.count(); ++i) {
        Position child = p;
        child.playBit(moves[i]);
        int score = -negamax(child, -beta, -alpha);
        if (aborted_) {
            return 0;
        }
        if (score >= beta) {
            int col = std::countr_zero(moves[i]) / GROUP;
            table.put(key, lowerValue(score, mirrored ? WIDTH - 1 - col : col));
            return score;
        }
        if (score > alpha) {
            alpha = score;
        }
    }
    // an upper bound keeps the move that once proved a lower bound: it still orders first
    table.put(key, static_cast<std::uint16_t>(upperValue(alpha) | (entry & 0xFF00)));
    return alpha;
}

int Solver::solve(const Position& p) {
    if (p.canWinNext()) {
        return (CELLS + 1 - p.moves()) / 2;
    }
    int lo = -(CELLS - p.moves()) / 2;
    int hi = (CELLS + 1 - p.moves()) / 2;
    // Null-window probes narrow [lo, hi]. The first asks for the sign of the score; after it
    // the probes stay near the known end, where early positions have their scores, and
    // halve the rest of the range for late positions.
    bool first = true;
    while (lo < hi) {
        int med;
        if (first && lo < 0 && hi > 0) {
            med = 0;
        } else if (lo >= 0) {
            med = lo + (hi - lo) / 4;
        } else if (hi <= 0) {
            med = hi - 1 - (hi - lo) / 4;
        } else {
            med = lo + (hi - lo) / 2;
        }
        first = false;
        int r = negamax(p, med, med + 1);
        if (aborted_) {
            return 0;
        }
        if (r <= med) {
            hi = r;
        } else {
            lo = r;
        }
    }
    return lo;
}

int Solver::provenMove(const Position& p) const {
    Bits key = p.symmetricKey();
    int col = (table.get(key) >> 8) - 1;
    if (col < 0) {
        return -1;
    }
    return key != p.key() ? WIDTH - 1 - col : col;
}

bool Solver::scoreAtLeast(const Position& p, int target) {
    return negamax(p, target - 1, target) >= target;
}

CHOICE chooseMove(Solver& solver, const Position& p, bool full) {
    CHOICE c;
    for (int col : CENTRE_ORDER) {
        if (p.canPlay(col) && p.isWinningMove(col)) {
            if (c.column == 0) {
                c.column = col + 1;
                c.score = (CELLS + 1 - p.moves()) / 2;
            }
            c.bestColumns |= 1u << col;
        }
    }
    if (c.column != 0) {
        return c;
    }

    Bits next = p.nonLosingMoves();
    if (next == 0) {
        // Every move loses at the opponent's next disc: all are equal.
        c.score = -(CELLS - p.moves()) / 2;
        for (int col : CENTRE_ORDER) {
            if (p.canPlay(col)) {
                c.column = c.column ? c.column : col + 1;
                c.bestColumns |= 1u << col;
            }
        }
        return c;
    }

    // Until the search has proved anything, the most threatening safe move stands in.
    int bestThreats = -1;
    for (int col : CENTRE_ORDER) {
        if (Bits move = next & columnBits(col)) {
            int t = p.threatCount(move);
            if (t > bestThreats) {
                bestThreats = t;
                c.column = col + 1;
            }
        }
    }
    if ((next & (next - 1)) == 0 && !full) {
        // One safe move: every other one loses at once.
        return c;
    }

    int best = solver.solve(p);
    if (solver.aborted()) {
        // A move that proved the best lower bound so far beats the threat heuristic.
        int proven = solver.provenMove(p);
        if (proven >= 0 && (next & columnBits(proven))) {
            c.column = proven + 1;
        }
        c.exact = false;
        return c;
    }
    c.score = best;
    int chosen = 0;
    for (int col : CENTRE_ORDER) {
        Bits move = next & columnBits(col);
        if (!move) {
            continue;
        }
        Position child = p;
        child.playBit(move);
        // a move reaches the best score when the opponent's score after it is at most -best
        bool reaches = child.moves() >= CELLS ? best == 0 : !solver.scoreAtLeast(child, -best + 1);
        if (solver.aborted()) {
            break;
        }
        if (reaches) {
            chosen = chosen ? chosen : col + 1;
            c.bestColumns |= 1u << col;
            if (!full) {
                break;
            }
        }
    }
    if (chosen == 0) {
        // Only the deadline can leave the best score unmatched.
        assert(solver.aborted() && "a position's score must be reached by one of its moves");
        c.exact = false;
        return c;
    }
    c.column = chosen;
    c.exact = !solver.aborted();
    return c;
}

} // namespace veleng
