// Answer through the shared library, as the game calls it: the empty board, one mid-game
// position, and a cycle over 1,000 random legal positions.

#include "engine/engine.h"

#include "engine/tests/random_moves.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

void answerOn(benchmark::State& state, const std::string& moves) {
    const StringRecord record{moves.data(), static_cast<uint32_t>(moves.size()),
                              static_cast<int32_t>(moves.size())};
    for (auto _ : state)
        benchmark::DoNotOptimize(Answer(&record));
}

void emptyBoard(benchmark::State& state) {
    answerOn(state, "");
}

// Twenty moves in, no column full and no immediate win for either side.
void midGame(benchmark::State& state) {
    answerOn(state, "63136751744617763517");
}

void randomPositions(benchmark::State& state) {
    std::mt19937 random(42);
    std::vector<std::string> positions;
    while (positions.size() < 1000)
        positions.push_back(randomMoves::legal(random));
    std::vector<StringRecord> records;
    for (const std::string& moves : positions)
        records.push_back({moves.data(), static_cast<uint32_t>(moves.size()), 0});
    size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(Answer(&records[next]));
        next = next + 1 == records.size() ? 0 : next + 1;
    }
}

} // namespace

// Repetitions give the medians quoted for the engine.
BENCHMARK(emptyBoard)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(midGame)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(randomPositions)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
