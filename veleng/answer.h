// The engine's answer to a call text, with the details the tests and benchmarks look at
// (private to veleng and its tools).
#pragma once

#include "veleng/solver.h"

#include <chrono>

namespace veleng {

// Time bound of one answer; the safety net answers the best move found so far when a
// search reaches it. It leaves room below 1 s for a busy machine's scheduling delays.
constexpr std::chrono::milliseconds ANSWER_BUDGET{700};

struct ANSWERINFO {
    bool fromBook = false;
    // The safety net cut the search short.
    bool cutShort = false;
    std::uint64_t nodes = 0;
};

// Reads a call text; the position of a valid one is stored in `out`. Returns false for any
// text the engine rejects.
bool parseCallText(const char* text, Position& out);

// Answer to a call text: a column 1 to 7 or -1 (see veleng.h).
int answerText(const char* text, ANSWERINFO* info = nullptr,
               std::chrono::steady_clock::duration budget = ANSWER_BUDGET, bool useBook = true);

// The solver shared by all calls (its table lives as long as the process).
Solver& sharedSolver();

} // namespace veleng
