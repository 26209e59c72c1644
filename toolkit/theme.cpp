#include "toolkit/theme.h"

#include "toolkit/object.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <utility>

namespace VESKA {

Color shadeColor(Color color, std::int32_t delta) {
    auto channel = [delta](Color value, int shift) {
        const std::int64_t shaded = static_cast<std::int64_t>((value >> shift) & 0xFF) + delta;
        return static_cast<Color>(std::clamp<std::int64_t>(shaded, 0, 255)) << shift;
    };
    return 0xFF000000u | channel(color, 16) | channel(color, 8) | channel(color, 0);
}

std::int32_t depthFraction(double fraction) {
    // The default rounding mode rounds to nearest with ties to even.
    return static_cast<std::int32_t>(std::nearbyint(fraction));
}

std::int32_t measureFontHeight() {
    const int rows = platform::textRows();
    if (rows <= 0 || platform::windowHeight() <= 0) {
        return 0;
    }
    const unsigned cell =
        static_cast<unsigned>(platform::windowHeight()) / static_cast<unsigned>(rows);
    if (cell < 8) {
        return 0;
    }
    if (cell <= 13) {
        return 8;
    }
    if (cell <= 15) {
        return 14;
    }
    return 16;
}

void initTheme(bool clearScreen) {
    theme.fontHeight = measureFontHeight();
    if (!theme.customTheme) {
        theme.faceColor = 0xE8E8E8;
        theme.textColor = 0x000000;
        theme.buttonFaceColor = 0xCFDFFF;
        theme.spareColor1 = 0xFFEFAF;
        theme.buttonTextColor = 0x000000;
        theme.spareColor2 = 0x337FFF;
        theme.spareColor3 = theme.faceColor;
        theme.spareColor4 = 0x000000;
        theme.spareColor5 = theme.buttonFaceColor;
        theme.spareColor6 = shadeColor(theme.spareColor3, depthFraction(-theme.shadeDepth / 2.0));
    }
    if (clearScreen) {
        platform::setDefaultColors(theme.textColor, theme.faceColor);
        platform::clearWindow();
    }
}

void fillRect(int x, int y, int w, int h, Color color) {
    if (w <= 0 || h <= 0) {
        return;
    }
    platform::fillBox(x, y, x + w - 1, y + h - 1, color);
}

void drawRect(int x, int y, int w, int h, Color color) {
    if (w <= 0 || h <= 0) {
        return;
    }
    platform::drawBox(x, y, x + w - 1, y + h - 1, color);
}

void drawButtonFrame(int x, int y, int w, int h, bool down) {
    const Color face = theme.faceColor;
    const std::int32_t depth = theme.shadeDepth;
    const Color corner = shadeColor(face, depthFraction(-depth / 2.0));
    const Color dark = shadeColor(face, -depth);
    const Color light = shadeColor(face, depth);
    const int right = x + w - 1;
    const int bottom = y + h - 1;

    platform::setPixel(x, y, corner);
    platform::setPixel(right, y, down ? face : corner);
    platform::setPixel(right, bottom, down ? face : corner);
    platform::setPixel(x, bottom, down ? shadeColor(face, depthFraction(depth / 2.0)) : corner);

    platform::drawLine(x + 1, y, right - 1, y, dark);
    platform::drawLine(right, y + 1, right, bottom - 1, down ? light : dark);
    platform::drawLine(right - 1, bottom, x + 1, bottom, down ? light : dark);
    platform::drawLine(x, bottom - 1, x, y + 1, dark);
}

void drawShadedPanel(int x, int y, int w, int h, Color color, bool down) {
    const std::int32_t depth = theme.shadeDepth;
    const std::int32_t half = depthFraction(depth / 2.0);
    const Color base = down ? shadeColor(color, depthFraction(-depth / 6.0)) : color;
    const Color light = down ? shadeColor(base, -half) : shadeColor(base, half);
    const Color dark = shadeColor(base, -half);
    const Color corner = down ? dark : base;
    const int right = x + w - 1;
    const int bottom = y + h - 1;

    platform::drawLine(x, y, right - 1, y, light);
    platform::setPixel(right, y, corner);
    platform::drawLine(right, y + 1, right, bottom, dark);
    platform::drawLine(right - 1, bottom, x + 1, bottom, dark);
    platform::setPixel(x, bottom, corner);
    platform::drawLine(x, bottom - 1, x, y + 1, light);

    if (h <= 2) {
        return;
    }
    // Single precision and the running subtraction are part of the look: the row offsets
    // (21, 18, 14, 11, ... for a 22-pixel panel) come out of exactly this arithmetic.
    float offset = static_cast<float>(depth) / 6.0f;
    const float step = static_cast<float>(depth) / 2.0f / static_cast<float>(h - 2);
    for (int row = y + 1; row <= bottom - 1; ++row) {
        const Color shade = shadeColor(base, static_cast<std::int32_t>(std::floor(offset)));
        platform::drawLine(x + 1, row, right - 1, row, shade);
        offset -= step;
    }
}

void captureBackground(GADGET* gadget) {
    assert(gadget && "captureBackground needs a gadget: create it before capturing");
    platform::ImagePtr image = platform::createImage(gadget->w, gadget->h);
    if (!image) {
        return;
    }
    platform::copyToImage(*image, gadget->x, gadget->y);
    if (gadget->mask) {
        for (int i = 0; i < gadget->h; ++i) {
            for (int j = 0; j < gadget->w; ++j) {
                if (platform::getImagePixel(*gadget->mask, j, i) == TRANSPARENT) {
                    platform::setImagePixel(*image, j, i, TRANSPARENT);
                }
            }
        }
    }
    gadget->background = std::move(image);
}

} // namespace VESKA
