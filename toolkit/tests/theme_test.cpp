#include "toolkit/theme.h"

#include "platform/headless.h"
#include "toolkit/object.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

namespace VESKA {
namespace {

using platform::getPixel;

constexpr Color BLACK = 0xFF000000;

constexpr Color grey(int level) {
    const auto v = static_cast<Color>(level);
    return 0xFF000000u | v << 16 | v << 8 | v;
}

// A fresh 384 × 480 window with a 30-row grid (font height 16) and the theme's start values.
class ThemeTest : public ::testing::Test {
protected:
    void SetUp() override {
        theme = Theme{};
        platform::headless::install();
        ASSERT_TRUE(platform::openWindow(384, 480));
        platform::setTextGrid(48, 30);
        // The window starts in the platform's default background, which an earlier
        // initTheme(true) may have changed.
        platform::fillBox(0, 0, 383, 479, 0);
    }
    void TearDown() override { platform::closeWindow(); }

    // The game's dark theme.
    static void useGameTheme() {
        theme.customTheme = true;
        theme.faceColor = 0x202020;
        theme.textColor = 0xE0E0E0;
        theme.buttonFaceColor = 0x303030;
        theme.buttonTextColor = 0xE0E0E0;
        initTheme(false);
    }

    static void paintPattern() {
        for (int y = 0; y < platform::windowHeight(); ++y) {
            for (int x = 0; x < platform::windowWidth(); ++x) {
                platform::setPixel(x, y, 0xFF000000u | static_cast<Color>(x * 613 + y * 7919));
            }
        }
    }
};

TEST(ShadeColor, AddsToEveryChannelAndClamps) {
    struct Case {
        Color color;
        std::int32_t delta;
        Color expected;
    };
    constexpr std::array CASES{
        Case{0x202020, -128, 0xFF000000},    Case{0x202020, 128, 0xFFA0A0A0},
        Case{0xE8E8E8, 64, 0xFFFFFFFF},      Case{0x12345678, 0, 0xFF345678},
        Case{0x00FF80, 100, 0xFF64FFE4},     Case{0xFF10F020, -32, 0xFF00D000},
        Case{0x808080, 1000000, 0xFFFFFFFF}, Case{0x808080, -1000000, 0xFF000000},
    };
    for (const Case& c : CASES) {
        EXPECT_EQ(shadeColor(c.color, c.delta), c.expected)
            << std::hex << c.color << " by " << std::dec << c.delta;
    }
}

TEST(DepthFraction, RoundsToNearestWithTiesToEven) {
    EXPECT_EQ(depthFraction(128 / 2.0), 64);
    EXPECT_EQ(depthFraction(-128 / 2.0), -64);
    EXPECT_EQ(depthFraction(-128 / 6.0), -21);
    EXPECT_EQ(depthFraction(128 / 1.5), 85);
    EXPECT_EQ(depthFraction(5 / 2.0), 2);
    EXPECT_EQ(depthFraction(7 / 2.0), 4);
    EXPECT_EQ(depthFraction(-5 / 2.0), -2);
}

TEST(MeasureFontHeight, MapsTheGridCellToAFont) {
    struct Case {
        int height;
        int rows;
        std::int32_t expected;
    };
    constexpr std::array CASES{
        Case{480, 60, 8}, Case{480, 30, 16}, Case{350, 25, 14}, Case{480, 70, 0},  Case{480, 40, 8},
        Case{480, 36, 8}, Case{480, 34, 14}, Case{480, 32, 14}, Case{480, 20, 16}, Case{7, 1, 0},
    };
    for (const Case& c : CASES) {
        platform::headless::install();
        ASSERT_TRUE(platform::openWindow(64, c.height));
        platform::setTextGrid(8, c.rows);
        EXPECT_EQ(measureFontHeight(), c.expected) << c.height << " pixels, " << c.rows << " rows";
        platform::closeWindow();
    }
}

TEST_F(ThemeTest, StartValues) {
    EXPECT_EQ(theme.shadeDepth, 128);
    EXPECT_EQ(theme.fontHeight, 0);
    EXPECT_FALSE(theme.customTheme);
    EXPECT_EQ(theme.disabledOpacity, 168);
    EXPECT_EQ(theme.faceColor, 0u);
    EXPECT_EQ(theme.spareColor6, 0u);
}

TEST_F(ThemeTest, InitThemeAppliesTheDefaultColours) {
    initTheme(false);
    EXPECT_EQ(theme.fontHeight, 16);
    EXPECT_EQ(theme.textColor, 0x000000u);
    EXPECT_EQ(theme.faceColor, 0xE8E8E8u);
    EXPECT_EQ(theme.buttonTextColor, 0x000000u);
    EXPECT_EQ(theme.buttonFaceColor, 0xCFDFFFu);
    EXPECT_EQ(theme.spareColor1, 0xFFEFAFu);
    EXPECT_EQ(theme.spareColor2, 0x337FFFu);
    EXPECT_EQ(theme.spareColor3, 0xE8E8E8u);
    EXPECT_EQ(theme.spareColor4, 0x000000u);
    EXPECT_EQ(theme.spareColor5, 0xCFDFFFu);
    EXPECT_EQ(theme.spareColor6, 0xFFA8A8A8u);
    EXPECT_EQ(theme.shadeDepth, 128);
    EXPECT_EQ(theme.disabledOpacity, 168);
}

TEST_F(ThemeTest, CustomThemeKeepsEverySlotAsSet) {
    theme.customTheme = true;
    theme.faceColor = 0x202020;
    theme.textColor = 0xE0E0E0;
    initTheme(false);
    EXPECT_EQ(theme.fontHeight, 16);
    EXPECT_EQ(theme.faceColor, 0x202020u);
    EXPECT_EQ(theme.textColor, 0xE0E0E0u);
    EXPECT_EQ(theme.buttonFaceColor, 0u);
    EXPECT_EQ(theme.spareColor1, 0u);
    EXPECT_EQ(theme.spareColor6, 0u);
}

TEST_F(ThemeTest, InitThemeWithoutClearingChangesNoPixel) {
    paintPattern();
    const Color before = getPixel(100, 200);
    initTheme(false);
    EXPECT_EQ(getPixel(100, 200), before);
    EXPECT_EQ(getPixel(0, 0), 0xFF000000u);
}

TEST_F(ThemeTest, InitThemeWithClearingFillsTheWindowWithTheFace) {
    paintPattern();
    initTheme(true);
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 384; ++x) {
            ASSERT_EQ(getPixel(x, y) & 0xFFFFFF, 0xE8E8E8u) << x << ", " << y;
        }
    }
}

