#include "veleng/answer.h"

#include "veleng/book.h"

#include <mutex>

namespace veleng {

bool parseCallText(const char* text, Position& out) {
    if (text == nullptr || text[0] != 'c') {
        return false;
    }
    Position p;
    // Each character is looked at only after the one before it was a digit, so reading
    // stops at the first zero byte, and after at most CELLS + 2 characters.
    for (const char* s = text + 1;; ++s) {
        if (*s == '0') {
            if (s[1] != '\0') {
                return false;
            }
            break;
        }
        if (*s < '1' || *s > '7' || p.moves() == CELLS) {
            return false;
        }
        int col = *s - '1';
        if (!p.canPlay(col)) {
            return false;
        }
        p.play(col);
        // a move after a win, and a won position, are both rejected
        if (p.lastMoverHasFour()) {
            return false;
        }
    }
    if (p.moves() == CELLS) {
        return false;
    }
    out = p;
    return true;
}

Solver& sharedSolver() {
    // Touching the whole table once up front keeps page faults out of the timed answers.
    static Solver solver = [] {
        Solver s;
        s.table.clear();
        return s;
    }();
    return solver;
}

int answerText(const char* text, ANSWERINFO* info, std::chrono::steady_clock::duration budget,
               bool useBook) {
    static std::mutex lock;
    Clock::time_point start = Clock::now();
    Position p;
    if (!parseCallText(text, p)) {
        return -1;
    }
    ANSWERINFO local;
    ANSWERINFO& inf = info ? *info : local;
    inf = ANSWERINFO{};

    std::lock_guard<std::mutex> guard(lock);
    if (useBook) {
        if (unsigned cols = builtInBook().lookup(p)) {
            inf.fromBook = true;
            for (int col : CENTRE_ORDER) {
                if (cols & (1u << col)) {
                    return col + 1;
                }
            }
        }
    }
    Solver& solver = sharedSolver();
    solver.setDeadline(start + budget);
    std::uint64_t before = solver.nodes;
    CHOICE c = chooseMove(solver, p);
    solver.clearDeadline();
    inf.nodes = solver.nodes - before;
    inf.cutShort = !c.exact;
    return c.column;
}

} // namespace veleng
