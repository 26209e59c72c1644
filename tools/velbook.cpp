// velbook: rebuilds the engine's opening book with the engine's own solver.
//
//   velbook <book-file> <max-moves> [--resume]
//
// The book holds the positions the engine can be asked while it plays perfectly: with the
// engine as white, every position after its own answers and any replies; with the engine
// as black, likewise after white's first move. For each such position with at most
// <max-moves> moves played it stores all columns of the best score. Positions the engine
// answers at once (an immediate win, a single move that does not lose at once, or only
// losing moves) are left out, but their successors are followed.
//
// The book is written after every completed number of moves, so an interrupted run leaves a
// usable book of the shallower positions; --resume takes the entries of the existing file
// instead of solving them again.
#include "veleng/book.h"
#include "veleng/solver.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace veleng;

namespace {

bool writeBook(const std::string& path, const std::map<Bits, unsigned>& entries) {
    std::vector<BOOKENTRY> list;
    for (auto [key, cols] : entries) {
        list.push_back({key, cols});
    }
    std::vector<unsigned char> image = makeBookImage(list);
    std::string tmp = path + ".tmp";
    std::FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) {
        return false;
    }
    bool ok = std::fwrite(image.data(), 1, image.size(), f) == image.size();
    ok = std::fclose(f) == 0 && ok;
    return ok && std::rename(tmp.c_str(), path.c_str()) == 0;
}

bool trivial(const Position& p) {
    if (p.canWinNext()) {
        return true;
    }
    Bits next = p.nonLosingMoves();
    return (next & (next - 1)) == 0;
}

// The column the engine answers for a set of best columns.
int firstInOrder(unsigned cols) {
    for (int col : CENTRE_ORDER) {
        if (cols & (1u << col)) {
            return col;
        }
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: velbook <book-file> <max-moves> [--resume]\n");
        return 2;
    }
    std::string path = argv[1];
    int maxMoves = std::atoi(argv[2]);
    bool resume = argc > 3 && std::string(argv[3]) == "--resume";

    Book old;
    if (resume) {
        std::ifstream in(path, std::ios::binary);
        std::vector<unsigned char> image((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
        if (!old.load(image)) {
            std::fprintf(stderr, "velbook: %s is no valid book, starting afresh\n", path.c_str());
        }
    }

    Solver solver;
    std::map<Bits, unsigned> entries;
    // Engine-to-move positions of the current number of moves, by symmetric key.
    std::map<Bits, Position> level;
    level[Position{}.symmetricKey()] = Position{};
    for (int c = 0; c < WIDTH; ++c) {
        Position p;
        p.play(c);
        level.emplace(p.symmetricKey(), p);
    }
    auto start = std::chrono::steady_clock::now();
    for (int moves = 0; moves <= maxMoves; ++moves) {
        std::map<Bits, Position> next;
        std::size_t done = 0, solved = 0;
        for (auto& [skey, p] : level) {
            if (p.moves() != moves) {
                continue;
            }
            ++done;
            // the engine's answers here, in p's orientation and in its mirror image's
            unsigned cols = 0;
            if (p.canWinNext()) {
                cols = 0; // the game ends with the answer
            } else if (trivial(p)) {
                Bits safe = p.nonLosingMoves();
                for (int c = 0; c < WIDTH; ++c) {
                    // the single safe move, or, when every move loses at once, all of them
                    if (safe ? (safe & columnBits(c)) != 0 : p.canPlay(c)) {
                        cols |= 1u << c;
                    }
                }
            } else {
                if (unsigned known = old.lookup(p)) {
                    cols = known;
                } else {
                    cols = chooseMove(solver, p, true).bestColumns;
                    ++solved;
                }
                // stored in the orientation of the symmetric key
                entries[skey] = p.key() != skey ? mirrorColumns(cols) : cols;
            }
            std::vector<int> answers;
            if (cols) {
                answers.push_back(firstInOrder(cols));
                int other = WIDTH - 1 - firstInOrder(mirrorColumns(cols));
                if (other != answers[0]) {
                    answers.push_back(other);
                }
            }
            for (int a : answers) {
                Position q = p;
                q.play(a);
                if (q.lastMoverHasFour() || q.moves() >= CELLS) {
                    continue;
                }
                for (int r = 0; r < WIDTH; ++r) {
                    if (!q.canPlay(r)) {
                        continue;
                    }
                    Position s = q;
                    s.play(r);
                    if (!s.lastMoverHasFour() && s.moves() < CELLS) {
                        next.emplace(s.symmetricKey(), s);
                    }
                }
            }
            double secs =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            std::fprintf(stderr, "\rmoves %d: %zu positions, %zu solved, book %zu, %.0f s", moves,
                         done, solved, entries.size(), secs);
        }
        std::fprintf(stderr, "\n");
        if (!writeBook(path, entries)) {
            std::fprintf(stderr, "velbook: cannot write %s\n", path.c_str());
            return 1;
        }
        // positions of the next number of moves come from this level and the one before
        for (auto& [k, p] : level) {
            if (p.moves() > moves) {
                next.emplace(k, p);
            }
        }
        level = std::move(next);
    }
    return 0;
}
