// Images: creation limits, copying a window rectangle in (also across the window's edge),
// opaque and blended putting, and the transparent colour.
#include "platform/headless.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

namespace {

using platform::Color;

constexpr Color TRANSPARENT = 0xFFFF00FF;

class ImageTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::headless::install();
        ASSERT_TRUE(platform::openWindow(20, 10));
        // A window whose every pixel tells where it is.
        for (int y = 0; y < 10; ++y) {
            for (int x = 0; x < 20; ++x) {
                platform::setPixel(x, y, position(x, y));
            }
        }
    }
    static Color position(int x, int y) { return 0xFF000000u | Color(x) << 8 | Color(y); }
};

TEST_F(ImageTest, CreationRefusesEmptyAndHugeSizes) {
    EXPECT_EQ(platform::createImage(0, 5), nullptr);
    EXPECT_EQ(platform::createImage(5, -1), nullptr);
    EXPECT_EQ(platform::createImage(1 << 20, 1 << 20), nullptr);
    const auto image = platform::createImage(3, 2);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(platform::imageWidth(*image), 3);
    EXPECT_EQ(platform::imageHeight(*image), 2);
    EXPECT_EQ(platform::getImagePixel(*image, 2, 1), 0u);
}

TEST_F(ImageTest, PixelsOutsideTheImageReadZeroAndIgnoreWrites) {
    auto image = platform::createImage(2, 2);
    platform::setImagePixel(*image, 1, 1, 0xABCDEF);
    platform::setImagePixel(*image, 2, 0, 0x123456);
    platform::setImagePixel(*image, -1, 0, 0x123456);
    EXPECT_EQ(platform::getImagePixel(*image, 1, 1), 0xABCDEFu);
    EXPECT_EQ(platform::getImagePixel(*image, 2, 0), 0u);
    EXPECT_EQ(platform::getImagePixel(*image, 0, -1), 0u);
}

TEST_F(ImageTest, CopyTakesTheRectangleAtItsPosition) {
    auto image = platform::createImage(4, 3);
    platform::copyToImage(*image, 5, 2);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(platform::getImagePixel(*image, x, y), position(5 + x, 2 + y));
        }
    }
}

TEST_F(ImageTest, CopyAcrossTheWindowEdgeGivesZeroOutside) {
    auto image = platform::createImage(4, 4);
    platform::copyToImage(*image, 18, -2);
    EXPECT_EQ(platform::getImagePixel(*image, 0, 0), 0u); // (18, -2)
    EXPECT_EQ(platform::getImagePixel(*image, 1, 2), position(19, 0));
    EXPECT_EQ(platform::getImagePixel(*image, 2, 2), 0u); // (20, 0)
    EXPECT_EQ(platform::getImagePixel(*image, 0, 3), position(18, 1));
}

TEST_F(ImageTest, PutIsAnOpaqueCopyClippedToTheWindow) {
    auto image = platform::createImage(3, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            platform::setImagePixel(*image, x, y, 0x00AA0000u | Color(x * 16 + y));
        }
    }
    platform::putImage(*image, 18, -1);
    EXPECT_EQ(platform::getPixel(18, 0), 0x00AA0001u);
    EXPECT_EQ(platform::getPixel(19, 1), 0x00AA0012u);
    EXPECT_EQ(platform::getPixel(17, 0), position(17, 0));
    EXPECT_EQ(platform::getPixel(18, 2), position(18, 2));
}

TEST_F(ImageTest, CopyThenPutRestoresTheWindow) {
    auto saved = platform::createImage(6, 4);
    platform::copyToImage(*saved, 3, 3);
    platform::fillBox(0, 0, 19, 9, 0x777777);
    platform::putImage(*saved, 3, 3);
    EXPECT_EQ(platform::getPixel(3, 3), position(3, 3));
    EXPECT_EQ(platform::getPixel(8, 6), position(8, 6));
    EXPECT_EQ(platform::getPixel(9, 6), 0x777777u);
}

TEST_F(ImageTest, TransparentPixelsLeaveTheWindowAlone) {
    auto image = platform::createImage(2, 1);
    platform::setImagePixel(*image, 0, 0, TRANSPARENT);
    platform::setImagePixel(*image, 1, 0, 0x00FF00FF); // the same colour without alpha is opaque
    platform::putImage(*image, 4, 4);
    EXPECT_EQ(platform::getPixel(4, 4), position(4, 4));
    EXPECT_EQ(platform::getPixel(5, 4), 0x00FF00FFu);
    platform::blendImage(*image, 4, 5, 128);
    EXPECT_EQ(platform::getPixel(4, 5), position(4, 5));
}

TEST_F(ImageTest, BlendRoundsEachChannel) {
    struct Case {
        Color over, under;
        int opacity;
        Color expected;
    };
    // (over × a + under × (255 − a) + 127) / 255 per channel, alpha included.
    const Case cases[] = {
        {0xFFFFFFFF, 0x00000000, 168, 0xA8A8A8A8},
        {0x00000000, 0xFFFFFFFF, 168, 0x57575757}, // (22185 + 127) / 255 = 87
        {0xFF303030, 0xFF202020, 168, 0xFF2B2B2B}, // (8064 + 2784 + 127) / 255 = 43
        {0x00FF0000, 0x0000FF00, 255, 0x00FF0000},
        {0x00FF0000, 0x0000FF00, 0, 0x0000FF00},
        {0x00FF0000, 0x0000FF00, 300, 0x00FF0000}, // clamped to 255
        {0x00FF0000, 0x0000FF00, -5, 0x0000FF00},  // clamped to 0
        {0x00010203, 0x00FDFEFF, 1, 0x00FCFDFE},
    };
    for (const Case& c : cases) {
        platform::setPixel(0, 0, c.under);
        auto image = platform::createImage(1, 1);
        platform::setImagePixel(*image, 0, 0, c.over);
        platform::blendImage(*image, 0, 0, c.opacity);
        EXPECT_EQ(platform::getPixel(0, 0), c.expected)
            << std::hex << c.over << " over " << c.under << " at " << std::dec << c.opacity;
    }
}

TEST_F(ImageTest, BlendIsClippedToTheWindow) {
    auto image = platform::createImage(2, 2);
    platform::blendImage(*image, -1, -1, 255);
    EXPECT_EQ(platform::getPixel(0, 0), 0u);
    EXPECT_EQ(platform::getPixel(1, 0), position(1, 0));
    EXPECT_EQ(platform::getPixel(0, 1), position(0, 1));
}

} // namespace
