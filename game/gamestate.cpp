#include "game/gamestate.h"

#include "toolkit/theme.h"

#include <algorithm>

namespace {

constexpr int WHITE = SIDE_WHITE;
constexpr int BLACK = SIDE_BLACK;
// bestLineValue reaches this exactly when the side has four in a row.
constexpr int FOUR = 4;

} // namespace

void resetGame(GameState& game) {
    resetBoard(game.board);
    game.sideToMove = WHITE;
    game.column = 0;
    game.landingRow = 0;
    game.moveString.clear();
    game.whiteBestLine = 0;
    game.blackBestLine = 0;
    game.gameOver = 0;
}

void playMove(GameState& game, BoardView& view, const StatusTexts& texts) {
    const platform::Color disc = game.sideToMove == WHITE ? view.whiteColor : view.blackColor;
    // The board is changed only once the disc has landed.
    animateDrop(view, game.column, game.landingRow, disc);
    dropDisc(game.board, game.sideToMove, game.column);
    // The turn passes before the evaluation: the to-move texts speak of the side now to move.
    game.sideToMove = -game.sideToMove;
    game.moveString += std::to_string(game.column);
    game.column = 0;
    game.whiteBestLine = bestLineValue(game.board, WHITE);
    game.blackBestLine = bestLineValue(game.board, BLACK);

    const bool full = boardFull(game.board) == BOARD_TRUE;
    const std::string* text = nullptr;
    if (game.whiteBestLine >= FOUR || game.blackBestLine >= FOUR || full) {
        // Each later test overrides the earlier: a four made with the last free cell is a win.
        if (full) {
            text = &texts.draw;
        }
        if (game.blackBestLine >= FOUR) {
            text = &texts.blackWins;
        }
        if (game.whiteBestLine >= FOUR) {
            text = &texts.whiteWins;
        }
        game.gameOver = -1;
    } else {
        text = game.sideToMove == WHITE ? &texts.whiteToMove : &texts.blackToMove;
    }
    showStatus(*text);
}

void newGame(GameState& game, BoardView& view, const StatusTexts& texts) {
    game.sideToMove = WHITE;
    game.moveString.clear();
    game.whiteBestLine = 0;
    game.blackBestLine = 0;
    resetBoard(game.board);
    paintBoard(view);
    game.gameOver = 0;
    showStatus(texts.whiteToMove);
}

int statusTextX(std::size_t length) {
    // A text from a language file may be of any length; beyond this it lies far outside the
    // window anyway, and the clamp keeps the arithmetic inside int.
    const long long clamped = static_cast<long long>(std::min<std::size_t>(length, 1u << 24));
    return static_cast<int>((STATUS_W - GLYPH_WIDTH * clamped) / 2 + STATUS_X);
}

void showStatus(std::string_view text) {
    VESKA::drawShadedPanel(STATUS_X, STATUS_Y, STATUS_W, STATUS_H, STATUS_COLOR, true);
    platform::drawText(statusTextX(text.size()), STATUS_TEXT_Y, text, VESKA::theme.textColor);
}
