// Cost of one frame of the drop animation without its pause: the erase of the previous
// position, the new disc, and the present of the whole 384 x 480 frame on the headless
// backend.
#include "game/boardview.h"

#include "platform/headless.h"

#include <benchmark/benchmark.h>

namespace {

void dropFrame(benchmark::State& state) {
    platform::headless::install();
    platform::openWindow(384, 480);
    platform::setTextGrid(48, 30);
    BoardView view;
    initBoardView(view, 48, 20, 0, 48, 0x404040, 0x505050, 0xB0B0B0, 0x101010);
    paintBoard(view);
    int row = 6;
    for (auto _ : state) {
        drawDropFrame(view, 4, row, 0xB0B0B0);
        row = row == 1 ? 6 : row - 1;
    }
    destroyBoardView(view);
    platform::closeWindow();
}
BENCHMARK(dropFrame);

void paintOneCell(benchmark::State& state) {
    platform::headless::install();
    platform::openWindow(384, 480);
    BoardView view;
    initBoardView(view, 48, 20, 0, 48, 0x404040, 0x505050, 0xB0B0B0, 0x101010);
    for (auto _ : state) {
        paintCell(view, 3, 2, 0x101010);
    }
    destroyBoardView(view);
    platform::closeWindow();
}
BENCHMARK(paintOneCell);

} // namespace

BENCHMARK_MAIN();
