// The bitmap font: 8-pixel-wide glyphs of code page 437 in the heights 8, 14 and 16, one byte
// per row, the leftmost pixel in the high bit. The tables are generated at build time from
// Debian's fonts (platform/fontgen); this header is private to the platform module and its
// tests.
#pragma once

#include <array>
#include <cstdint>

namespace platform::font {

inline constexpr int GLYPH_WIDTH = 8;

extern const std::array<std::uint8_t, 256 * 8> GLYPHS_8X8;
extern const std::array<std::uint8_t, 256 * 14> GLYPHS_8X14;
extern const std::array<std::uint8_t, 256 * 16> GLYPHS_8X16;

// The `height` rows of `code`'s glyph; null for a height the font does not have.
inline const std::uint8_t* glyphRows(int height, unsigned char code) {
    switch (height) {
    case 8:
        return GLYPHS_8X8.data() + code * 8;
    case 14:
        return GLYPHS_8X14.data() + code * 14;
    case 16:
        return GLYPHS_8X16.data() + code * 16;
    default:
        return nullptr;
    }
}

} // namespace platform::font
