// Figures of the perfect-play engine:
//   AnswerRealGames   every answer of whole games (against a random player, itself and the
//                     own engine): median and maximum time, answers over 1 s, safety-net cuts
//   SolveEmptyNoBook  the empty position solved exactly from scratch, without the book
//   Set/<name>        the position sets of bench/sets: time and nodes per position, nodes
//                     per second, and that every exact score matches the set file
// The process's peak memory and the size of the engine's tables are reported as counters.
#include "engine/engine.h"
#include "veleng/answer.h"
#include "veleng/book.h"
#include "veleng/solver.h"

#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

using namespace veleng;

namespace {

std::string exeDir() {
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    std::string p(buf, n > 0 ? static_cast<std::size_t>(n) : 0);
    return p.substr(0, p.rfind('/'));
}

AnswerFunction ownEngine() {
    static void* h = dlopen((exeDir() + "/../libengine.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    return h ? reinterpret_cast<AnswerFunction>(dlvsym(h, "Answer", "ENGINE_1")) : nullptr;
}

// CPU time of this thread: on a shared machine the wall clock also counts other people's work.
double cpuMicros() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

std::string callText(const std::string& moves) {
    std::string t(1, 'c');
    t.append(moves);
    t.push_back('0');
    return t;
}

void reportMemory(benchmark::State& state) {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    state.counters["peak_rss_MiB"] = static_cast<double>(u.ru_maxrss) / 1024.0;
    state.counters["tables_MiB"] =
        static_cast<double>(TranspositionTable::BYTES + 8 * builtInBook().size()) / 1048576.0;
}

// opponent: 0 random, 1 veleng itself, 2 the own engine
void playGame(int opponent, int velengSide, std::mt19937& rng, std::vector<double>& ms,
              std::vector<double>& cpuMs, int& cut) {
    Position p;
    std::string moves;
    while (p.moves() < CELLS) {
        bool ours = (p.moves() & 1) == velengSide || opponent == 1;
        int col;
        if (ours) {
            ANSWERINFO info;
            auto t0 = Clock::now();
            double c0 = cpuMicros();
            col = answerText(callText(moves).c_str(), &info);
            cpuMs.push_back((cpuMicros() - c0) / 1e3);
            ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
            cut += info.cutShort ? 1 : 0;
        } else if (opponent == 2) {
            StringRecord r{moves.data(), static_cast<std::uint32_t>(moves.size()), 0};
            col = ownEngine()(&r);
        } else {
            do {
                col = std::uniform_int_distribution<int>(1, WIDTH)(rng);
            } while (!p.canPlay(col - 1));
        }
        if (col < 1 || col > WIDTH || !p.canPlay(col - 1)) {
            return;
        }
        p.play(col - 1);
        moves.push_back(static_cast<char>('0' + col));
        if (p.lastMoverHasFour()) {
            return;
        }
    }
}

void AnswerRealGames(benchmark::State& state) {
    std::vector<double> ms, cpuMs;
    int cut = 0;
    for (auto _ : state) {
        std::mt19937 rng(2024);
        for (int g = 0; g < 20; ++g) {
            playGame(0, g & 1, rng, ms, cpuMs, cut);
        }
        playGame(1, 0, rng, ms, cpuMs, cut);
        if (ownEngine()) {
            playGame(2, 0, rng, ms, cpuMs, cut);
            playGame(2, 1, rng, ms, cpuMs, cut);
        }
    }
    std::sort(ms.begin(), ms.end());
    std::sort(cpuMs.begin(), cpuMs.end());
    state.counters["cpu_median_ms"] = cpuMs.empty() ? 0 : cpuMs[cpuMs.size() / 2];
    state.counters["answers"] = static_cast<double>(ms.size());
    state.counters["median_ms"] = ms.empty() ? 0 : ms[ms.size() / 2];
    state.counters["max_ms"] = ms.empty() ? 0 : ms.back();
    state.counters["over_1s"] =
        static_cast<double>(std::count_if(ms.begin(), ms.end(), [](double t) { return t > 1000; }));
    state.counters["cut_short"] = cut;
    state.counters["own_engine_games"] = ownEngine() ? 2 : 0;
    reportMemory(state);
}

void SolveEmptyNoBook(benchmark::State& state) {
    const char* limit = std::getenv("VELENG_EMPTY_LIMIT_S");
    int seconds = limit ? std::atoi(limit) : 600;
    for (auto _ : state) {
        auto solver = std::make_unique<Solver>();
        auto t0 = Clock::now();
        double c0 = cpuMicros();
        solver->setDeadline(t0 + std::chrono::seconds(seconds));
        int score = solver->solve(Position{});
        double s = std::chrono::duration<double>(Clock::now() - t0).count();
        state.counters["finished"] = solver->aborted() ? 0 : 1;
        state.counters["score"] = score;
        state.counters["seconds"] = s;
        state.counters["nodes"] = static_cast<double>(solver->nodes);
        double cpu = (cpuMicros() - c0) / 1e6;
        state.counters["cpu_seconds"] = cpu;
        state.counters["Mnodes_per_cpu_s"] = static_cast<double>(solver->nodes) / cpu / 1e6;
    }
    reportMemory(state);
}

void SolveSet(benchmark::State& state, const std::string& file) {
    std::ifstream in(std::string(VELENG_SET_DIR) + "/" + file);
    std::vector<std::pair<std::string, int>> set;
    std::string moves;
    int score;
    while (in >> moves >> score) {
        set.emplace_back(moves, score);
    }
    if (set.empty()) {
        state.SkipWithError(("no set file " + file).c_str());
        return;
    }
    auto solver = std::make_unique<Solver>();
    solver->table.clear(); // fault the pages in before timing
    double maxUs = 0, totalUs = 0, cpuUs = 0;
    int wrong = 0;
    for (auto _ : state) {
        solver->nodes = 0;
        for (auto& [m, expected] : set) {
            Position p;
            for (char ch : m) {
                p.play(ch - '1');
            }
            auto t0 = Clock::now();
            double c0 = cpuMicros();
            int got = solver->solve(p);
            cpuUs += cpuMicros() - c0;
            double us = std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
            maxUs = std::max(maxUs, us);
            totalUs += us;
            wrong += got != expected ? 1 : 0;
        }
    }
    double n = static_cast<double>(set.size() * state.iterations());
    state.counters["positions"] = static_cast<double>(set.size());
    state.counters["mean_us"] = totalUs / n;
    state.counters["max_us"] = maxUs;
    state.counters["nodes_per_position"] =
        static_cast<double>(solver->nodes) / static_cast<double>(set.size());
    state.counters["cpu_mean_us"] = cpuUs / n;
    state.counters["Mnodes_per_cpu_s"] =
        static_cast<double>(solver->nodes) / (cpuUs / static_cast<double>(state.iterations()));
    state.counters["wrong_scores"] = wrong;
}

} // namespace

BENCHMARK(AnswerRealGames)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SolveSet, end_R1, std::string("end_r1.txt"))
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SolveSet, middle_R1, std::string("middle_r1.txt"))
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SolveSet, middle_R2, std::string("middle_r2.txt"))
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SolveSet, begin_R1, std::string("begin_r1.txt"))
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SolveSet, begin_R2, std::string("begin_r2.txt"))
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SolveSet, begin_R3, std::string("begin_r3.txt"))
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(SolveEmptyNoBook)->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
