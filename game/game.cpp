// Sections: start-up (the fixed order of steps 1 to 18) · the main loop · the end.
#include "game/game.h"

#include "game/boardview.h"
#include "game/engines.h"
#include "game/gamestate.h"
#include "game/settings.h"
#include "l10n/l10n.h"
#include "platform/platform.h"
#include "toolkit/button.h"
#include "toolkit/events.h"
#include "toolkit/object.h"
#include "toolkit/theme.h"

#include <array>
#include <new>
#include <string>

namespace {

constexpr int WINDOW_WIDTH = 384;
constexpr int WINDOW_HEIGHT = 480;
// 384 / 48 by 480 / 30: the grid that makes the font's cell 8 x 16 pixels.
constexpr int TEXT_COLUMNS = 48;
constexpr int TEXT_ROWS = 30;

constexpr int BUTTON_LEFT = 28; // column 1; each further column 48 pixels to the right
constexpr int BUTTON_TOP = 444;
constexpr int BUTTON_WIDTH = 40;
constexpr int BUTTON_HEIGHT = 24;

// Code page 437: 0xE1 is the sharp s.
constexpr std::string_view GERMAN_WHITE_WINS = "Wei\xE1 gewinnt";
constexpr std::string_view GERMAN_WHITE_TO_MOVE = "Wei\xE1 am Zug";

constexpr std::string_view LANGUAGE_ERROR = "Error: Can't load language file for default";

struct Program {
    GameState game;
    BoardView view;
    PlayerKind white = PLAYER_HUMAN;
    PlayerKind black = PLAYER_HUMAN;
    std::string language;
    std::string title;
    TextTable table;
    StatusTexts texts;
    VESKA::EVENTHANDLE* handle = nullptr;
    // In column order, so that a clicked gadget names its column.
    std::array<VESKA::GADGET*, 7> buttons{};
};

void setToolkitStartValues() {
    VESKA::theme.customTheme = false;
    VESKA::theme.shadeDepth = 128;
    VESKA::theme.disabledOpacity = 168;
    VESKA::inputState.closeRequest = 0;
}

void setGameTheme() {
    VESKA::theme.customTheme = true;
    VESKA::theme.faceColor = 0x202020;
    VESKA::theme.textColor = 0xE0E0E0;
    VESKA::theme.buttonFaceColor = 0x303030;
    VESKA::theme.buttonTextColor = VESKA::theme.textColor;
}

void loadTexts(Program& program) {
    if (loadLanguageFile(program.table, program.language, "properties\\", "Language_",
                         ".properties") == 1) {
        platform::writeConsoleLine(LANGUAGE_ERROR);
    }
    program.title = lookupText(program.table, "s1");
    program.texts.draw = lookupText(program.table, "s4");
    program.texts.blackWins = lookupText(program.table, "s5");
    program.texts.whiteWins = lookupText(program.table, "s6");
    program.texts.whiteToMove = lookupText(program.table, "s8");
    program.texts.blackToMove = lookupText(program.table, "s9");
    if (program.language == "de") {
        program.texts.whiteWins = GERMAN_WHITE_WINS;
        program.texts.whiteToMove = GERMAN_WHITE_TO_MOVE;
    }
}

void createButtons(Program& program) {
    // Plain storage and constructor: the handle is not made by createObject, so its tag is 0.
    program.handle = new (std::nothrow) VESKA::EVENTHANDLE();
    if (program.handle == nullptr) {
        return;
    }
    for (int column = 1; column <= 7; ++column) {
        program.buttons[static_cast<std::size_t>(column - 1)] =
            VESKA::createButton(program.handle, BUTTON_LEFT + 48 * (column - 1), BUTTON_TOP,
                                BUTTON_WIDTH, BUTTON_HEIGHT, "");
    }
    if (program.buttons.front() != nullptr && program.buttons.back() != nullptr) {
        VESKA::showGadgets(program.buttons.front(), program.buttons.back());
    }
}

// The column of a column button; 0 for any other gadget.
int columnOf(const Program& program, const VESKA::GADGET* gadget) {
    for (std::size_t i = 0; i < program.buttons.size(); ++i) {
        if (program.buttons[i] == gadget) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

void handleClick(Program& program) {
    GameState& game = program.game;
    const int column = columnOf(program, program.handle->clicked);
    if (column != 0) {
        game.column = column;
    }
    if (game.gameOver != 0) {
        newGame(game, program.view, program.texts);
        return;
    }
    game.landingRow = landingRow(game.board, game.column);
    if (game.column >= 1 && game.landingRow >= 1) {
        playMove(game, program.view, program.texts);
    }
}

void engineTurn(Program& program) {
    GameState& game = program.game;
    const PlayerKind kind = game.sideToMove == SIDE_WHITE ? program.white : program.black;
    if (game.gameOver != 0 || kind == PLAYER_HUMAN) {
        return;
    }
    const std::int32_t answer = kind == PLAYER_ENGINE ? askOwnEngine(game.moveString)
                                                      : askOutsideEngine(game.moveString);
    // An engine's answer is outside input: one that names no column with room would corrupt
    // the move string and the picture, so it is ignored and the same side stays to move.
    if (answer < 1 || answer > 7) {
        return;
    }
    const std::int32_t row = landingRow(game.board, answer);
    if (row < 1) {
        return;
    }
    game.column = answer;
    game.landingRow = row;
    playMove(game, program.view, program.texts);
}

} // namespace

int runGame() {
    Program program;

    // ---- Start-up ----
    setToolkitStartValues();
    setGameTheme();
    // LINE_TABLE is a constant table of the board module, complete before the first call.
    readSettings(program.white, program.black, program.language);
    loadTexts(program);

    if (!platform::openWindow(WINDOW_WIDTH, WINDOW_HEIGHT)) {
        return 1;
    }
    platform::setTextGrid(TEXT_COLUMNS, TEXT_ROWS);
    platform::setTitle(program.title);
    VESKA::initTheme(true);
    initBoardView(program.view, 48, 20, 0, 48, 0x404040, 0x505050, 0xB0B0B0, 0x101010);
    paintBoard(program.view);
    createButtons(program);
    resetGame(program.game);
    showStatus(program.texts.whiteToMove);

    // ---- Main loop: the person's move and the engine's reply in the same turn; the end test
    // last, so that a pending engine move is still made in the turn the close request comes.
    if (program.handle != nullptr) {
        for (;;) {
            VESKA::pollEvents(program.handle, 1, 1);
            if (program.handle->clicked != nullptr) {
                handleClick(program);
            }
            engineTurn(program);
            if (program.handle->quit != 0) {
                break;
            }
        }
    }

    // ---- End ----
    VESKA::deleteEventHandle(program.handle);
    destroyBoardView(program.view);
    platform::closeWindow();
    return 0;
}