TEST_F(ThemeTest, FillRectAndDrawRectCoverTheRectangleInclusive) {
    fillRect(10, 20, 3, 2, 0x112233);
    EXPECT_EQ(getPixel(10, 20), 0x112233u);
    EXPECT_EQ(getPixel(12, 21), 0x112233u);
    EXPECT_EQ(getPixel(13, 21), 0u);
    EXPECT_EQ(getPixel(12, 22), 0u);

    drawRect(50, 50, 4, 4, 0x445566);
    EXPECT_EQ(getPixel(50, 50), 0x445566u);
    EXPECT_EQ(getPixel(53, 53), 0x445566u);
    EXPECT_EQ(getPixel(51, 51), 0u);
    EXPECT_EQ(getPixel(54, 54), 0u);

    fillRect(100, 100, 0, 5, 0x778899);
    fillRect(100, 100, 5, -1, 0x778899);
    drawRect(100, 100, 0, 0, 0x778899);
    EXPECT_EQ(getPixel(100, 100), 0u);
    EXPECT_EQ(getPixel(99, 99), 0u);
}

// Expected colour of every pixel of the outer ring of a w × h frame at (x, y).
struct FrameColours {
    Color topLeft, topRight, bottomRight, bottomLeft, top, right, bottom, left;
};

