// Drawing primitives on the headless backend, pixel by pixel.
#include "platform/font.h"
#include "platform/headless.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using platform::Color;

constexpr Color PAPER = 0x00102030;
constexpr Color INK = 0xFFA0B0C0;

class DrawTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::headless::install();
        ASSERT_TRUE(platform::openWindow(40, 30));
        platform::setDefaultColors(0xFFFFFF, PAPER);
        platform::clearWindow();
    }

    // Every pixel of the window that is not the paper colour.
    static std::set<std::pair<int, int>> inked() {
        std::set<std::pair<int, int>> points;
        for (int y = 0; y < platform::windowHeight(); ++y) {
            for (int x = 0; x < platform::windowWidth(); ++x) {
                if (platform::getPixel(x, y) != PAPER) {
                    points.insert({x, y});
                }
            }
        }
        return points;
    }
};

TEST_F(DrawTest, PixelsAreStoredExactlyAndClipped) {
    platform::setPixel(0, 0, INK);
    platform::setPixel(39, 29, 0x12345678);
    platform::setPixel(-1, 5, INK);
    platform::setPixel(40, 5, INK);
    platform::setPixel(5, 30, INK);
    EXPECT_EQ(platform::getPixel(0, 0), INK);
    EXPECT_EQ(platform::getPixel(39, 29), 0x12345678u);
    EXPECT_EQ(inked().size(), 2u);
    EXPECT_EQ(platform::getPixel(-1, 5), 0u);
    EXPECT_EQ(platform::getPixel(40, 0), 0u);
}

TEST_F(DrawTest, FrameHasFixedStrideAndPointer) {
    std::uint32_t* before = platform::pixels();
    EXPECT_EQ(platform::strideBytes(), 160);
    before[3 * 40 + 7] = INK;
    EXPECT_EQ(platform::getPixel(7, 3), INK);
    platform::closeWindow();
    ASSERT_TRUE(platform::openWindow(40, 30));
    EXPECT_EQ(platform::pixels(), before);
}

TEST_F(DrawTest, FillBoxIncludesBothCornersInEitherOrder) {
    platform::fillBox(12, 9, 10, 7, INK);
    std::set<std::pair<int, int>> expected;
    for (int y = 7; y <= 9; ++y) {
        for (int x = 10; x <= 12; ++x) {
            expected.insert({x, y});
        }
    }
    EXPECT_EQ(inked(), expected);
}

TEST_F(DrawTest, FillBoxClipsToTheWindow) {
    platform::fillBox(-100, -100, 2, 1, INK);
    platform::fillBox(38, 28, 1000, 1000, INK);
    platform::fillBox(50, 0, 60, 10, INK); // wholly outside
    EXPECT_EQ(inked().size(), 3u * 2u + 2u * 2u);
    EXPECT_EQ(platform::getPixel(2, 1), INK);
    EXPECT_EQ(platform::getPixel(3, 1), PAPER);
    EXPECT_EQ(platform::getPixel(39, 29), INK);
}

TEST_F(DrawTest, DrawBoxIsTheOneRingOfTheFilledBox) {
    platform::drawBox(5, 5, 9, 8, INK);
    std::set<std::pair<int, int>> expected;
    for (int x = 5; x <= 9; ++x) {
        expected.insert({x, 5});
        expected.insert({x, 8});
    }
    for (int y = 6; y <= 7; ++y) {
        expected.insert({5, y});
        expected.insert({9, y});
    }
    EXPECT_EQ(inked(), expected);
}

TEST_F(DrawTest, DegenerateBoxesAreALineOrAPixel) {
    platform::drawBox(3, 3, 3, 3, INK);
    EXPECT_EQ(inked(), (std::set<std::pair<int, int>>{{3, 3}}));
    platform::drawBox(10, 2, 10, 4, INK);
    EXPECT_EQ(inked().size(), 4u);
}

TEST_F(DrawTest, DrawBoxClipsEdgesOutsideTheWindow) {
    platform::drawBox(-5, -5, 2, 2, INK);
    EXPECT_EQ(inked(), (std::set<std::pair<int, int>>{{2, 0}, {2, 1}, {2, 2}, {0, 2}, {1, 2}}));
}

struct LineCase {
    int x1, y1, x2, y2;
    std::vector<std::pair<int, int>> points;
};

TEST_F(DrawTest, LinesFollowBresenhamWithBothEndsDrawn) {
    const std::vector<LineCase> cases = {
        {0, 0, 0, 0, {{0, 0}}},
        {2, 1, 6, 1, {{2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}}},
        {6, 1, 6, 3, {{6, 1}, {6, 2}, {6, 3}}},
        {0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
        {0, 0, 5, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}}},
        {5, 2, 0, 0, {{5, 2}, {4, 2}, {3, 1}, {2, 1}, {1, 0}, {0, 0}}},
        {1, 0, 3, 5, {{1, 0}, {1, 1}, {2, 2}, {2, 3}, {3, 4}, {3, 5}}},
        {3, 0, 0, 3, {{3, 0}, {2, 1}, {1, 2}, {0, 3}}},
    };
    for (const LineCase& c : cases) {
        platform::clearWindow();
        platform::drawLine(c.x1, c.y1, c.x2, c.y2, INK);
        const std::set<std::pair<int, int>> expected(c.points.begin(), c.points.end());
        EXPECT_EQ(inked(), expected) << c.x1 << "," << c.y1 << " to " << c.x2 << "," << c.y2;
    }
}

