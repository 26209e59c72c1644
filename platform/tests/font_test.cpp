// The generated font: known glyphs, row by row as the VGA console fonts draw them, and every
// code page 437 picture present at every height.
#include "platform/font.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::uint8_t> rowsOf(int height, unsigned char code) {
    const std::uint8_t* rows = platform::font::glyphRows(height, code);
    return {rows, rows + height};
}

using Rows = std::vector<std::uint8_t>;

TEST(Font, KnownGlyphsAt16Pixels) {
    EXPECT_EQ(rowsOf(16, 'A'), (Rows{0x00, 0x00, 0x10, 0x38, 0x6C, 0xC6, 0xC6, 0xFE, 0xC6, 0xC6,
                                     0xC6, 0xC6, 0x00, 0x00, 0x00, 0x00}));
    EXPECT_EQ(rowsOf(16, 0x01), (Rows{0x00, 0x00, 0x7E, 0x81, 0xA5, 0x81, 0x81, 0xA5, 0x99, 0x81,
                                      0x81, 0x7E, 0x00, 0x00, 0x00, 0x00})); // smiley
    EXPECT_EQ(rowsOf(16, 0xE1), (Rows{0x00, 0x00, 0x3C, 0x66, 0x66, 0x66, 0x6C, 0x66, 0x66, 0x66,
                                      0x66, 0xEC, 0x00, 0x00, 0x00, 0x00})); // sharp s
    EXPECT_EQ(rowsOf(16, 0xC9), (Rows{0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x3F, 0x30, 0x37, 0x36,
                                      0x36, 0x36, 0x36, 0x36, 0x36, 0x36})); // double down-right
    EXPECT_EQ(rowsOf(16, 0xDB), Rows(16, 0xFF));                             // full block
}

TEST(Font, KnownGlyphsAt8And14Pixels) {
    EXPECT_EQ(rowsOf(8, 'A'), (Rows{0x38, 0x6C, 0xC6, 0xFE, 0xC6, 0xC6, 0xC6, 0x00}));
    EXPECT_EQ(rowsOf(8, 0x01), (Rows{0x7E, 0x81, 0xA5, 0x81, 0xBD, 0x99, 0x81, 0x7E}));
    EXPECT_EQ(rowsOf(8, 0xC9), (Rows{0x00, 0x00, 0x3F, 0x30, 0x37, 0x36, 0x36, 0x36}));
    EXPECT_EQ(rowsOf(14, 'A'), (Rows{0x00, 0x00, 0x00, 0x10, 0x38, 0x6C, 0xC6, 0xC6, 0xFE, 0xC6,
                                     0xC6, 0xC6, 0x00, 0x00}));
    EXPECT_EQ(rowsOf(14, 0xE1), (Rows{0x00, 0x00, 0x78, 0xCC, 0xCC, 0xCC, 0xD8, 0xCC, 0xC6, 0xC6,
                                      0xC6, 0xCC, 0x00, 0x00}));
}

TEST(Font, EveryPictureIsPresentAtEveryHeight) {
    for (const int height : {8, 14, 16}) {
        for (int code = 0; code < 256; ++code) {
            const Rows rows = rowsOf(height, static_cast<unsigned char>(code));
            bool blank = true;
            for (const std::uint8_t row : rows) {
                blank = blank && row == 0;
            }
            // Blank by nature: NUL, space and the no-break space.
            const bool blankByNature = code == 0x00 || code == 0x20 || code == 0xFF;
            EXPECT_EQ(blank, blankByNature) << "height " << height << " code " << code;
        }
    }
}

TEST(Font, DistinctCodesHaveDistinctPictures) {
    // A mapping slip (two codes sent to one glyph) shows as a duplicate; the only pictures that
    // code page 437 itself repeats are the blanks.
    for (const int height : {8, 14, 16}) {
        for (int a = 1; a < 256; ++a) {
            for (int b = a + 1; b < 255; ++b) {
                if (a == 0x20) {
                    continue;
                }
                EXPECT_NE(rowsOf(height, static_cast<unsigned char>(a)),
                          rowsOf(height, static_cast<unsigned char>(b)))
                    << "height " << height << ": " << a << " and " << b;
            }
        }
    }
}

TEST(Font, OtherHeightsHaveNoGlyphs) {
    EXPECT_EQ(platform::font::glyphRows(12, 'A'), nullptr);
    EXPECT_EQ(platform::font::glyphRows(0, 'A'), nullptr);
}

} // namespace
