// The board view: paints the board, its holes and its discs straight into the window's
// framebuffer, and plays the animation of a falling disc. Discs are cairo circles on an image
// surface that lies over the framebuffer's own pixels; the square behind each disc and the two
// dark bars are the platform's filled boxes. The view knows nothing of the rules: it paints a
// cell (column, row) in the colour it is given.
//
// Geometry, with the game's values (cell size 48, x offset 0, y offset 48), y downward:
//
//     y   0 ..  48   dark bar, holds the status line
//     y  49 .. 431   board grey with the 42 holes; row 7 (y = 96) is the place above the top row
//     y 432 .. 479   dark bar, holds the column buttons
//
//     centre of cell (column, row):  x = column * cellSize + xOffset
//                                    y = 8 * cellSize + yOffset - row * cellSize
#pragma once

#include "platform/platform.h"

#include <cairo.h>

#include <cstdint>

struct BoardView {
    std::int32_t cellSize = 0;
    std::int32_t radius = 0;
    std::int32_t xOffset = 0;
    std::int32_t yOffset = 0;
    platform::Color boardColor = 0;
    platform::Color holeColor = 0;
    platform::Color whiteColor = 0;
    platform::Color blackColor = 0;
    cairo_surface_t* surface = nullptr;
    cairo_t* context = nullptr;
};

// The row the drop animation starts from: the place just above the top row.
inline constexpr int DROP_START_ROW = 7;
// Pause after every frame of the drop animation.
inline constexpr int DROP_FRAME_MS = 40;

// Stores the values, creates the surface over platform::pixels() and its context, and paints
// the board grey and the two bars. Precondition: the window is open.
void initBoardView(BoardView& view, std::int32_t cellSize, std::int32_t radius,
                   std::int32_t xOffset, std::int32_t yOffset, platform::Color boardColor,
                   platform::Color holeColor, platform::Color whiteColor,
                   platform::Color blackColor);

// Releases the context and the surface; the framebuffer itself is the platform's.
void destroyBoardView(BoardView& view);

int cellCentreX(const BoardView& view, int column);
int cellCentreY(const BoardView& view, int row);

// The square in the board colour, then a disc of `color` (0xRRGGBB) over it.
void paintCell(BoardView& view, int column, int row, platform::Color color);

// All 42 playing cells as empty holes.
void paintBoard(BoardView& view);

// A disc of `color` falls from row 7 into `landingRow`, one frame per row, each frame drawn
// under the framebuffer lock, presented, and followed by a 40 ms pause. The cells passed over
// are restored to the hole colour whatever the board holds there.
void animateDrop(BoardView& view, int column, int landingRow, platform::Color color);

// One frame of the drop animation at position `row`, without its pause; animateDrop is these
// frames from row 7 down, each followed by its pause.
void drawDropFrame(BoardView& view, int column, int row, platform::Color color);