TEST_F(DrawTest, LinesAreClippedButKeepTheirSlope) {
    // The visible part of a line from outside is the same pixels as the unclipped line.
    platform::drawLine(-4, -2, 6, 3, INK);
    const auto clipped = inked();
    platform::headless::install();
    ASSERT_TRUE(platform::openWindow(60, 40));
    platform::setDefaultColors(0xFFFFFF, PAPER);
    platform::clearWindow();
    platform::drawLine(0, 0, 10, 5, INK);
    std::set<std::pair<int, int>> shifted;
    for (const auto& [x, y] : inked()) {
        if (x - 4 >= 0 && y - 2 >= 0) {
            shifted.insert({x - 4, y - 2});
        }
    }
    EXPECT_EQ(clipped, shifted);
}

TEST_F(DrawTest, FarAwayLinesDoNotOverflow) {
    platform::drawLine(-2000000000, 10, 2000000000, 10, INK);
    platform::drawLine(-2000000000, -2000000000, 2000000000, -1900000000, INK);
    EXPECT_EQ(inked().size(), 40u);
}

TEST_F(DrawTest, TextDrawsOnlyTheGlyphPixels) {
    platform::setTextGrid(5, 1); // a 30-pixel cell selects the 16-pixel font
    ASSERT_EQ(platform::glyphHeight(), 16);
    platform::fillBox(0, 0, 39, 29, PAPER);
    platform::drawText(3, 2, "A\x01", INK);
    std::set<std::pair<int, int>> expected;
    for (int glyph = 0; glyph < 2; ++glyph) {
        const std::uint8_t* rows = platform::font::glyphRows(16, glyph == 0 ? 'A' : 0x01);
        for (int row = 0; row < 16; ++row) {
            for (int column = 0; column < 8; ++column) {
                if ((rows[row] & (0x80 >> column)) != 0) {
                    expected.insert({3 + glyph * 8 + column, 2 + row});
                }
            }
        }
    }
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(inked(), expected);
}

TEST_F(DrawTest, TextIsClippedAtEveryEdge) {
    platform::setTextGrid(5, 1);
    platform::drawText(-4, -3, "\xDB\xDB\xDB\xDB\xDB\xDB", INK); // full blocks
    for (const auto& [x, y] : inked()) {
        EXPECT_GE(x, 0);
        EXPECT_GE(y, 0);
    }
    EXPECT_EQ(platform::getPixel(0, 0), INK);
    EXPECT_EQ(platform::getPixel(39, 12), INK);
}

TEST_F(DrawTest, TextGridPicksTheGlyphHeight) {
    struct Case {
        int height, rows, glyph;
    };
    const std::vector<Case> cases = {{480, 30, 16}, {480, 60, 8}, {350, 25, 14}, {480, 32, 14},
                                     {480, 35, 8},  {480, 61, 0}, {480, 1, 16}};
    for (const Case& c : cases) {
        platform::headless::install();
        ASSERT_TRUE(platform::openWindow(384, c.height));
        platform::setTextGrid(48, c.rows);
        EXPECT_EQ(platform::glyphHeight(), c.glyph) << c.height << " / " << c.rows;
        EXPECT_EQ(platform::textRows(), c.rows);
    }
}

TEST_F(DrawTest, GridWithoutRowsIsIgnored) {
    platform::setTextGrid(48, 30);
    platform::setTextGrid(48, 0);
    platform::setTextGrid(0, 10);
    EXPECT_EQ(platform::textColumns(), 48);
    EXPECT_EQ(platform::textRows(), 30);
}

TEST_F(DrawTest, TextWithNoFontForTheCellDrawsNothing) {
    platform::setTextGrid(5, 10); // 3-pixel cells
    platform::drawText(0, 0, "AAAA", INK);
    EXPECT_TRUE(inked().empty());
}

TEST_F(DrawTest, ClearUsesTheDefaultBackground) {
    platform::setDefaultColors(0x11, 0x00E8E8E8);
    platform::clearWindow();
    EXPECT_EQ(platform::getPixel(0, 0), 0x00E8E8E8u);
    EXPECT_EQ(platform::getPixel(39, 29), 0x00E8E8E8u);
    EXPECT_EQ(platform::defaultForeground(), 0x11u);
    EXPECT_EQ(platform::defaultBackground(), 0x00E8E8E8u);
}

TEST(Window, RefusesBadSizesAndAMissingBackend) {
    platform::installBackend(nullptr);
    EXPECT_FALSE(platform::openWindow(384, 480));
    platform::headless::install();
    EXPECT_FALSE(platform::openWindow(0, 480));
    EXPECT_FALSE(platform::openWindow(384, -1));
    EXPECT_FALSE(platform::openWindow(100000, 480));
    EXPECT_FALSE(platform::windowOpen());
    EXPECT_TRUE(platform::openWindow(384, 480));
    EXPECT_TRUE(platform::windowOpen());
    EXPECT_EQ(platform::windowWidth(), 384);
    EXPECT_EQ(platform::strideBytes(), 1536);
}

} // namespace
