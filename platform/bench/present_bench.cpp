// The cost of the frame path: one unlock (present of the whole 384 x 480 frame) and one idle
// input poll, on the SDL2 window when a display is reachable (run under xvfb-run -a) and on the
// headless backend.
#include "platform/headless.h"
#include "platform/platform.h"
#include "platform/sdl.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

bool openSdl(benchmark::State& state) {
    platform::sdl::install();
    if (std::getenv("DISPLAY") == nullptr || !platform::openWindow(384, 480)) {
        state.SkipWithError("no X display: run under xvfb-run -a");
        return false;
    }
    // Let the window be mapped before timing.
    for (int i = 0; i < 50; ++i) {
        platform::queryMouse();
        platform::sleepMs(2);
    }
    return true;
}

void presentLoop(benchmark::State& state) {
    platform::Color color = 0;
    for (auto _ : state) {
        platform::lock();
        platform::setPixel(0, 0, ++color);
        platform::unlock();
    }
}

void idlePollLoop(benchmark::State& state) {
    platform::queryMouse(); // shows the frame; later polls find nothing to do
    for (auto _ : state) {
        benchmark::DoNotOptimize(platform::queryMouse());
        benchmark::DoNotOptimize(platform::readKey());
    }
}

void BM_UnlockSdl(benchmark::State& state) {
    if (openSdl(state)) {
        presentLoop(state);
    }
    platform::closeWindow();
}
BENCHMARK(BM_UnlockSdl)->Unit(benchmark::kMicrosecond);

void BM_IdlePollSdl(benchmark::State& state) {
    if (openSdl(state)) {
        idlePollLoop(state);
    }
    platform::closeWindow();
}
BENCHMARK(BM_IdlePollSdl)->Unit(benchmark::kMicrosecond);

void BM_UnlockHeadless(benchmark::State& state) {
    platform::headless::install();
    platform::openWindow(384, 480);
    presentLoop(state);
    platform::closeWindow();
}
BENCHMARK(BM_UnlockHeadless)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
