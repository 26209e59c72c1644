// Shared test helpers for the game: a scripted backend that runs one step of input per poll
// and can keep every presented frame, the game's window and theme, temporary working folders.
#pragma once

#include "platform/platform.h"

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace gametest {

// The framebuffer of one presented frame.
using Frame = std::vector<std::uint32_t>;

// A backend whose input is a script: every call of queryMouse (one per poll of the event
// handle) first runs the next step, which may move the pointer, change the buttons, queue
// keys or look at the framebuffer. Once the script is used up it asks for the window to be
// closed, so a game loop driven by it always ends. Time is virtual: sleeping only counts.
class ScriptedBackend : public platform::Backend {
public:
    using Step = std::function<void(ScriptedBackend&)>;

    bool open(int width, int height) override;
    void close() override {}
    void setTitle(std::string_view cp437Title) override { title = std::string(cp437Title); }
    void present(const std::uint32_t* pixels, int width, int height, int strideBytes) override;
    platform::MouseState queryMouse(bool& dirty) override;
    std::string readKey() override;
    void sleepMs(int ms) override;
    std::uint64_t nowMs() override { return clock; }

    std::deque<Step> steps;
    platform::MouseState mouse{};
    std::deque<std::string> keys;
    bool recordFrames = false;
    std::vector<Frame> frames; // filled only with recordFrames
    std::vector<int> sleeps;   // every sleep, in order
    std::uint64_t clock = 0;
    int presents = 0;
    int polls = 0;
    bool closeSent = false;
    std::string title;
    int width = 0;
    int height = 0;
};

// Installs a fresh scripted backend and returns it; the platform owns it.
ScriptedBackend& installScripted();

// Opens the game's 384 x 480 window with its 48 x 30 text grid and applies the game's theme
// (dark colours, initTheme with the window cleared), as the start-up does.
void openGameWindow();

// Colour of a pixel without its alpha byte; cairo writes alpha 0xFF, the boxes keep 0.
inline std::uint32_t rgb(int x, int y) { return platform::getPixel(x, y) & 0xFFFFFF; }
inline std::uint32_t rgb(const Frame& frame, int x, int y) {
    return frame[static_cast<std::size_t>(y) * 384 + static_cast<std::size_t>(x)] & 0xFFFFFF;
}

// Centre of column `column`'s button and of the hole (column, row) with the game's geometry.
inline int buttonX(int column) { return 28 + 48 * (column - 1) + 20; }
inline constexpr int BUTTON_Y = 444 + 12;
inline int holeX(int column) { return 48 * column; }
inline int holeY(int row) { return 432 - 48 * row; }

// Script steps for one click on a column button: press over it, then release.
void addClick(ScriptedBackend& backend, int column);
// A step that only moves the pointer (an input change that plays nothing).
void addMove(ScriptedBackend& backend, int x, int y);
void addCheck(ScriptedBackend& backend, std::function<void()> check);

// A temporary working folder that the process works in while the object lives; removed after.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    void write(const std::string& name, const std::string& content) const;
    const std::filesystem::path& path() const { return folder; }

private:
    std::filesystem::path folder;
    std::filesystem::path previous;
};

// Writes options.ini and properties/Language_en.properties (and _de) with test texts.
void writeGameFiles(const TempFolder& folder, const std::string& white, const std::string& black,
                    const std::string& language = "en");

// The English test texts written by writeGameFiles.
inline const std::string TEXT_TITLE = "Four in a row";
inline const std::string TEXT_DRAW = "Draw";
inline const std::string TEXT_BLACK_WINS = "Black wins";
inline const std::string TEXT_WHITE_WINS = "White wins";
inline const std::string TEXT_WHITE_TO_MOVE = "White to move";
inline const std::string TEXT_BLACK_TO_MOVE = "Black to move";

// True when the status panel shows `text` centred in the theme's text colour: every glyph
// pixel of the text (drawn into a scratch copy of the panel) matches the window, and no
// other text colour pixel lies on the panel.
bool statusShows(const std::string& text);

} // namespace gametest
