#include "toolkit/checkbox.h"

#include "platform/headless.h"
#include "toolkit/decor.h"
#include "toolkit/events.h"
#include "toolkit/theme.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace VESKA {
namespace {

using platform::getPixel;

constexpr Color GROUND = 0x445566;

// A 384 × 480 window whose grid gives the font height under test, default theme.
class CheckBoxTest : public ::testing::Test {
protected:
    void SetUp() override { openWithRows(30); }
    void TearDown() override { platform::closeWindow(); }

    static void openWithRows(int rows) {
        theme = Theme{};
        inputState = INPUTSTATE{};
        platform::headless::install();
        ASSERT_TRUE(platform::openWindow(384, 480));
        platform::setTextGrid(48, rows);
        initTheme(false);
        platform::fillBox(0, 0, 383, 479, GROUND);
    }

    static std::vector<Color> snapshot() {
        std::vector<Color> pixels;
        for (int y = 0; y < 480; ++y) {
            for (int x = 0; x < 384; ++x) {
                pixels.push_back(getPixel(x, y));
            }
        }
        return pixels;
    }

    static void paintPattern() {
        for (int y = 0; y < 480; ++y) {
            for (int x = 0; x < 384; ++x) {
                platform::setPixel(x, y, 0xFF000000u | static_cast<Color>(x * 613 + y * 7919));
            }
        }
    }

    EVENTHANDLE handle;
};

TEST_F(CheckBoxTest, SizeFollowsTheCaptionAndTheFont) {
    struct Case {
        int rows;
        std::int32_t fontHeight;
        std::int32_t height;
    };
    constexpr std::array CASES{Case{60, 8, 12}, Case{34, 14, 14}, Case{30, 16, 16}, Case{70, 0, 0}};
    for (const Case& c : CASES) {
        openWithRows(c.rows);
        ASSERT_EQ(theme.fontHeight, c.fontHeight);
        EVENTHANDLE local;
        GADGET* box = createCheckBox(&local, 10, 20, 1, "Sound");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->w, 60) << c.rows;
        EXPECT_EQ(box->h, c.height) << c.rows;
        EXPECT_EQ(box->value, 1);
        EXPECT_EQ(box->status, GADGET_HIDDEN);
    }
}

TEST_F(CheckBoxTest, EmptyCaptionIsSixteenWideAtCreationAndTwentyAfterAnUpdate) {
    GADGET* box = createCheckBox(&handle, 10, 20, 0, "");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->w, 16);
    setGadgetText(box, "");
    EXPECT_EQ(box->w, 20);
    ASSERT_TRUE(box->background);
    EXPECT_EQ(platform::imageWidth(*box->background), 20);
}

TEST_F(CheckBoxTest, CreatedHiddenWithItsProceduresAndDrawsNothing) {
    const auto before = snapshot();
    GADGET* box = createCheckBox(&handle, 10, 20, 0, "Sound");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->owner, &handle);
    EXPECT_EQ(box->draw, drawCheckBox);
    EXPECT_EQ(box->handleEvent, checkBoxEvent);
    EXPECT_EQ(box->update, updateCheckBox);
    EXPECT_EQ(box->text, "Sound");
    EXPECT_EQ(listLast(handle.gadgets), box);
    ASSERT_TRUE(box->background);
    EXPECT_EQ(platform::imageHeight(*box->background), 16);
    EXPECT_EQ(snapshot(), before);
}

// The look for every font height: the square, the mark and the caption where the offsets put
// them, compared with the same primitives drawn by hand.
TEST_F(CheckBoxTest, SquareMarkAndCaptionOffsetsForEveryFontHeight) {
    struct Case {
        int rows;
        int boxOffset;
        int textOffset;
    };
    constexpr std::array CASES{Case{60, 0, 2}, Case{34, 1, 0}, Case{30, 2, 0}};
    for (const Case& c : CASES) {
        for (const std::int32_t value : {0, 1}) {
            openWithRows(c.rows);
            EVENTHANDLE local;
            GADGET* box = createCheckBox(&local, 50, 60, value, "Sound");
            showGadget(box);
            const auto drawn = snapshot();

            platform::fillBox(0, 0, 383, 479, GROUND);
            drawCheckSquare(50 + c.boxOffset, 60 + c.boxOffset, 12, 12, theme.buttonFaceColor,
                            value != 0);
            if (value != 0) {
                drawCheckMark(52 + c.boxOffset, 62 + c.boxOffset, theme.buttonTextColor);
            }
            platform::drawText(70, 60 + c.textOffset, "Sound", theme.textColor);
            EXPECT_EQ(snapshot(), drawn) << c.rows << " rows, value " << value;
        }
    }
}

TEST_F(CheckBoxTest, WithFontSixteenTheSquareStartsTwoPixelsIn) {
    GADGET* box = createCheckBox(&handle, 50, 60, 1, "Sound");
    showGadget(box);
    const Color base = shadeColor(theme.buttonFaceColor, -21);
    EXPECT_EQ(getPixel(52, 62), shadeColor(base, 64));
    EXPECT_EQ(getPixel(51, 61), GROUND);
    EXPECT_EQ(getPixel(63, 73), shadeColor(base, -64));
    // The mark's short stroke begins at (x+4, y+8) from its origin (x+4, y+4).
    EXPECT_EQ(getPixel(54, 68), theme.buttonTextColor);
    EXPECT_EQ(getPixel(55, 68), theme.buttonTextColor);
}