void expectFrame(int x, int y, int w, int h, const FrameColours& c) {
    EXPECT_EQ(getPixel(x, y), c.topLeft);
    EXPECT_EQ(getPixel(x + w - 1, y), c.topRight);
    EXPECT_EQ(getPixel(x + w - 1, y + h - 1), c.bottomRight);
    EXPECT_EQ(getPixel(x, y + h - 1), c.bottomLeft);
    for (int i = x + 1; i <= x + w - 2; ++i) {
        EXPECT_EQ(getPixel(i, y), c.top) << "top " << i;
        EXPECT_EQ(getPixel(i, y + h - 1), c.bottom) << "bottom " << i;
    }
    for (int j = y + 1; j <= y + h - 2; ++j) {
        EXPECT_EQ(getPixel(x, j), c.left) << "left " << j;
        EXPECT_EQ(getPixel(x + w - 1, j), c.right) << "right " << j;
    }
}

TEST_F(ThemeTest, UpFrameInTheGameThemeIsBlackAllRound) {
    useGameTheme();
    fillRect(28, 444, 40, 24, 0x123456);
    drawButtonFrame(28, 444, 40, 24, false);
    expectFrame(28, 444, 40, 24, {BLACK, BLACK, BLACK, BLACK, BLACK, BLACK, BLACK, BLACK});
    // Only the ring is touched.
    EXPECT_EQ(getPixel(29, 445), 0x123456u);
    EXPECT_EQ(getPixel(66, 466), 0x123456u);
}

TEST_F(ThemeTest, PressedFrameInTheGameThemeIsSunken) {
    useGameTheme();
    fillRect(28, 444, 40, 24, 0x123456);
    drawButtonFrame(28, 444, 40, 24, true);
    expectFrame(28, 444, 40, 24,
                {BLACK, 0x202020, 0x202020, grey(0x60), BLACK, grey(0xA0), grey(0xA0), BLACK});
    EXPECT_EQ(getPixel(29, 445), 0x123456u);
    EXPECT_EQ(getPixel(66, 466), 0x123456u);
}

TEST_F(ThemeTest, UpFrameInTheDefaultThemeHasSofterCorners) {
    initTheme(false);
    drawButtonFrame(5, 5, 10, 6, false);
    const Color edge = grey(0xE8 - 128);
    const Color corner = grey(0xE8 - 64);
    expectFrame(5, 5, 10, 6, {corner, corner, corner, corner, edge, edge, edge, edge});
}

// Rows of a panel's interior: each row from x+1 to x+w-2 in shadeColor(base, offset).
void expectGradient(int x, int y, int w, Color base, const std::vector<int>& offsets) {
    for (std::size_t k = 0; k < offsets.size(); ++k) {
        const int row = y + 1 + static_cast<int>(k);
        const Color expected = shadeColor(base, offsets[k]);
        for (int i = x + 1; i <= x + w - 2; ++i) {
            ASSERT_EQ(getPixel(i, row), expected) << "row " << k << " column " << i;
        }
    }
}

TEST_F(ThemeTest, ButtonPanelRaisedGradient) {
    useGameTheme();
    drawShadedPanel(29, 445, 38, 22, 0x303030, false);
    // Top and left light, right and bottom dark, the two single corners the base itself.
    expectFrame(29, 445, 38, 22,
                {grey(0x70), 0x303030, BLACK, 0x303030, grey(0x70), BLACK, BLACK, grey(0x70)});
    expectGradient(29, 445, 38, 0x303030, {21,  18,  14,  11,  8,   5,   2,   -2,  -5,  -8,
                                           -11, -14, -18, -21, -24, -27, -30, -34, -37, -40});
    EXPECT_EQ(getPixel(30, 446), grey(0x45));
    EXPECT_EQ(getPixel(30, 465), grey(0x08));
}

