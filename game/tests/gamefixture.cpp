#include "gamefixture.h"

#include "game/gamestate.h"
#include "toolkit/theme.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>

namespace gametest {

bool ScriptedBackend::open(int w, int h) {
    width = w;
    height = h;
    return true;
}

void ScriptedBackend::present(const std::uint32_t* pixels, int w, int h, int strideBytes) {
    ++presents;
    if (!recordFrames) {
        return;
    }
    Frame frame(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* row = pixels + static_cast<std::size_t>(y) * (strideBytes / 4);
        std::copy(row, row + w, frame.begin() + static_cast<std::ptrdiff_t>(y) * w);
    }
    frames.push_back(std::move(frame));
}

platform::MouseState ScriptedBackend::queryMouse(bool& dirty) {
    ++polls;
    if (!steps.empty()) {
        Step step = std::move(steps.front());
        steps.pop_front();
        step(*this);
    } else if (!closeSent) {
        closeSent = true;
        keys.push_back(std::string("\xFF") + static_cast<char>(platform::KEY_CLOSE));
    }
    if (dirty) {
        dirty = false;
        present(platform::pixels(), width, height, platform::strideBytes());
    }
    return mouse;
}

std::string ScriptedBackend::readKey() {
    if (keys.empty()) {
        return {};
    }
    std::string key = keys.front();
    keys.pop_front();
    return key;
}

void ScriptedBackend::sleepMs(int ms) {
    sleeps.push_back(ms);
    clock += static_cast<std::uint64_t>(ms);
}

ScriptedBackend& installScripted() {
    auto backend = std::make_unique<ScriptedBackend>();
    ScriptedBackend& result = *backend;
    platform::installBackend(std::move(backend));
    return result;
}

void openGameWindow() {
    ASSERT_TRUE(platform::openWindow(384, 480));
    platform::setTextGrid(48, 30);
    VESKA::theme = VESKA::Theme{};
    VESKA::theme.customTheme = true;
    VESKA::theme.faceColor = 0x202020;
    VESKA::theme.textColor = 0xE0E0E0;
    VESKA::theme.buttonFaceColor = 0x303030;
    VESKA::theme.buttonTextColor = 0xE0E0E0;
    VESKA::initTheme(true);
}

void addClick(ScriptedBackend& backend, int column) {
    backend.steps.push_back([column](ScriptedBackend& b) {
        b.mouse.x = buttonX(column);
        b.mouse.y = BUTTON_Y;
        b.mouse.buttons = 1;
    });
    backend.steps.push_back([](ScriptedBackend& b) { b.mouse.buttons = 0; });
}

void addMove(ScriptedBackend& backend, int x, int y) {
    backend.steps.push_back([x, y](ScriptedBackend& b) {
        b.mouse.x = x;
        b.mouse.y = y;
    });
}

void addCheck(ScriptedBackend& backend, std::function<void()> check) {
    backend.steps.push_back([check = std::move(check)](ScriptedBackend&) { check(); });
}

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "discgame-XXXXXX").string();
    const char* made = mkdtemp(pattern.data());
    EXPECT_NE(made, nullptr) << "cannot make a temporary folder";
    folder = pattern;
    previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::current_path(previous, ignored);
    std::filesystem::remove_all(folder, ignored);
}

void TempFolder::write(const std::string& name, const std::string& content) const {
    const std::filesystem::path file = folder / name;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
}

void writeGameFiles(const TempFolder& folder, const std::string& white, const std::string& black,
                    const std::string& language) {
    folder.write("options.ini", "[players]\nwhite=" + white + "\nblack=" + black +
                                    "\n[interface]\nlanguage=" + language + "\n");
    const std::string texts = "s1=" + TEXT_TITLE + "\ns4=" + TEXT_DRAW + "\ns5=" +
                              TEXT_BLACK_WINS + "\ns6=" + TEXT_WHITE_WINS + "\ns8=" +
                              TEXT_WHITE_TO_MOVE + "\ns9=" + TEXT_BLACK_TO_MOVE + "\n";
    folder.write("properties/Language_en.properties", texts);
    folder.write("properties/Language_de.properties",
                 "s1=Vier gewinnt\ns4=Unentschieden\ns5=Schwarz gewinnt\ns6=Weiss gewinnt\n"
                 "s8=Weiss zieht\ns9=Schwarz am Zug\n");
}

bool statusShows(const std::string& text) {
    // Redraw the expected text over a saved copy of the top bar and compare: showStatus has
    // its own exact pixel tests, so here it only stands for "this text, drawn the game's way".
    std::vector<platform::Color> saved;
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 384; ++x) {
            saved.push_back(platform::getPixel(x, y));
        }
    }
    showStatus(text);
    bool same = true;
    std::size_t i = 0;
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 384; ++x, ++i) {
            same = same && platform::getPixel(x, y) == saved[i];
            platform::setPixel(x, y, saved[i]);
        }
    }
    return same;
}

} // namespace gametest
