// Decoration primitives: small drawings for widget looks beyond the push button. Each draws at
// once into the framebuffer in shades of a base colour (or of the theme's faceColor), derived
// with shadeColor and the theme's shadeDepth; gradients follow the same single-precision,
// floor-per-row arithmetic as drawShadedPanel. Lines include both end points.
#pragma once

#include "toolkit/theme.h"

#include <string_view>

namespace VESKA {

// Directions of drawArrow: where the point of the triangle is.
inline constexpr int ARROW_LEFT = 0;
inline constexpr int ARROW_RIGHT = 1;
inline constexpr int ARROW_UP = 2;
inline constexpr int ARROW_DOWN = 3;

// One-pixel frame: light top and left, dark right and bottom; the other way when sunken.
void drawBevel(int x, int y, int w, int h, Color c, bool sunken);
// As a raised bevel, but the top-right and bottom-left pixels in `c` itself.
void drawRaisedFrame(int x, int y, int w, int h, Color c);
// Etched two-pixel frame filled with faceColor; a non-empty caption sits on the top edge,
// vertically centred on it, over a faceColor band that interrupts the frame line.
void drawGroupFrame(int x, int y, int w, int h, std::string_view caption);
// Two-pixel etched line, dark then half-light; nothing when length <= 0.
void drawSeparator(int x, int y, int length, bool vertical);
// Two-pixel horizontal etched line, dark then fully light.
void drawEtchedLine(int x, int y, int length);
// Full-width band: light top row, gradient rows, dark bottom row; no side edges.
void drawHeaderBand(int x, int y, int w, int h, Color c);
// Raised square with a gradient; `down` darkens the base but keeps the edges raised.
void drawCheckSquare(int x, int y, int w, int h, Color c, bool down);
// 8 × 8 check mark, two pixels thick, top-left at (x, y).
void drawCheckMark(int x, int y, Color c);
// 12 × 12 shaded ring in shades of faceColor; the inside is left as it is.
void drawRadioRing(int x, int y);
// 8 × 8 ball lit from the top left.
void drawRadioDot(int x, int y, Color c);
// Solid triangle of n + 1 lines; any direction other than the four above draws nothing.
void drawArrow(int x, int y, int n, int direction, Color c);
// 11 × 11 black magnifier with a minus sign, or a plus sign when `plus`.
void drawMagnifier(int x, int y, bool plus);

} // namespace VESKA
