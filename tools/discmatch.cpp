// discmatch: plays four-in-a-row games between two engines and reports how they fared.
//
//   discmatch [--depth N | --openings FILE] [--one-way] [--seed S] ENGINE-A ENGINE-B
//
// An engine is "random" (a uniformly random legal column, seeded by --seed and the game
// number) or a shared library exporting `Answer` in one of the two forms:
//   text    int Answer(const char* text), the call text "c" + moves + "0"
//   record  int Answer(const StringRecord*), the own engine's three-field record
// Write "text:PATH" or "record:PATH" to choose the form; a bare PATH is told by the symbol
// version of its export (ENGINE_1 means record, anything else text).
//
// Every opening (all move sequences of --depth moves, default 2, or the lines of --openings)
// is played twice, once with A as white and once with B as white (--one-way: A white only).
// An answer that names no column with room loses the game for the engine that gave it.
// Progress goes to stderr; the summary to stdout.
#include "engine/engine.h"
#include "veleng/position.h"

#include <dlfcn.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

using veleng::CELLS;
using veleng::Position;
using veleng::WIDTH;

namespace {

using TextAnswer = int (*)(const char*);
using RecordAnswer = AnswerFunction;

struct Engine {
    std::string name;
    bool random = false;
    TextAnswer text = nullptr;
    RecordAnswer record = nullptr;
    std::vector<double> millis;
    int illegal = 0;

    int answer(const std::string& moves, std::mt19937& rng, const Position& p) {
        if (random) {
            std::vector<int> cols;
            for (int c = 0; c < WIDTH; ++c) {
                if (p.canPlay(c)) {
                    cols.push_back(c + 1);
                }
            }
            return cols[std::uniform_int_distribution<std::size_t>(0, cols.size() - 1)(rng)];
        }
        auto t0 = std::chrono::steady_clock::now();
        int r;
        if (text) {
            std::string call = "c" + moves + "0";
            r = text(call.c_str());
        } else {
            StringRecord rec{moves.data(), static_cast<std::uint32_t>(moves.size()),
                             static_cast<std::int32_t>(moves.capacity())};
            r = record(&rec);
        }
        millis.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                .count());
        return r;
    }
};

bool openEngine(const std::string& spec, Engine& e) {
    e.name = spec;
    if (spec == "random") {
        e.random = true;
        return true;
    }
    std::string path = spec;
    int form = 0; // 1 text, 2 record, 0 by symbol version
    if (spec.rfind("text:", 0) == 0) {
        form = 1;
        path = spec.substr(5);
    } else if (spec.rfind("record:", 0) == 0) {
        form = 2;
        path = spec.substr(7);
    }
    // A path without a slash would be searched for by the loader; a file name given here
    // means the file in the working directory.
    if (path.find('/') == std::string::npos) {
        path = "./" + path;
    }
    void* h = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!h) {
        std::fprintf(stderr, "discmatch: %s\n", dlerror());
        return false;
    }
    void* sym = nullptr;
    if (form == 0) {
        if ((sym = dlvsym(h, "Answer", "ENGINE_1"))) {
            form = 2;
        } else {
            form = 1;
        }
    }
    if (!sym) {
        sym = dlsym(h, "Answer");
    }
    if (!sym) {
        std::fprintf(stderr, "discmatch: %s exports no Answer\n", path.c_str());
        return false;
    }
    if (form == 1) {
        e.text = reinterpret_cast<TextAnswer>(sym);
    } else {
        e.record = reinterpret_cast<RecordAnswer>(sym);
    }
    e.name = path + (form == 1 ? " (text form)" : " (record form)");
    return true;
}

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

void allOpenings(const std::string& prefix, int depth, std::vector<std::string>& out) {
    Position p;
    if (!replay(prefix, p)) {
        return;
    }
    if (static_cast<int>(prefix.size()) == depth) {
        out.push_back(prefix);
        return;
    }
    for (int c = 1; c <= WIDTH; ++c) {
        allOpenings(prefix + static_cast<char>('0' + c), depth, out);
    }
}

// Result from white's view: 1 white won, 0 draw, -1 black won.
int playGame(const std::string& opening, Engine& white, Engine& black, std::mt19937& rng) {
    Position p;
    replay(opening, p);
    std::string moves = opening;
    while (p.moves() < CELLS) {
        bool whiteToMove = (p.moves() & 1) == 0;
        Engine& e = whiteToMove ? white : black;
        int col = e.answer(moves, rng, p);
        if (col < 1 || col > WIDTH || !p.canPlay(col - 1)) {
            ++e.illegal;
            return whiteToMove ? -1 : 1;
        }
        p.play(col - 1);
        moves += static_cast<char>('0' + col);
        if (p.lastMoverHasFour()) {
            return whiteToMove ? 1 : -1;
        }
    }
    return 0;
}

