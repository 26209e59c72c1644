// The toolkit's look: one toolkit-wide theme, the shading rule every highlight and shadow is
// derived by, the font height, and the drawing operations the gadgets are made of.
//
// Sections: theme record · shading and fractions · font and start-up · drawing · background.
//
// Every operation draws at once into the window's framebuffer through the platform layer and
// takes no lock of its own: a gadget's draw procedure locks around a whole repaint.
#pragma once

#include "platform/platform.h"

#include <cstdint>

namespace VESKA {

struct GADGET;

using Color = platform::Color;

// Marks a pixel of an image or mask that does not belong to the picture.
inline constexpr Color TRANSPARENT = 0xFFFF00FF;

// ---------------------------------------------------------------------------------------------
// Theme record. Colour slots hold 0xRRGGBB; the values below hold from program start, and an
// application that wants its own colours sets `customTheme` and fills the slots before
// initTheme. `fontHeight` is valid only after initTheme.

struct Theme {
    std::int32_t shadeDepth = 128;
    std::int32_t fontHeight = 0;
    bool customTheme = false;
    std::int32_t disabledOpacity = 168; // 0..255, weight of the saved background
    Color textColor = 0;
    Color faceColor = 0;
    Color buttonTextColor = 0;
    Color buttonFaceColor = 0;
    Color spareColor1 = 0;
    Color spareColor2 = 0;
    Color spareColor3 = 0;
    Color spareColor4 = 0;
    Color spareColor5 = 0;
    Color spareColor6 = 0;
};

// The one theme of the toolkit; lives for the whole run.
inline Theme theme;

// ---------------------------------------------------------------------------------------------
// Shading. shadeColor adds `delta` to each of R, G and B, clamps each to 0..255 and returns
// the result with alpha 0xFF; the alpha byte of `color` is ignored.

Color shadeColor(Color color, std::int32_t delta);

// A fraction of the shade depth as a whole number: nearest integer, ties to the even
// neighbour (128 / 2 = 64, -128 / 6 = -21). Pass the fraction already divided in floating
// point, e.g. depthFraction(-theme.shadeDepth / 6.0).
std::int32_t depthFraction(double fraction);

// ---------------------------------------------------------------------------------------------
// Font and start-up.

// Cell height of the window's text grid mapped to a font height: 0 (cell below 8), 8, 14 or 16.
std::int32_t measureFontHeight();

// Computes fontHeight, applies the default colours unless customTheme, and with clearScreen
// makes textColor and faceColor the window's default colours and clears the window. Call
// once, after the window is open and its text grid is set.
void initTheme(bool clearScreen);

// ---------------------------------------------------------------------------------------------
// Drawing. A rectangle x, y, w, h covers the columns x .. x+w-1 and the rows y .. y+h-1.

void fillRect(int x, int y, int w, int h, Color color);
void drawRect(int x, int y, int w, int h, Color color);

// The outer one-pixel ring of a push button in shades of faceColor; `down` is the pressed look.
void drawButtonFrame(int x, int y, int w, int h, bool down);

// A bevelled panel with a vertical gradient based on `color`: raised when up, darker and
// outlined dark when `down`.
void drawShadedPanel(int x, int y, int w, int h, Color color, bool down);

// ---------------------------------------------------------------------------------------------
// Background. Saves the window area under the gadget's rectangle as its `background` image,
// with the gadget's mask applied (TRANSPARENT where the mask is TRANSPARENT). When no image
// can be created the gadget keeps the background it had. Pixels outside the window are 0.

void captureBackground(GADGET* gadget);

} // namespace VESKA