TEST_F(CheckBoxTest, ACompleteClickTogglesAndReportsOnce) {
    GADGET* box = createCheckBox(&handle, 50, 60, 0, "Sound");
    showGadget(box);
    auto click = [this] {
        platform::headless::setButtons(1);
        pollEvents(&handle, -1, 0);
        GADGET* clicked = handle.clicked;
        platform::headless::setButtons(0);
        pollEvents(&handle, -1, 0);
        return clicked == nullptr ? handle.clicked : clicked;
    };
    platform::headless::movePointer(55, 65);
    pollEvents(&handle, -1, 0);
    EXPECT_EQ(click(), box);
    EXPECT_EQ(box->value, 1);
    EXPECT_EQ(click(), box);
    EXPECT_EQ(box->value, 0);

    // Pressed on it, dragged off and released outside: no toggle, no click.
    platform::headless::setButtons(1);
    pollEvents(&handle, -1, 0);
    platform::headless::movePointer(200, 200);
    pollEvents(&handle, -1, 0);
    platform::headless::setButtons(0);
    pollEvents(&handle, -1, 0);
    EXPECT_EQ(handle.clicked, nullptr);
    EXPECT_EQ(box->value, 0);
}

TEST_F(CheckBoxTest, OnlyTheReleaseInsideActs) {
    GADGET* box = createCheckBox(&handle, 50, 60, 0, "Sound");
    showGadget(box);
    for (const std::int32_t code : {EVENT_IDLE, EVENT_PRESS, EVENT_HOLD_INSIDE, EVENT_HOLD_OUTSIDE,
                                    EVENT_RELEASE_OUTSIDE, EVENT_KEY, 99}) {
        const int frames = platform::headless::presentCount();
        EXPECT_EQ(checkBoxEvent(box, code), 0) << code;
        EXPECT_EQ(box->value, 0) << code;
        EXPECT_EQ(platform::headless::presentCount(), frames) << code;
    }
    EXPECT_EQ(checkBoxEvent(box, EVENT_CLICK), 1);
    EXPECT_EQ(box->value, 1);
}

TEST_F(CheckBoxTest, PointerCodesSetHoverAndRepaint) {
    GADGET* box = createCheckBox(&handle, 50, 60, 0, "Sound");
    showGadget(box);
    int frames = platform::headless::presentCount();
    EXPECT_EQ(sendEvent(box, 6), 0);
    EXPECT_EQ(box->hover, 1);
    EXPECT_EQ(platform::headless::presentCount(), frames + 1);
    frames = platform::headless::presentCount();
    EXPECT_EQ(sendEvent(box, 7), 0);
    EXPECT_EQ(box->hover, 0);
    EXPECT_EQ(platform::headless::presentCount(), frames + 1);
}

TEST_F(CheckBoxTest, SettingTheValueTicksWithoutAClick) {
    GADGET* box = createCheckBox(&handle, 50, 60, 0, "Sound");
    showGadget(box);
    const auto unticked = snapshot();
    setGadgetValue(box, 1);
    EXPECT_NE(snapshot(), unticked);
    pollEvents(&handle, -1, 0);
    EXPECT_EQ(handle.clicked, nullptr);
}

TEST_F(CheckBoxTest, LongerCaptionRestoresTheOldBackgroundAndCapturesTheWiderArea) {
    paintPattern();
    const auto underneath = snapshot();
    GADGET* box = createCheckBox(&handle, 50, 60, 1, "Ab");
    showGadget(box);
    // Something appears right of the box after its creation; the wider capture takes it in.
    platform::fillBox(86, 60, 200, 75, 0x00FF00);
    setGadgetText(box, "Abcdef");
    EXPECT_EQ(box->w, 68);
    ASSERT_TRUE(box->background);
    ASSERT_EQ(platform::imageWidth(*box->background), 68);
    for (int j = 0; j < 16; ++j) {
        for (int i = 0; i < 68; ++i) {
            const Color expected = 50 + i >= 86 ? 0x00FF00 : underneath[(60 + j) * 384 + 50 + i];
            ASSERT_EQ(platform::getImagePixel(*box->background, i, j), expected) << i << ", " << j;
        }
    }
    hideGadget(box);
    for (int x = 50; x < 86; ++x) {
        ASSERT_EQ(getPixel(x, 65), underneath[65 * 384 + x]) << x;
    }
}

TEST_F(CheckBoxTest, ShorterCaptionLeavesNothingOfTheOldLook) {
    GADGET* box = createCheckBox(&handle, 50, 60, 1, "Abcdef");
    showGadget(box);
    setGadgetText(box, "Ab");
    EXPECT_EQ(box->w, 36);
    for (int y = 60; y < 76; ++y) {
        for (int x = 86; x < 118; ++x) {
            ASSERT_EQ(getPixel(x, y), GROUND) << x << ", " << y;
        }
    }
}

TEST_F(CheckBoxTest, HiddenRestoresAndDisabledBlends) {
    GADGET* box = createCheckBox(&handle, 50, 60, 1, "Sound");
    const auto before = snapshot();
    showGadget(box);
    const Color squareTop = getPixel(52, 62);
    disableGadget(box);
    auto blend = [](Color under, Color over, int shift) {
        const int u = static_cast<int>((under >> shift) & 0xFF);
        const int o = static_cast<int>((over >> shift) & 0xFF);
        return static_cast<Color>((u * 168 + o * 87 + 127) / 255) << shift;
    };
    const Color expected =
        blend(GROUND, squareTop, 16) | blend(GROUND, squareTop, 8) | blend(GROUND, squareTop, 0);
    EXPECT_EQ(getPixel(52, 62) & 0xFFFFFF, expected);
    hideGadget(box);
    EXPECT_EQ(snapshot(), before);
}

} // namespace
} // namespace VESKA
