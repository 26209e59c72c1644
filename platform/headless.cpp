// The headless backend: the window is the platform's framebuffer itself, "presenting" copies it
// into the picture the window would show, input comes from the script functions of
// platform/headless.h, and time is a virtual clock.
#include "platform/headless.h"

#include "platform/platform.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace platform::headless {
namespace {

class HeadlessBackend;

// The installed headless backend, or null once another backend replaced it.
HeadlessBackend* current = nullptr;

bool writePpm(const std::string& path, const std::uint32_t* pixels, int width, int height,
              int strideBytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    std::fprintf(file, "P6\n%d %d\n255\n", width, height);
    std::vector<unsigned char> row(static_cast<std::size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const std::uint32_t*>(
            reinterpret_cast<const unsigned char*>(pixels) +
            static_cast<std::size_t>(y) * static_cast<std::size_t>(strideBytes));
        for (int x = 0; x < width; ++x) {
            row[static_cast<std::size_t>(x) * 3] = static_cast<unsigned char>(line[x] >> 16);
            row[static_cast<std::size_t>(x) * 3 + 1] = static_cast<unsigned char>(line[x] >> 8);
            row[static_cast<std::size_t>(x) * 3 + 2] = static_cast<unsigned char>(line[x]);
        }
        std::fwrite(row.data(), 1, row.size(), file);
    }
    const bool written = std::ferror(file) == 0;
    return std::fclose(file) == 0 && written;
}

class HeadlessBackend final : public Backend {
public:
    HeadlessBackend() {
        const char* folder = std::getenv("DISC_SAVE_FRAMES");
        if (folder != nullptr && *folder != '\0') {
            saveFolder = folder;
        }
        current = this;
    }
    ~HeadlessBackend() override {
        if (current == this) {
            current = nullptr;
        }
    }

    bool open(int w, int h) override {
        width = w;
        height = h;
        shown = true;
        screen.clear();
        return true;
    }
    void close() override { shown = false; }
    void setTitle(std::string_view cp437Title) override { windowTitle = cp437Title; }

    void present(const std::uint32_t* pixels, int w, int h, int stride) override {
        ++presents;
        screen.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
        for (int y = 0; y < h; ++y) {
            const auto* line = reinterpret_cast<const std::uint32_t*>(
                reinterpret_cast<const unsigned char*>(pixels) +
                static_cast<std::size_t>(y) * static_cast<std::size_t>(stride));
            std::copy(line, line + w, screen.begin() + static_cast<std::ptrdiff_t>(y) * w);
        }
        if (!saveFolder.empty()) {
            char name[32];
            std::snprintf(name, sizeof name, "/frame-%05d.ppm", presents);
            writePpm(saveFolder + name, pixels, w, h, stride);
        }
    }

    MouseState queryMouse(bool& dirty) override {
        if (dirty && shown && framePixels() != nullptr) {
            present(framePixels(), width, height, width * 4);
            dirty = false;
        }
        return mouse;
    }

    std::string readKey() override {
        if (keys.empty()) {
            return {};
        }
        std::string key = std::move(keys.front());
        keys.pop_front();
        return key;
    }

    void sleepMs(int ms) override {
        ++sleeps;
        const std::uint64_t target = clock + static_cast<std::uint64_t>(ms > 0 ? ms : 0);
        // Actions may schedule further actions, so look the earliest one up afresh each time.
        while (!actions.empty() && actions.begin()->first.first <= target) {
            auto first = actions.begin();
            if (first->first.first > clock) {
                clock = first->first.first;
            }
            std::function<void()> action = std::move(first->second);
            actions.erase(first);
            action();
        }
        clock = target;
    }

    std::uint64_t nowMs() override { return clock; }

    MouseState mouse{};
    std::deque<std::string> keys;
    std::uint64_t clock = 0;
    int presents = 0;
    int sleeps = 0;
    std::string windowTitle;
    bool shown = false;
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> screen;
    std::string saveFolder;
    // Keyed by (due time, scheduling order): equal times run first come, first served.
    std::map<std::pair<std::uint64_t, std::uint64_t>, std::function<void()>> actions;
    std::uint64_t scheduled = 0;
};

HeadlessBackend& active() {
    if (current == nullptr) {
        // Scripting input before install() is a test set-up slip; installing here keeps the
        // call harmless and the next install() starts afresh anyway.
        install();
    }
    return *current;
}

} // namespace

void install() {
    auto fresh = std::make_unique<HeadlessBackend>();
    HeadlessBackend* raw = fresh.get();
    installBackend(std::move(fresh));
    current = raw;
}

void movePointer(int x, int y) {
    active().mouse.x = x;
    active().mouse.y = y;
}

void movePointerOutside() {
    movePointer(-1, -1);
}

void setButtons(int buttons) {
    active().mouse.buttons = buttons & 7;
}

void turnWheel(int steps) {
    active().mouse.wheel += steps;
}

void pushKey(std::string_view text) {
    active().keys.emplace_back(text);
}

void pushExtendedKey(int code) {
    std::string key(1, static_cast<char>(EXTENDED_KEY));
    key += static_cast<char>(code);
    pushKey(key);
}

void requestClose() {
    pushExtendedKey(KEY_CLOSE);
}

void at(std::uint64_t ms, std::function<void()> action) {
    HeadlessBackend& b = active();
    b.actions.emplace(std::make_pair(ms, b.scheduled++), std::move(action));
}

int pendingActions() {
    return static_cast<int>(active().actions.size());
}

std::uint64_t clockMs() {
    return active().clock;
}

int presentCount() {
    return active().presents;
}

int sleepCount() {
    return active().sleeps;
}

std::string title() {
    return active().windowTitle;
}

bool windowShown() {
    return active().shown;
}

std::uint32_t presentedPixel(int x, int y) {
    const HeadlessBackend& b = active();
    if (x < 0 || y < 0 || x >= b.width || y >= b.height || b.screen.empty()) {
        return 0;
    }
    return b.screen[static_cast<std::size_t>(y) * static_cast<std::size_t>(b.width) +
                    static_cast<std::size_t>(x)];
}

bool saveFrame(std::string_view path) {
    const std::uint32_t* pixels = framePixels();
    if (pixels == nullptr) {
        return false;
    }
    return writePpm(std::string(path), pixels, windowWidth(), windowHeight(), strideBytes());
}

} // namespace platform::headless
