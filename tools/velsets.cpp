// velsets: position sets with exact scores, made by random play and the engine's own solver.
//
//   velsets make <out-file> <count> <min-played> <max-played> <min-left> <max-left> [seed]
//       random games, each cut after a random number of moves within the played bounds;
//       a position is kept when the number of moves left to the end of the game under
//       perfect play (from its exact score) lies within the left bounds. Won or full
//       positions and repeated ones are skipped.
//   velsets solve      reads move strings (digits 1 to 7) from stdin, prints
//                      "<moves> <score> <microseconds> <nodes>" per line
//
// Set file: one line per position, "<moves> <score>", the score from the view of the side
// to move (0 draw, 22 - k for a win with its k-th disc, k - 22 for a loss to the k-th).
#include "veleng/solver.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <random>
#include <set>
#include <string>

using namespace veleng;

namespace {

bool replay(const std::string& moves, Position& p) {
    p = Position{};
    for (char ch : moves) {
        int col = ch - '1';
        if (col < 0 || col >= WIDTH || !p.canPlay(col) || p.moves() == CELLS) {
            return false;
        }
        p.play(col);
        if (p.lastMoverHasFour()) {
            return false;
        }
    }
    return p.moves() < CELLS;
}

// Moves left to the end of the game under perfect play, from the exact score: a side that
// wins with its k-th disc ends the game on move 2k - 1 (white) or 2k (black).
int movesLeft(int played, int score) {
    if (score == 0) {
        return CELLS - played;
    }
    int k = 22 - (score > 0 ? score : -score);
    bool moverIsWhite = (played & 1) == 0;
    bool whiteWins = (score > 0) == moverIsWhite;
    return (whiteWins ? 2 * k - 1 : 2 * k) - played;
}

int solveLines() {
    Solver solver;
    std::string line;
    while (std::getline(std::cin, line)) {
        Position p;
        if (!replay(line, p)) {
            std::printf("%s invalid\n", line.c_str());
            continue;
        }
        std::uint64_t before = solver.nodes;
        auto t0 = std::chrono::steady_clock::now();
        int score = solver.solve(p);
        auto us = std::chrono::duration_cast<std::chrono::microseconds>(
                      std::chrono::steady_clock::now() - t0)
                      .count();
        std::printf("%s %d %lld %llu\n", line.c_str(), score, static_cast<long long>(us),
                    static_cast<unsigned long long>(solver.nodes - before));
        std::fflush(stdout);
    }
    return 0;
}

int makeSet(int argc, char** argv) {
    if (argc < 8) {
        std::fprintf(stderr, "usage: velsets make <out> <count> <min-played> <max-played> "
                             "<min-left> <max-left> [seed]\n");
        return 2;
    }
    const char* out = argv[2];
    int count = std::atoi(argv[3]);
    int minPlayed = std::atoi(argv[4]);
    int maxPlayed = std::atoi(argv[5]);
    int minLeft = std::atoi(argv[6]);
    int maxLeft = std::atoi(argv[7]);
    unsigned seed = argc > 8 ? static_cast<unsigned>(std::atoi(argv[8])) : 1;
    std::mt19937 rng(seed);
    std::FILE* f = std::fopen(out, "w");
    if (!f) {
        std::perror(out);
        return 1;
    }
    Solver solver;
    std::set<std::string> seen;
    int made = 0;
    while (made < count) {
        // at most CELLS - played moves can be left
        int lo = minPlayed;
        int hi = std::min(maxPlayed, CELLS - minLeft);
        if (lo > hi) {
            std::fprintf(stderr, "velsets: the bounds admit no position\n");
            return 2;
        }
        int target = std::uniform_int_distribution<int>(lo, hi)(rng);
        Position p;
        std::string moves;
        bool ok = true;
        while (p.moves() < target) {
            int col = std::uniform_int_distribution<int>(0, WIDTH - 1)(rng);
            if (!p.canPlay(col)) {
                continue;
            }
            p.play(col);
            moves += static_cast<char>('1' + col);
            if (p.lastMoverHasFour()) {
                ok = false;
                break;
            }
        }
        if (!ok || p.moves() >= CELLS || !seen.insert(moves).second) {
            continue;
        }
        int score = solver.solve(p);
        int left = movesLeft(p.moves(), score);
        if (left < minLeft || left > maxLeft) {
            continue;
        }
        std::fprintf(f, "%s %d\n", moves.c_str(), score);
        std::fflush(f);
        ++made;
        std::fprintf(stderr, "\r%s: %d/%d", out, made, count);
    }
    std::fprintf(stderr, "\n");
    std::fclose(f);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::string(argv[1]) == "solve") {
        return solveLines();
    }
    if (argc >= 2 && std::string(argv[1]) == "make") {
        return makeSet(argc, argv);
    }
    std::fprintf(stderr, "usage: velsets make ... | velsets solve (see the source's head)\n");
    return 2;
}
