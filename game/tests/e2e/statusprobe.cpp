// Draws the game's top bar with a status text on the headless backend and saves the frame as
// a PPM, so that the end-to-end tests can compare the real window's status line pixel for
// pixel. Usage: statusprobe <output.ppm> <text as hex bytes>
#include "game/boardview.h"
#include "game/gamestate.h"
#include "platform/headless.h"
#include "toolkit/theme.h"

#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        return 2;
    }
    std::string text;
    const std::string hex = argv[2];
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        text += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    }
    platform::headless::install();
    platform::openWindow(384, 480);
    platform::setTextGrid(48, 30);
    VESKA::theme.customTheme = true;
    VESKA::theme.faceColor = 0x202020;
    VESKA::theme.textColor = 0xE0E0E0;
    VESKA::theme.buttonFaceColor = 0x303030;
    VESKA::theme.buttonTextColor = 0xE0E0E0;
    VESKA::initTheme(true);
    BoardView view;
    initBoardView(view, 48, 20, 0, 48, 0x404040, 0x505050, 0xB0B0B0, 0x101010);
    showStatus(text);
    const bool saved = platform::headless::saveFrame(argv[1]);
    destroyBoardView(view);
    platform::closeWindow();
    return saved ? 0 : 1;
}
