// The cost of the frame path: one unlock (present of the whole 384 x 480 frame) and one idle
// input poll, on the SDL2 window and on the headless backend. Without DISPLAY the program
// starts a private Xvfb for the SDL2 cases (and reports them as errors if it cannot).
#include "platform/headless.h"
#include "platform/platform.h"
#include "platform/sdl.h"

#include <benchmark/benchmark.h>

#include <csignal>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

bool openSdl(benchmark::State& state) {
    platform::sdl::install();
    if (std::getenv("DISPLAY") == nullptr || !platform::openWindow(384, 480)) {
        state.SkipWithError("no X display (is Xvfb installed?)");
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

// Starts `Xvfb -displayfd` and points DISPLAY at it; the server's pid, or -1.
pid_t startXvfb() {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        return -1;
    }
    const pid_t pid = fork();
    if (pid == 0) {
        close(pipeEnds[0]);
        const std::string fd = std::to_string(pipeEnds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten",
               "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeEnds[1]);
    std::string number;
    char c = 0;
    while (pid > 0 && read(pipeEnds[0], &c, 1) == 1 && c != '\n') {
        number += c;
    }
    close(pipeEnds[0]);
    if (pid <= 0 || number.empty()) {
        return -1;
    }
    setenv("DISPLAY", (":" + number).c_str(), 1);
    return pid;
}

} // namespace

int main(int argc, char** argv) {
    const pid_t server = std::getenv("DISPLAY") == nullptr ? startXvfb() : -1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    platform::installBackend(nullptr);
    if (server > 0) {
        kill(server, SIGTERM);
        waitpid(server, nullptr, 0);
    }
    return 0;
}
