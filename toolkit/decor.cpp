#include "toolkit/decor.h"

#include <cmath>
#include <cstdint>
#include <iterator>
#include <utility>

namespace VESKA {
namespace {

using platform::drawLine;
using platform::setPixel;

std::int32_t depth() {
    return theme.shadeDepth;
}

// The raised-frame skeleton shared by drawBevel, drawRaisedFrame and drawCheckSquare: top and
// left in `light`, right and bottom in `dark`, the top-right and bottom-left single pixels in
// `corner`, drawn in the order top, top-right, right, bottom, bottom-left, left.
void bevelEdges(int x, int y, int w, int h, Color light, Color dark, Color corner) {
    const int right = x + w - 1;
    const int bottom = y + h - 1;
    drawLine(x, y, right - 1, y, light);
    setPixel(right, y, corner);
    drawLine(right, y + 1, right, bottom, dark);
    drawLine(right - 1, bottom, x + 1, bottom, dark);
    setPixel(x, bottom, corner);
    drawLine(x, bottom - 1, x, y + 1, light);
}

// Rows y+1 .. y+h-2 from `left` to `right`, shaded from `start` downwards by `span` in all.
// Single precision with a running subtraction, floor per row: the look depends on it.
void gradientRows(int left, int right, int y, int h, Color base, double start, double span) {
    if (h <= 2) {
        return;
    }
    float offset = static_cast<float>(start);
    const float step = static_cast<float>(span) / static_cast<float>(h - 2);
    for (int row = y + 1; row <= y + h - 2; ++row) {
        drawLine(left, row, right, row,
                 shadeColor(base, static_cast<std::int32_t>(std::floor(offset))));
        offset -= step;
    }
}

int floorHalf(int value) {
    return value >= 0 ? value / 2 : -((1 - value) / 2);
}

} // namespace

void drawBevel(int x, int y, int w, int h, Color c, bool sunken) {
    Color light = shadeColor(c, depth());
    Color dark = shadeColor(c, -depth());
    if (sunken) {
        std::swap(light, dark);
    }
    bevelEdges(x, y, w, h, light, dark, light);
}

void drawRaisedFrame(int x, int y, int w, int h, Color c) {
    bevelEdges(x, y, w, h, shadeColor(c, depth()), shadeColor(c, -depth()), c);
}

void drawGroupFrame(int x, int y, int w, int h, std::string_view caption) {
    const Color face = theme.faceColor;
    platform::drawBox(x + 1, y + 1, x + w - 1, y + h - 1, shadeColor(face, depth()));
    platform::drawBox(x, y, x + w - 2, y + h - 2, shadeColor(face, -depth()));
    platform::fillBox(x + 2, y + 2, x + w - 3, y + h - 3, face);
    if (caption.empty()) {
        return;
    }
    const int n = static_cast<int>(caption.size());
    const int top = y - floorHalf(theme.fontHeight);
    platform::fillBox(x + 8, top, x + 8 * n + 8, top + theme.fontHeight, face);
    platform::drawText(x + 8, top, caption, theme.textColor);
}

void drawSeparator(int x, int y, int length, bool vertical) {
    if (length <= 0) {
        return;
    }
    const Color dark = shadeColor(theme.faceColor, -depth());
    const Color light = shadeColor(theme.faceColor, depthFraction(depth() / 2.0));
    if (vertical) {
        drawLine(x, y, x, y + length - 1, dark);
        drawLine(x + 1, y, x + 1, y + length - 1, light);
    } else {
        drawLine(x, y, x + length - 1, y, dark);
        drawLine(x, y + 1, x + length - 1, y + 1, light);
    }
}

void drawEtchedLine(int x, int y, int length) {
    drawLine(x, y, x + length - 1, y, shadeColor(theme.faceColor, -depth()));
    drawLine(x, y + 1, x + length - 1, y + 1, shadeColor(theme.faceColor, depth()));
}

void drawHeaderBand(int x, int y, int w, int h, Color c) {
    const std::int32_t half = depthFraction(depth() / 2.0);
    drawLine(x, y, x + w - 1, y, shadeColor(c, half));
    gradientRows(x, x + w - 1, y, h, c, depth() / 4.0, depth() / 2.0);
    drawLine(x, y + h - 1, x + w - 1, y + h - 1, shadeColor(c, -half));
}

void drawCheckSquare(int x, int y, int w, int h, Color c, bool down) {
    const std::int32_t half = depthFraction(depth() / 2.0);
    const Color base = down ? shadeColor(c, depthFraction(-depth() / 6.0)) : c;
    bevelEdges(x, y, w, h, shadeColor(base, half), shadeColor(base, -half), base);
    gradientRows(x + 1, x + w - 2, y, h, base, depth() / 6.0, depth() / 3.0);
}

void drawCheckMark(int x, int y, Color c) {
    drawLine(x + 1, y + 4, x + 4, y + 7, c);
    drawLine(x, y + 4, x + 3, y + 7, c);
    drawLine(x + 4, y + 7, x + 7, y, c);
    drawLine(x + 3, y + 7, x + 6, y, c);
}

void drawRadioRing(int x, int y) {
    const Color face = theme.faceColor;
    const Color k1 = shadeColor(face, -depth());
    const Color k2 = shadeColor(face, depthFraction(-depth() / 5.0));
    const Color k3 = shadeColor(face, depthFraction(depth() / 3.0));
    const Color k4 = shadeColor(face, depthFraction(depth() / 7.0));
    drawLine(x + 3, y, x + 8, y, k1);
    setPixel(x + 9, y + 1, k2);
    setPixel(x + 10, y + 2, k4);
    drawLine(x + 11, y + 3, x + 11, y + 8, k3);
    drawLine(x + 10, y + 9, x + 9, y + 10, k3);
    drawLine(x + 8, y + 11, x + 3, y + 11, k4);
    setPixel(x + 2, y + 10, k4);
    setPixel(x + 1, y + 9, k2);
    drawLine(x, y + 8, x, y + 3, k1);
    drawLine(x + 1, y + 2, x + 2, y + 1, k1);
}

void drawRadioDot(int x, int y, Color c) {
    const std::int32_t s = depth();
    const Color lit = shadeColor(c, depthFraction(s / 2.0));
    const Color shaded = shadeColor(c, depthFraction(-s / 2.0));
    drawLine(x + 2, y, x + 5, y, lit);
    setPixel(x + 6, y + 1, c);
    drawLine(x + 7, y + 2, x + 7, y + 5, shaded);
    setPixel(x + 6, y + 6, shaded);
    drawLine(x + 5, y + 7, x + 2, y + 7, shaded);
    setPixel(x + 1, y + 6, c);
    drawLine(x, y + 5, x, y + 2, lit);
    setPixel(x + 1, y + 1, lit);

    // Diagonals from lower left to upper right, brightest at the top left.
    struct Diagonal {
        int x1, y1, x2, y2;
        double fraction; // of the shade depth
    };
    constexpr Diagonal DIAGONALS[] = {
        {1, 2, 2, 1, 2.0},  {1, 3, 3, 1, 1.0},        {1, 4, 4, 1, 0.5},
        {1, 5, 5, 1, 0.25}, {2, 5, 5, 2, 0.0},        {2, 6, 6, 2, -0.25},
        {3, 6, 6, 3, -0.5}, {4, 6, 6, 4, -1.0 / 1.5}, {5, 6, 6, 5, -1.0},
    };
    static_assert(std::size(DIAGONALS) == 9, "the ball's inside is nine diagonals");
    for (const Diagonal& d : DIAGONALS) {
        const Color shade = d.fraction == 0.0 ? c : shadeColor(c, depthFraction(s * d.fraction));
        drawLine(x + d.x1, y + d.y1, x + d.x2, y + d.y2, shade);
    }
}

void drawArrow(int x, int y, int n, int direction, Color c) {
    for (int i = 0; i <= n; ++i) {
        switch (direction) {
        case ARROW_LEFT:
            drawLine(x + n - i, y + i, x + n - i, y + 2 * n - i, c);
            break;
        case ARROW_RIGHT:
            drawLine(x + i, y + i, x + i, y + 2 * n - i, c);
            break;
        case ARROW_UP:
            drawLine(x + i, y + n - i, x + 2 * n - i, y + n - i, c);
            break;
        case ARROW_DOWN:
            drawLine(x + i, y + i, x + 2 * n - i, y + i, c);
            break;
        default:
            return;
        }
    }
}

void drawMagnifier(int x, int y, bool plus) {
    constexpr Color BLACK = 0;
    drawLine(x + 2, y, x + 6, y, BLACK);
    setPixel(x + 7, y + 1, BLACK);
    drawLine(x + 8, y + 2, x + 8, y + 6, BLACK);
    drawLine(x + 6, y + 8, x + 2, y + 8, BLACK);
    setPixel(x + 1, y + 7, BLACK);
    drawLine(x, y + 6, x, y + 2, BLACK);
    setPixel(x + 1, y + 1, BLACK);

    drawLine(x + 8, y + 7, x + 10, y + 9, BLACK);
    drawLine(x + 7, y + 7, x + 10, y + 10, BLACK);
    drawLine(x + 7, y + 8, x + 9, y + 10, BLACK);

    drawLine(x + 2, y + 4, x + 6, y + 4, BLACK);
    if (plus) {
        drawLine(x + 4, y + 2, x + 4, y + 6, BLACK);
    }
}

} // namespace VESKA
