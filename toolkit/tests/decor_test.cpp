#include "toolkit/decor.h"

#include "platform/headless.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <map>
#include <string>
#include <vector>

namespace VESKA {
namespace {

using platform::getPixel;

constexpr Color UNTOUCHED = 0x123456;

constexpr Color grey(int level) {
    const auto v = static_cast<Color>(level);
    return 0xFF000000u | v << 16 | v << 8 | v;
}

// A 384 × 480 window with font height 16, cleared to UNTOUCHED, and the default theme.
class DecorTest : public ::testing::Test {
protected:
    void SetUp() override {
        theme = Theme{};
        platform::headless::install();
        ASSERT_TRUE(platform::openWindow(384, 480));
        platform::setTextGrid(48, 30);
        initTheme(false);
        platform::fillBox(0, 0, 383, 479, UNTOUCHED);
    }
    void TearDown() override { platform::closeWindow(); }

    // Compares the window at (x, y) with a picture: one character per pixel, '.' for a pixel
    // the drawing must not touch, other characters looked up in `colours`. The picture's
    // surrounding one-pixel margin must be untouched too.
    static void expectPicture(int x, int y, const std::vector<std::string>& rows,
                              const std::map<char, Color>& colours) {
        const int h = static_cast<int>(rows.size());
        const int w = static_cast<int>(rows[0].size());
        for (int j = -1; j <= h; ++j) {
            for (int i = -1; i <= w; ++i) {
                const bool inside = j >= 0 && j < h && i >= 0 && i < w;
                const char c = inside ? rows[j][i] : '.';
                const Color expected = c == '.' ? UNTOUCHED : colours.at(c);
                EXPECT_EQ(getPixel(x + i, y + j), expected)
                    << "pixel (" << i << ", " << j << ") should be '" << c << "'";
            }
        }
    }

