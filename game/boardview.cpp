#include "game/boardview.h"

#include <algorithm>
#include <cassert>

namespace {

// The full circle as the game has always drawn it: this value, not a more precise 2 pi.
constexpr double FULL_CIRCLE = 6.283185308;

// The background grey is fixed, whatever board colour the view is given.
constexpr double BACKGROUND_CHANNEL = 64.0 / 255.0;
constexpr platform::Color BAR_COLOR = 0x101010;
// The bottom bar starts here whatever the cell size.
constexpr int BOTTOM_BAR_TOP = 432;

} // namespace

void initBoardView(BoardView& view, std::int32_t cellSize, std::int32_t radius,
                   std::int32_t xOffset, std::int32_t yOffset, platform::Color boardColor,
                   platform::Color holeColor, platform::Color whiteColor,
                   platform::Color blackColor) {
    assert(platform::windowOpen() && "initBoardView: open the window before creating the view");
    assert(view.context == nullptr && "initBoardView: the view exists already; create it once");
    view.cellSize = cellSize;
    view.radius = radius;
    view.xOffset = xOffset;
    view.yOffset = yOffset;
    view.boardColor = boardColor;
    view.holeColor = holeColor;
    view.whiteColor = whiteColor;
    view.blackColor = blackColor;

    // The surface is 8 x 10 cells over the framebuffer, but never larger than the framebuffer
    // itself: cairo must not write past the pixels the platform owns. The platform's stride is
    // the one that is fixed for the whole run.
    const int width = std::min(8 * cellSize, platform::windowWidth());
    const int height = std::min(10 * cellSize, platform::windowHeight());
    view.surface = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(platform::pixels()), CAIRO_FORMAT_ARGB32, width, height,
        platform::strideBytes());
    view.context = cairo_create(view.surface);

    cairo_set_source_rgb(view.context, BACKGROUND_CHANNEL, BACKGROUND_CHANNEL,
                         BACKGROUND_CHANNEL);
    cairo_paint(view.context);
    cairo_surface_flush(view.surface);
    platform::invalidate();

    platform::fillBox(0, 0, 8 * cellSize, cellSize, BAR_COLOR);
    platform::fillBox(0, BOTTOM_BAR_TOP, 8 * cellSize, 10 * cellSize, BAR_COLOR);
}

void destroyBoardView(BoardView& view) {
    if (view.context != nullptr) {
        cairo_destroy(view.context);
        view.context = nullptr;
    }
    if (view.surface != nullptr) {
        cairo_surface_destroy(view.surface);
        view.surface = nullptr;
    }
}

int cellCentreX(const BoardView& view, int column) {
    return column * view.cellSize + view.xOffset;
}

int cellCentreY(const BoardView& view, int row) {
    return 8 * view.cellSize + view.yOffset - row * view.cellSize;
}

void paintCell(BoardView& view, int column, int row, platform::Color color) {
    assert(view.context != nullptr && "paintCell: call initBoardView first");
    const int x = cellCentreX(view, column);
    const int y = cellCentreY(view, row);
    platform::fillBox(x - view.radius, y - view.radius, x + view.radius, y + view.radius,
                      view.boardColor);

    // cairo keeps no copy of the framebuffer: the fill above went straight into the same
    // pixels, so the surface only has to be told that they changed behind its back.
    cairo_surface_mark_dirty_rectangle(view.surface, x - view.radius, y - view.radius,
                                       2 * view.radius + 1, 2 * view.radius + 1);
    cairo_set_source_rgb(view.context, (color & 0xFF0000) / 16711680.0,
                         (color & 0xFF00) / 65280.0, (color & 0xFF) / 255.0);
    cairo_arc(view.context, x, y, view.radius, 0.0, FULL_CIRCLE);
    cairo_fill(view.context);
    cairo_surface_flush(view.surface);
    platform::invalidate();
}

void paintBoard(BoardView& view) {
    for (int column = 1; column <= 7; ++column) {
        for (int row = 1; row <= 6; ++row) {
            paintCell(view, column, row, view.holeColor);
        }
    }
}

void drawDropFrame(BoardView& view, int column, int row, platform::Color color) {
    platform::lock();
    if (row == DROP_START_ROW - 1) {
        paintCell(view, column, DROP_START_ROW, view.boardColor);
    } else if (row < DROP_START_ROW - 1) {
        paintCell(view, column, row + 1, view.holeColor);
    }
    paintCell(view, column, row, color);
    platform::unlock();
}

void animateDrop(BoardView& view, int column, int landingRow, platform::Color color) {
    assert(landingRow >= 0 && landingRow <= DROP_START_ROW &&
           "animateDrop: pass a landing row from landingRow(), 0 to 6");
    for (int row = DROP_START_ROW; row >= landingRow; --row) {
        drawDropFrame(view, column, row, color);
        platform::sleepMs(DROP_FRAME_MS);
    }
}
