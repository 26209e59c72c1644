// The demo played as a person would: under Xvfb, with real pointer events from xdotool, checked
// from screenshots of its window. Each expected frame is painted by the demo's own screen code
// on the headless backend, so a screenshot must match it pixel for pixel (RGB).
#include "toolkit/demo/screen.h"

#include "platform/headless.h"

#include "toolkit/demo/tests/xclose.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using namespace std::chrono_literals;

using Frame = std::vector<std::uint32_t>; // 0xRRGGBB, row by row

std::string output(const std::string& command) {
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
            text.append(buffer, n);
        }
        pclose(pipe);
    }
    return text;
}

void run(const std::string& command) {
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

// A binary PPM of the window, or nothing when it could not be taken.
std::optional<Frame> screenshot(const std::string& window) {
    const std::string ppm = output("import -window " + window + " -depth 8 ppm:- 2>/dev/null");
    int width = 0, height = 0, maxValue = 0, consumed = 0;
    if (std::sscanf(ppm.c_str(), "P6 %d %d %d%n", &width, &height, &maxValue, &consumed) != 3 ||
        width != demo::WIDTH || height != demo::HEIGHT || maxValue != 255) {
        return std::nullopt;
    }
    const std::size_t start = static_cast<std::size_t>(consumed) + 1;
    if (ppm.size() < start + static_cast<std::size_t>(width * height * 3)) {
        return std::nullopt;
    }
    Frame frame(static_cast<std::size_t>(width * height));
    for (std::size_t i = 0; i < frame.size(); ++i) {
        const auto* p = reinterpret_cast<const unsigned char*>(ppm.data() + start + 3 * i);
        frame[i] = static_cast<std::uint32_t>(p[0] << 16 | p[1] << 8 | p[2]);
    }
    return frame;
}

// The demo's start-up on the headless backend, then `steps`; the resulting frame.
Frame expectedFrame(const std::function<void(VESKA::EVENTHANDLE&, demo::Gadgets&)>& steps) {
    VESKA::theme = VESKA::Theme{};
    platform::headless::install();
    EXPECT_TRUE(platform::openWindow(demo::WIDTH, demo::HEIGHT));
    platform::setTextGrid(demo::GRID_COLUMNS, demo::GRID_ROWS);
    VESKA::initTheme(true);
    demo::paintScene();
    Frame frame;
    {
        VESKA::EVENTHANDLE handle;
        demo::Gadgets gadgets = demo::createGadgets(handle);
        demo::createMenus(handle);
        demo::showStatus("Ready.");
        steps(handle, gadgets);
        for (int y = 0; y < demo::HEIGHT; ++y) {
            for (int x = 0; x < demo::WIDTH; ++x) {
                frame.push_back(platform::getPixel(x, y) & 0xFFFFFF);
            }
        }
    }
    platform::closeWindow();
    return frame;
}

std::string firstDifference(const Frame& shot, const Frame& expected) {
    for (std::size_t i = 0; i < shot.size(); ++i) {
        if (shot[i] != expected[i]) {
            char text[96];
            std::snprintf(text, sizeof text, "first difference at (%zu, %zu): %06X, expected %06X",
                          i % demo::WIDTH, i / demo::WIDTH, shot[i], expected[i]);
            return text;
        }
    }
    return "none";
}

class DemoEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr) {
            GTEST_SKIP() << "needs an X display (run under xvfb-run)";
        }
        char* argv[] = {const_cast<char*>(DEMO_PROGRAM), nullptr};
        ASSERT_EQ(posix_spawn(&pid, DEMO_PROGRAM, nullptr, nullptr, argv, environ), 0);
        window = output("timeout 10 xdotool search --sync --onlyvisible --name "
                        "'VESKA toolkit demo' | head -n 1");
        while (!window.empty() && (window.back() == '\n' || window.back() == '\r')) {
            window.pop_back();
        }
        ASSERT_FALSE(window.empty()) << "the demo's window did not appear";
    }

    void TearDown() override {
        if (pid > 0 && !exited) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }

    // Screenshots until the window shows `expected` or 5 seconds have passed.
    void expectScreen(const Frame& expected, const char* what) {
        std::optional<Frame> shot;
        for (auto deadline = std::chrono::steady_clock::now() + 5s;
             std::chrono::steady_clock::now() < deadline; std::this_thread::sleep_for(100ms)) {
            shot = screenshot(window);
            if (shot && *shot == expected) {
                return;
            }
        }
        ASSERT_TRUE(shot) << what << ": no screenshot of the window";
        FAIL() << what << ": " << firstDifference(*shot, expected);
    }

    void moveTo(int x, int y) {
        run("xdotool mousemove --window " + window + " " + std::to_string(x) + " " +
            std::to_string(y));
        std::this_thread::sleep_for(150ms);
    }

    // Press, hold long enough for several polls, release.
    void click(int x, int y) {
        moveTo(x, y);
        run("xdotool mousedown 1");
        std::this_thread::sleep_for(200ms);
        run("xdotool mouseup 1");
        std::this_thread::sleep_for(150ms);
    }

    int exitCode() {
        int status = 0;
        for (int i = 0; i < 50; ++i) {
            if (waitpid(pid, &status, WNOHANG) == pid) {
                exited = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(100ms);
        }
        return -2;
    }

    pid_t pid = 0;
    bool exited = false;
    std::string window;
};

TEST_F(DemoEndToEnd, OpenAMenuChooseAnItemTickABoxAndQuit) {
    using VESKA::EVENTHANDLE;
    expectScreen(expectedFrame([](EVENTHANDLE&, demo::Gadgets&) {}), "start-up");

    // Press on "File", hold, release on it: the menu opens and stays open.
    click(20, 10);
    expectScreen(expectedFrame([](EVENTHANDLE& handle, demo::Gadgets&) {
                     VESKA::MENUHEADER* file = VESKA::getFirstMenu(&handle);
                     file->onOpen(&handle, file);
                     file->onHighlight(file, 1);
                 }),
                 "File menu open");

    // Click "New game": the menu closes and the status line names the choice.
    click(40, demo::BAR_HEIGHT + 2 + demo::ITEM_HEIGHT / 2);
    expectScreen(
        expectedFrame([](EVENTHANDLE&, demo::Gadgets&) { demo::showStatus("Chosen: New game"); }),
        "New game chosen");

    // Tick "Hints".
    click(34, 94);
    expectScreen(expectedFrame([](EVENTHANDLE&, demo::Gadgets& gadgets) {
                     VESKA::setGadgetValue(gadgets.hints, 1);
                     demo::showStatus("Hints on");
                 }),
                 "Hints ticked");

    // File > Quit ends the program with exit code 0.
    click(20, 10);
    click(40, demo::BAR_HEIGHT + 2 + 2 * demo::ITEM_HEIGHT + demo::ITEM_HEIGHT / 2);
    EXPECT_EQ(exitCode(), 0);
}

TEST_F(DemoEndToEnd, ClosingTheWindowEndsWithCodeZero) {
    expectScreen(expectedFrame([](VESKA::EVENTHANDLE&, demo::Gadgets&) {}), "start-up");
    ASSERT_TRUE(requestWindowClose(std::stoul(window)));
    EXPECT_EQ(exitCode(), 0);
}

} // namespace