void progress(std::size_t done, std::size_t total) {
    const int width = 40;
    int filled = total ? static_cast<int>(width * done / total) : width;
    std::fprintf(stderr, "\r[%.*s%*s] %zu/%zu games", filled,
                 "========================================", width - filled, "", done, total);
    if (done == total) {
        std::fprintf(stderr, "\n");
    }
}

double median(std::vector<double> v) {
    if (v.empty()) {
        return 0;
    }
    std::sort(v.begin(), v.end());
    std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

int usage() {
    std::fprintf(stderr, "usage: discmatch [--depth N | --openings FILE] [--one-way] [--seed S] "
                         "ENGINE-A ENGINE-B\n"
                         "  ENGINE: random | text:PATH | record:PATH | PATH\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    int depth = 2;
    std::string openingsFile;
    bool bothWays = true;
    unsigned seed = 1;
    std::vector<std::string> specs;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--depth" && i + 1 < argc) {
            depth = std::atoi(argv[++i]);
        } else if (a == "--openings" && i + 1 < argc) {
            openingsFile = argv[++i];
        } else if (a == "--one-way") {
            bothWays = false;
        } else if (a == "--seed" && i + 1 < argc) {
            seed = static_cast<unsigned>(std::atoi(argv[++i]));
        } else if (a.rfind("--", 0) == 0) {
            return usage();
        } else {
            specs.push_back(a);
        }
    }
    if (specs.size() != 2 || depth < 0 || depth > 8) {
        return usage();
    }
    Engine a, b;
    if (!openEngine(specs[0], a) || !openEngine(specs[1], b)) {
        return 1;
    }

    std::vector<std::string> openings;
    if (openingsFile.empty()) {
        allOpenings("", depth, openings);
    } else {
        std::ifstream in(openingsFile);
        if (!in) {
            std::fprintf(stderr, "discmatch: cannot read %s\n", openingsFile.c_str());
            return 1;
        }
        std::string line;
        Position p;
        while (std::getline(in, line)) {
            line.erase(line.find_last_not_of(" \r\t") + 1);
            if (replay(line, p)) {
                openings.push_back(line);
            } else if (!line.empty()) {
                std::fprintf(stderr, "discmatch: skipping opening \"%s\"\n", line.c_str());
            }
        }
    }

    // results[side][outcome]: side 0 A as white, 1 A as black; outcome 0 A won, 1 draw, 2 lost
    int results[2][3] = {};
    std::size_t total = openings.size() * (bothWays ? 2 : 1);
    std::size_t done = 0;
    progress(done, total);
    for (std::size_t i = 0; i < openings.size(); ++i) {
        for (int side = 0; side < (bothWays ? 2 : 1); ++side) {
            std::mt19937 rng(seed * 1000003u + static_cast<unsigned>(done));
            int r =
                side == 0 ? playGame(openings[i], a, b, rng) : -playGame(openings[i], b, a, rng);
            ++results[side][r > 0 ? 0 : r == 0 ? 1 : 2];
            progress(++done, total);
        }
    }

    std::printf("A: %s\nB: %s\n", a.name.c_str(), b.name.c_str());
    std::printf("openings: %zu, games: %zu\n", openings.size(), total);
    std::printf("A as white: %d wins, %d draws, %d losses\n", results[0][0], results[0][1],
                results[0][2]);
    if (bothWays) {
        std::printf("A as black: %d wins, %d draws, %d losses\n", results[1][0], results[1][1],
                    results[1][2]);
    }
    std::printf("B as black: %d wins, %d draws, %d losses\n", results[0][2], results[0][1],
                results[0][0]);
    if (bothWays) {
        std::printf("B as white: %d wins, %d draws, %d losses\n", results[1][2], results[1][1],
                    results[1][0]);
    }
    for (Engine* e : {&a, &b}) {
        const char* tag = e == &a ? "A" : "B";
        if (e->random) {
            std::printf("%s: random player, no timing\n", tag);
            continue;
        }
        double mx = e->millis.empty() ? 0 : *std::max_element(e->millis.begin(), e->millis.end());
        std::printf(
            "%s: %zu moves, time per move median %.3f ms, max %.3f ms, illegal answers %d\n", tag,
            e->millis.size(), median(e->millis), mx, e->illegal);
    }
    return 0;
}