    static int touchedPixels() {
        int count = 0;
        for (int y = 0; y < 480; ++y) {
            for (int x = 0; x < 384; ++x) {
                count += getPixel(x, y) != UNTOUCHED;
            }
        }
        return count;
    }
};

TEST_F(DecorTest, BevelRaisedAndSunken) {
    const Color white = 0xFFFFFFFF;
    const Color dark = grey(0x68);
    drawBevel(10, 10, 5, 4, 0xE8E8E8, false);
    expectPicture(10, 10, {"LLLLL", "L...D", "L...D", "LDDDD"}, {{'L', white}, {'D', dark}});
    drawBevel(30, 10, 5, 4, 0xE8E8E8, true);
    expectPicture(30, 10, {"LLLLL", "L...D", "L...D", "LDDDD"}, {{'L', dark}, {'D', white}});
}

TEST_F(DecorTest, RaisedFrameHasPlainCornerPixels) {
    drawRaisedFrame(10, 10, 5, 4, 0x808080);
    expectPicture(10, 10, {"LLLLc", "L...D", "L...D", "cDDDD"},
                  {{'L', grey(0xFF)}, {'D', grey(0x00)}, {'c', 0x808080}});
}

TEST_F(DecorTest, GroupFrameWithoutCaptionIsFrameAndFillOnly) {
    theme.faceColor = 0x808080;
    drawGroupFrame(10, 20, 6, 5, "");
    expectPicture(10, 20, {"DDDDD.", "DLLLDL", "DLFFDL", "DDDDDL", ".LLLLL"},
                  {{'D', grey(0x00)}, {'L', grey(0xFF)}, {'F', 0x808080}});
}

TEST_F(DecorTest, GroupFrameCaptionClearsTheFrameLineBehindIt) {
    // The frame line is cleared from (x+8, y-8) to (x+48, y+8), then the caption drawn at
    // (x+8, y-8); compare with the same steps done by hand.
    drawGroupFrame(50, 100, 120, 60, "Sound");
    const Color face = theme.faceColor;
    const Color frameLine = getPixel(50 + 49, 100);
    std::vector<Color> drawn;
    for (int y = 90; y <= 110; ++y) {
        for (int x = 50; x <= 110; ++x) {
            drawn.push_back(getPixel(x, y));
        }
    }
    EXPECT_EQ(frameLine, shadeColor(face, -128));
    EXPECT_EQ(getPixel(57, 100), frameLine);
    EXPECT_EQ(getPixel(50 + 8, 100 - 9), UNTOUCHED);
    EXPECT_EQ(getPixel(50 + 49, 100 - 8), UNTOUCHED);

    platform::fillBox(0, 0, 383, 479, UNTOUCHED);
    platform::drawBox(51, 101, 169, 159, shadeColor(face, 128));
    platform::drawBox(50, 100, 168, 158, shadeColor(face, -128));
    platform::fillBox(52, 102, 167, 157, face);
    platform::fillBox(58, 92, 98, 108, face);
    platform::drawText(58, 92, "Sound", theme.textColor);
    std::size_t k = 0;
    for (int y = 90; y <= 110; ++y) {
        for (int x = 50; x <= 110; ++x) {
            ASSERT_EQ(drawn[k++], getPixel(x, y)) << x << ", " << y;
        }
    }
}

TEST_F(DecorTest, SeparatorIsDarkThenHalfLight) {
    theme.faceColor = 0x808080;
    drawSeparator(10, 10, 0, false);
    drawSeparator(10, 10, -3, true);
    EXPECT_EQ(touchedPixels(), 0);

    drawSeparator(10, 10, 3, false);
    expectPicture(10, 10, {"DDD", "LLL"}, {{'D', grey(0x00)}, {'L', grey(0xC0)}});
    drawSeparator(30, 10, 3, true);
    expectPicture(30, 10, {"DL", "DL", "DL"}, {{'D', grey(0x00)}, {'L', grey(0xC0)}});
}

TEST_F(DecorTest, EtchedLineOfLengthOneIsTwoPixels) {
    theme.faceColor = 0x808080;
    drawEtchedLine(10, 10, 1);
    expectPicture(10, 10, {"D", "L"}, {{'D', grey(0x00)}, {'L', grey(0xFF)}});
    EXPECT_EQ(touchedPixels(), 2);
}

TEST_F(DecorTest, HeaderBandSpansTheFullWidth) {
    drawHeaderBand(10, 10, 3, 10, 0x808080);
    const std::vector<int> offsets{64, 32, 24, 16, 8, 0, -8, -16, -24, -64};
    for (int row = 0; row < 10; ++row) {
        for (int x = 10; x <= 12; ++x) {
            EXPECT_EQ(getPixel(x, 10 + row), shadeColor(0x808080, offsets[row])) << row;
        }
    }
    EXPECT_EQ(getPixel(9, 12), UNTOUCHED);
    EXPECT_EQ(getPixel(13, 12), UNTOUCHED);
}

TEST_F(DecorTest, HeaderBandAndCheckSquareOfHeightTwoHaveNoGradient) {
    drawHeaderBand(10, 10, 4, 2, 0x808080);
    expectPicture(10, 10, {"LLLL", "DDDD"}, {{'L', grey(0xC0)}, {'D', grey(0x40)}});
    // As with the shaded panel, the left edge covers the bottom-left pixel at height 2.
    drawCheckSquare(30, 10, 4, 2, 0x808080, false);
    expectPicture(30, 10, {"LLLc", "LDDD"},
                  {{'L', grey(0xC0)}, {'D', grey(0x40)}, {'c', 0x808080}});
}

TEST_F(DecorTest, CheckSquareGradientAndDownLook) {
    // A 12-pixel square: S/6 from the top, S/3 over the ten rows, floor per row.
    const std::vector<int> offsets{21, 17, 12, 8, 4, 0, -5, -9, -13, -18};
    for (const bool down : {false, true}) {
        platform::fillBox(0, 0, 383, 479, UNTOUCHED);
        drawCheckSquare(10, 10, 12, 12, 0x808080, down);
        const Color base = down ? grey(0x80 - 21) : 0x808080;
        EXPECT_EQ(getPixel(10, 10), shadeColor(base, 64));
        EXPECT_EQ(getPixel(21, 10), base);
        EXPECT_EQ(getPixel(21, 21), shadeColor(base, -64));
        EXPECT_EQ(getPixel(10, 21), base);
        EXPECT_EQ(getPixel(10, 15), shadeColor(base, 64));
        for (int k = 0; k < 10; ++k) {
            EXPECT_EQ(getPixel(11, 11 + k), shadeColor(base, offsets[k])) << k;
            EXPECT_EQ(getPixel(20, 11 + k), shadeColor(base, offsets[k])) << k;
        }
    }
}

TEST_F(DecorTest, CheckMarkStrokes) {
    drawCheckMark(10, 10, 0xABCDEF);
    // The short strokes are exact diagonals; the long ones run between their end points.
    for (const auto& [i, j] : std::initializer_list<std::pair<int, int>>{
             {1, 4}, {2, 5}, {3, 6}, {4, 7}, {0, 4}, {1, 5}, {2, 6}, {3, 7}, {7, 0}, {6, 0}}) {
        EXPECT_EQ(getPixel(10 + i, 10 + j), 0xABCDEFu) << i << ", " << j;
    }
    EXPECT_EQ(getPixel(10, 10), UNTOUCHED);
    EXPECT_EQ(getPixel(17, 17), UNTOUCHED);
    EXPECT_EQ(getPixel(10, 13), UNTOUCHED);
}

TEST_F(DecorTest, RadioRing) {
    theme.faceColor = 0x808080;
    drawRadioRing(20, 20);
    expectPicture(20, 20,
                  {
                      "...111111...",
                      "..1......2..",
                      ".1........4.",
                      "1..........3",
                      "1..........3",
                      "1..........3",
                      "1..........3",
                      "1..........3",
                      "1..........3",
                      ".2........3.",
                      "..4......3..",
                      "...444444...",
                  },
                  {{'1', grey(0x00)},
                   {'2', grey(0x80 - 26)},
                   {'3', grey(0x80 + 43)},
                   {'4', grey(0x80 + 18)}});
}

TEST_F(DecorTest, RadioDotIsLitFromTheTopLeft) {
    drawRadioDot(20, 20, 0x808080);
    expectPicture(20, 20,
                  {
                      "..EEEE..",
                      ".EWWEac.",
                      "EWWEacbG",
                      "EWEacbGG",
                      "EEacbGdG",
                      "EacbGdKG",
                      ".cbGdKG.",
                      "..GGGG..",
                  },
                  {{'W', grey(0xFF)},
                   {'E', grey(0xC0)},
                   {'a', grey(0xA0)},
                   {'c', 0x808080},
                   {'b', grey(0x60)},
                   {'G', grey(0x40)},
                   {'d', grey(0x80 - 85)},
                   {'K', grey(0x00)}});
}

TEST_F(DecorTest, ArrowsPointTheirWay) {
    const std::map<char, Color> ink{{'#', 0x00FF00}};
    drawArrow(10, 10, 2, ARROW_LEFT, 0x00FF00);
    expectPicture(10, 10, {"..#", ".##", "###", ".##", "..#"}, ink);
    drawArrow(20, 10, 2, ARROW_RIGHT, 0x00FF00);
    expectPicture(20, 10, {"#..", "##.", "###", "##.", "#.."}, ink);
    drawArrow(30, 10, 2, ARROW_UP, 0x00FF00);
    expectPicture(30, 10, {"..#..", ".###.", "#####"}, ink);
    drawArrow(40, 10, 2, ARROW_DOWN, 0x00FF00);
    expectPicture(40, 10, {"#####", ".###.", "..#.."}, ink);
}

TEST_F(DecorTest, ArrowOfSizeZeroIsOnePixelAndUnknownDirectionsDrawNothing) {
    for (int direction = 0; direction <= 3; ++direction) {
        platform::fillBox(0, 0, 383, 479, UNTOUCHED);
        drawArrow(10, 10, 0, direction, 0x00FF00);
        EXPECT_EQ(getPixel(10, 10), 0x00FF00u) << direction;
        EXPECT_EQ(touchedPixels(), 1) << direction;
    }
    platform::fillBox(0, 0, 383, 479, UNTOUCHED);
    drawArrow(10, 10, 3, 4, 0x00FF00);
    drawArrow(10, 10, 3, -1, 0x00FF00);
    EXPECT_EQ(touchedPixels(), 0);
}

TEST_F(DecorTest, MagnifierWithMinusAndPlus) {
    const std::map<char, Color> ink{{'#', 0}};
    drawMagnifier(10, 10, false);
    expectPicture(10, 10,
                  {
                      "..#####....",
                      ".#.....#...",
                      "#.......#..",
                      "#.......#..",
                      "#.#####.#..",
                      "#.......#..",
                      "#.......#..",
                      ".#.....##..",
                      "..########.",
                      "........###",
                      ".........##",
                  },
                  ink);
    drawMagnifier(30, 10, true);
    expectPicture(30, 10,
                  {
                      "..#####....",
                      ".#.....#...",
                      "#...#...#..",
                      "#...#...#..",
                      "#.#####.#..",
                      "#...#...#..",
                      "#...#...#..",
                      ".#.....##..",
                      "..########.",
                      "........###",
                      ".........##",
                  },
                  ink);
}

} // namespace
} // namespace VESKA