TEST_F(ThemeTest, StatusPanelPressedGradient) {
    useGameTheme();
    drawShadedPanel(24, 12, 336, 24, 0x404040, true);
    expectFrame(24, 12, 336, 24, {BLACK, BLACK, BLACK, BLACK, BLACK, BLACK, BLACK, BLACK});
    expectGradient(24, 12, 336, grey(0x2B),
                   {21,  18,  15,  12,  9,   6,   3,   0,   -2,  -5,  -8,
                    -11, -14, -17, -20, -23, -26, -29, -32, -34, -37, -40});
}

TEST_F(ThemeTest, PanelOfHeightTwoDrawsEdgesOnly) {
    useGameTheme();
    fillRect(0, 0, 40, 10, 0x123456);
    drawShadedPanel(10, 4, 8, 2, 0x303030, false);
    for (int i = 10; i <= 16; ++i) {
        EXPECT_EQ(getPixel(i, 4), grey(0x70)) << i;
    }
    EXPECT_EQ(getPixel(17, 4), 0x303030u);
    EXPECT_EQ(getPixel(17, 5), BLACK);
    EXPECT_EQ(getPixel(11, 5), BLACK);
    // The left edge runs from the bottom row up to the row below the top, so at height 2 it
    // paints over the bottom-left corner pixel.
    EXPECT_EQ(getPixel(10, 5), grey(0x70));
    // Nothing above, below or beside.
    EXPECT_EQ(getPixel(10, 3), 0x123456u);
    EXPECT_EQ(getPixel(10, 6), 0x123456u);
    EXPECT_EQ(getPixel(18, 4), 0x123456u);
}

TEST_F(ThemeTest, CaptureBackgroundCopiesTheAreaAndAppliesTheMask) {
    paintPattern();
    GADGET gadget;
    gadget.x = 20;
    gadget.y = 30;
    gadget.w = 5;
    gadget.h = 4;
    gadget.mask = platform::createImage(5, 4);
    ASSERT_TRUE(gadget.mask);
    platform::setImagePixel(*gadget.mask, 1, 2, TRANSPARENT);
    captureBackground(&gadget);
    ASSERT_TRUE(gadget.background);
    EXPECT_EQ(platform::imageWidth(*gadget.background), 5);
    EXPECT_EQ(platform::imageHeight(*gadget.background), 4);
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 5; ++j) {
            const Color expected = (j == 1 && i == 2) ? TRANSPARENT : getPixel(20 + j, 30 + i);
            EXPECT_EQ(platform::getImagePixel(*gadget.background, j, i), expected)
                << j << ", " << i;
        }
    }
}

TEST_F(ThemeTest, CaptureBackgroundReplacesTheOldImageAndKeepsItOnFailure) {
    paintPattern();
    GADGET gadget;
    gadget.x = 0;
    gadget.y = 0;
    gadget.w = 3;
    gadget.h = 3;
    captureBackground(&gadget);
    ASSERT_TRUE(gadget.background);

    gadget.w = 6;
    captureBackground(&gadget);
    ASSERT_TRUE(gadget.background);
    EXPECT_EQ(platform::imageWidth(*gadget.background), 6);

    // No image of width 0 can be made: the gadget keeps what it had.
    const platform::Image* kept = gadget.background.get();
    gadget.w = 0;
    captureBackground(&gadget);
    EXPECT_EQ(gadget.background.get(), kept);
}

TEST_F(ThemeTest, CaptureBackgroundOutsideTheWindowReadsZero) {
    paintPattern();
    GADGET gadget;
    gadget.x = 382;
    gadget.y = 0;
    gadget.w = 4;
    gadget.h = 1;
    captureBackground(&gadget);
    ASSERT_TRUE(gadget.background);
    EXPECT_EQ(platform::getImagePixel(*gadget.background, 1, 0), getPixel(383, 0));
    EXPECT_EQ(platform::getImagePixel(*gadget.background, 2, 0), 0u);
}

} // namespace
} // namespace VESKA
