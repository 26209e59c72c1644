// The one game the program runs at a time: the position, whose turn it is, the moves played so
// far and whether the game is over; applying a move, starting a new game and drawing the
// status line. The main loop decides which column is played and calls these.
#pragma once

#include "board/board.h"
#include "game/boardview.h"

#include <cstdint>
#include <string>
#include <string_view>

// The status texts, read from the language table once at start-up.
struct StatusTexts {
    std::string draw;        // the board is full
    std::string blackWins;   // black has four in a row
    std::string whiteWins;   // white has four in a row
    std::string whiteToMove;
    std::string blackToMove;
};

struct GameState {
    Board board{};
    std::int32_t sideToMove = 1; // 1 white, -1 black
    // The pending move: written by the main loop just before playMove, which clears `column`.
    std::int32_t column = 0;
    std::int32_t landingRow = 0; // 0 when the column is full
    std::string moveString;      // one digit '1' to '7' per move, white's first
    std::int32_t whiteBestLine = 0;
    std::int32_t blackBestLine = 0;
    std::int32_t gameOver = 0; // -1 once a side has four in a row or the board is full
};

// Where the status line lies: a pressed panel across the top bar, text 4 pixels below its top.
inline constexpr int STATUS_X = 24;
inline constexpr int STATUS_Y = 12;
inline constexpr int STATUS_W = 336;
inline constexpr int STATUS_H = 24;
inline constexpr platform::Color STATUS_COLOR = 0x404040;
inline constexpr int STATUS_TEXT_Y = 16;
inline constexpr int GLYPH_WIDTH = 8;

// Sets the record to a new game with white to move without painting anything; the column and
// the landing row are cleared too.
void resetGame(GameState& game);

// Plays the pending move of the side to move: animation, board, turn, move string, win and
// draw evaluation, status line. Precondition: `column` is 1 to 7 and `landingRow` is its
// landingRow() of 1 or more; playMove checks neither.
void playMove(GameState& game, BoardView& view, const StatusTexts& texts);

// Clears the board, repaints the holes and starts a new game with white to move. Leaves the
// column and the landing row as they are.
void newGame(GameState& game, BoardView& view, const StatusTexts& texts);

// Left edge of a status text of `length` bytes centred over the panel; goes below the panel's
// left edge for texts longer than 42 bytes.
int statusTextX(std::size_t length);

// Draws the status panel and `text` centred over it in the theme's text colour.
void showStatus(std::string_view text);
