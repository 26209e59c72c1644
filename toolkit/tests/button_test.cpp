#include "toolkit/button.h"

#include "platform/headless.h"
#include "toolkit/events.h"
#include "toolkit/theme.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace VESKA {
namespace {

using platform::getPixel;

constexpr Color BLACK = 0xFF000000;

constexpr Color grey(int level) {
    const auto v = static_cast<Color>(level);
    return 0xFF000000u | v << 16 | v << 8 | v;
}

// The game's window and theme: 384 × 480, font height 16, dark colours.
class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        theme = Theme{};
        inputState = INPUTSTATE{};
        platform::headless::install();
        ASSERT_TRUE(platform::openWindow(384, 480));
        platform::setTextGrid(48, 30);
        theme.customTheme = true;
        theme.faceColor = 0x202020;
        theme.textColor = 0xE0E0E0;
        theme.buttonFaceColor = 0x303030;
        theme.buttonTextColor = 0xE0E0E0;
        initTheme(true);
    }
    void TearDown() override { platform::closeWindow(); }

    static void paintPattern() {
        for (int y = 0; y < 480; ++y) {
            for (int x = 0; x < 384; ++x) {
                platform::setPixel(x, y, 0xFF000000u | static_cast<Color>(x * 613 + y * 7919));
            }
        }
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

    EVENTHANDLE handle;
};

void expectUpLook(int x, int y, int w, int h) {
    // Black frame, corners included.
    for (int i = x; i < x + w; ++i) {
        EXPECT_EQ(getPixel(i, y), BLACK) << i;
        EXPECT_EQ(getPixel(i, y + h - 1), BLACK) << i;
    }
    for (int j = y; j < y + h; ++j) {
        EXPECT_EQ(getPixel(x, j), BLACK) << j;
        EXPECT_EQ(getPixel(x + w - 1, j), BLACK) << j;
    }
    // Raised panel: light top and left, dark right and bottom, the base at two corners.
    EXPECT_EQ(getPixel(x + 1, y + 1), grey(0x70));
    EXPECT_EQ(getPixel(x + w - 3, y + 1), grey(0x70));
    EXPECT_EQ(getPixel(x + w - 2, y + 1), 0x303030u);
    EXPECT_EQ(getPixel(x + 1, y + h - 2), 0x303030u);
    EXPECT_EQ(getPixel(x + w - 2, y + 2), BLACK);
    EXPECT_EQ(getPixel(x + 2, y + h - 2), BLACK);
    EXPECT_EQ(getPixel(x + 1, y + 2), grey(0x70));
    EXPECT_EQ(getPixel(x + 2, y + 2), grey(0x45));
    EXPECT_EQ(getPixel(x + w - 3, y + h - 3), grey(0x08));
}

TEST_F(ButtonTest, CreatedHiddenAndDrawsNothing) {
    const auto before = snapshot();
    GADGET* button = createButton(&handle, 28, 444, 40, 24, "");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->status, GADGET_HIDDEN);
    EXPECT_EQ(button->value, 0);
    EXPECT_EQ(button->owner, &handle);
    EXPECT_EQ(button->draw, drawButton);
    EXPECT_EQ(button->update, drawButton);
    EXPECT_EQ(button->handleEvent, buttonEvent);
    ASSERT_TRUE(button->background);
    EXPECT_EQ(platform::imageWidth(*button->background), 40);
    EXPECT_EQ(platform::imageHeight(*button->background), 24);
    EXPECT_EQ(listLast(handle.gadgets), button);
    EXPECT_EQ(snapshot(), before);
}

TEST_F(ButtonTest, SevenGameButtonsShowTheirUpLook) {
    std::array<GADGET*, 7> buttons{};
    for (int k = 0; k < 7; ++k) {
        buttons[k] = createButton(&handle, 28 + 48 * k, 444, 40, 24, "");
        ASSERT_NE(buttons[k], nullptr);
    }
    showGadgets(buttons[0], buttons[6]);
    for (int k = 0; k < 7; ++k) {
        SCOPED_TRACE(k);
        expectUpLook(28 + 48 * k, 444, 40, 24);
    }
    // The faceColor gap between two buttons stays as the window was.
    EXPECT_EQ(getPixel(70, 450), 0x202020u);
}

TEST_F(ButtonTest, PressedLook) {
    GADGET* button = createButton(&handle, 28, 444, 40, 24, "");
    showGadget(button);
    setGadgetValue(button, 1);
    const int x = 28, y = 444, w = 40, h = 24;
    // Sunken frame.
    EXPECT_EQ(getPixel(x, y), BLACK);
    EXPECT_EQ(getPixel(x + 5, y), BLACK);
    EXPECT_EQ(getPixel(x, y + 5), BLACK);
    EXPECT_EQ(getPixel(x + w - 1, y), 0x202020u);
    EXPECT_EQ(getPixel(x + w - 1, y + h - 1), 0x202020u);
    EXPECT_EQ(getPixel(x, y + h - 1), grey(0x60));
    EXPECT_EQ(getPixel(x + w - 1, y + 5), grey(0xA0));
    EXPECT_EQ(getPixel(x + 5, y + h - 1), grey(0xA0));
    // Darker panel outlined black on all four sides, corners included.
    const Color base = grey(0x30 - 21);
    for (const auto& [i, j] : std::array<std::pair<int, int>, 6>{
             {{1, 1}, {w - 2, 1}, {w - 2, h - 2}, {1, h - 2}, {10, 1}, {1, 10}}}) {
        EXPECT_EQ(getPixel(x + i, y + j), BLACK) << i << ", " << j;
    }
    const std::array offsets{21,  18,  14,  11,  8,   5,   2,   -2,  -5,  -8,
                             -11, -14, -18, -21, -24, -27, -30, -34, -37, -40};
    for (int k = 0; k < 20; ++k) {
        EXPECT_EQ(getPixel(x + 2, y + 2 + k), shadeColor(base, offsets[k])) << k;
        EXPECT_EQ(getPixel(x + w - 3, y + 2 + k), shadeColor(base, offsets[k])) << k;
    }
}

// Renders the button with its caption and compares it with the captionless button plus the
// caption drawn by hand at the expected corner.
void expectCaptionAt(EVENTHANDLE& handle, int w, int h, std::string_view caption, int dx, int dy) {
    platform::fillBox(0, 0, 383, 479, theme.faceColor);
    GADGET* plain = createButton(&handle, 100, 200, w, h, "");
    showGadget(plain);
    platform::drawText(100 + dx, 200 + dy, caption, theme.buttonTextColor);
    std::vector<Color> expected;
    for (int y = 190; y < 240; ++y) {
        for (int x = 60; x < 200; ++x) {
            expected.push_back(getPixel(x, y));
        }
    }
    hideGadget(plain);
    platform::fillBox(0, 0, 383, 479, theme.faceColor);

    GADGET* captioned = createButton(&handle, 100, 200, w, h, caption);
    showGadget(captioned);
    std::size_t k = 0;
    for (int y = 190; y < 240; ++y) {
        for (int x = 60; x < 200; ++x) {
            ASSERT_EQ(getPixel(x, y), expected[k++])
                << caption << " in " << w << " x " << h << " at " << x << ", " << y;
        }
    }
    hideGadget(captioned);
}

TEST_F(ButtonTest, CaptionIsCentredAndRoundedDown) {
    expectCaptionAt(handle, 40, 24, "4", 16, 4);
    expectCaptionAt(handle, 41, 24, "4", 16, 4);
    expectCaptionAt(handle, 40, 25, "4", 16, 4);
    expectCaptionAt(handle, 40, 24, "OK", 12, 4);
    // Wider than the button: starts left of it, rounded down for negative halves too.
    expectCaptionAt(handle, 40, 24, "Columns", -8, 4);
    expectCaptionAt(handle, 41, 24, "Column", -4, 4);
    expectCaptionAt(handle, 40, 10, "4", 16, -3);
}

TEST_F(ButtonTest, PressedButtonKeepsItsCaptionInPlace) {
    GADGET* button = createButton(&handle, 100, 200, 40, 24, "4");
    showGadget(button);
    setGadgetValue(button, 1);
    const auto pressed = snapshot();

    platform::fillBox(0, 0, 383, 479, theme.faceColor);
    GADGET* plain = createButton(&handle, 100, 200, 40, 24, "");
    showGadget(plain);
    setGadgetValue(plain, 1);
    platform::drawText(116, 204, "4", theme.buttonTextColor);
    EXPECT_EQ(snapshot(), pressed);
}

TEST_F(ButtonTest, HidingRestoresExactlyThePixelsCapturedAtCreation) {
    paintPattern();
    const auto underneath = snapshot();
    GADGET* button = createButton(&handle, 28, 444, 40, 24, "Go");
    showGadget(button);
    // The window changes under the button after its creation; hiding still puts back what
    // was there at creation.
    platform::fillBox(20, 440, 80, 470, 0x00FF00);
    showGadget(button);
    hideGadget(button);
    for (int y = 444; y < 468; ++y) {
        for (int x = 28; x < 68; ++x) {
            ASSERT_EQ(getPixel(x, y), underneath[y * 384 + x]) << x << ", " << y;
        }
    }
    EXPECT_EQ(getPixel(27, 450), 0x00FF00u);
    EXPECT_EQ(getPixel(68, 450), 0x00FF00u);
}

TEST_F(ButtonTest, DisabledBlendsTheBackgroundOverTheButton) {
    platform::fillBox(0, 0, 383, 479, 0x0080C0);
    GADGET* button = createButton(&handle, 28, 444, 40, 24, "");
    disableGadget(button);
    // Per channel: (background × 168 + button × 87 + 127) / 255.
    auto blend = [](int under, int over) { return (under * 168 + over * 87 + 127) / 255; };
    auto rgb = [](int r, int g, int b) { return static_cast<Color>(r << 16 | g << 8 | b); };
    // Frame pixel: black.
    EXPECT_EQ(getPixel(28, 444) & 0xFFFFFF, rgb(blend(0x00, 0), blend(0x80, 0), blend(0xC0, 0)));
    // Top panel edge: grey 0x70.
    EXPECT_EQ(getPixel(40, 445) & 0xFFFFFF,
              rgb(blend(0x00, 0x70), blend(0x80, 0x70), blend(0xC0, 0x70)));
    // First gradient row: grey 0x45.
    EXPECT_EQ(getPixel(40, 446) & 0xFFFFFF,
              rgb(blend(0x00, 0x45), blend(0x80, 0x45), blend(0xC0, 0x45)));
    // Outside the button nothing changes.
    EXPECT_EQ(getPixel(27, 444), 0x0080C0u);
}

TEST_F(ButtonTest, EventsFollowThePointerAndOnlyTheReleaseInsideClicks) {
    GADGET* button = createButton(&handle, 28, 444, 40, 24, "");
    showGadget(button);
    struct Step {
        std::int32_t code;
        std::int32_t value;
        std::int32_t result;
    };
    constexpr std::array STEPS{Step{EVENT_PRESS, 1, 0},          Step{EVENT_HOLD_INSIDE, 1, 0},
                               Step{EVENT_HOLD_OUTSIDE, 0, 0},   Step{EVENT_HOLD_INSIDE, 1, 0},
                               Step{EVENT_CLICK, 0, 1},          Step{EVENT_PRESS, 1, 0},
                               Step{EVENT_RELEASE_OUTSIDE, 0, 0}};
    for (const Step& step : STEPS) {
        const int frames = platform::headless::presentCount();
        EXPECT_EQ(buttonEvent(button, step.code), step.result) << step.code;
        EXPECT_EQ(button->value, step.value) << step.code;
        // Every one of the codes 1 to 5 repaints, changed or not.
        EXPECT_EQ(platform::headless::presentCount(), frames + 1) << step.code;
    }
    for (const std::int32_t code :
         {EVENT_IDLE, 6, 7, EVENT_KEY, EVENT_FOCUS_LOST, EVENT_WHEEL, 99}) {
        setGadgetValue(button, 1);
        const int frames = platform::headless::presentCount();
        EXPECT_EQ(buttonEvent(button, code), 0) << code;
        EXPECT_EQ(button->value, 1) << code;
        EXPECT_EQ(platform::headless::presentCount(), frames) << code;
    }
}

TEST_F(ButtonTest, DragOffAndBackThenReleaseIsOneClick) {
    GADGET* button = createButton(&handle, 28, 444, 40, 24, "");
    GADGET* other = createButton(&handle, 76, 444, 40, 24, "");
    showGadgets(button, other);
    const auto otherUp = [] {
        std::vector<Color> pixels;
        for (int x = 76; x < 116; ++x) {
            pixels.push_back(getPixel(x, 450));
        }
        return pixels;
    }();
    auto poll = [this] {
        pollEvents(&handle, -1, 0);
        return handle.clicked;
    };
    int clicks = 0;
    platform::headless::movePointer(40, 450);
    poll();
    platform::headless::setButtons(1);
    clicks += poll() == button;
    EXPECT_EQ(button->value, 1);
    platform::headless::movePointer(90, 450);
    clicks += poll() == button;
    EXPECT_EQ(button->value, 0);
    platform::headless::movePointer(41, 451);
    clicks += poll() == button;
    EXPECT_EQ(button->value, 1);
    platform::headless::setButtons(0);
    clicks += poll() == button;
    EXPECT_EQ(button->value, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(poll(), nullptr);

    // Pressed on one, released over the other: no click, and the other never changes.
    platform::headless::setButtons(1);
    poll();
    platform::headless::movePointer(90, 450);
    poll();
    platform::headless::setButtons(0);
    EXPECT_EQ(poll(), nullptr);
    EXPECT_EQ(other->value, 0);
    for (int x = 76; x < 116; ++x) {
        EXPECT_EQ(getPixel(x, 450), otherUp[x - 76]) << x;
    }
}

TEST_F(ButtonTest, DisabledAndHiddenButtonsIgnoreTheMouse) {
    GADGET* disabled = createButton(&handle, 28, 444, 40, 24, "");
    GADGET* hidden = createButton(&handle, 76, 444, 40, 24, "");
    disableGadget(disabled);
    for (const int x : {40, 90}) {
        platform::headless::movePointer(x, 450);
        platform::headless::setButtons(1);
        pollEvents(&handle, -1, 0);
        platform::headless::setButtons(0);
        pollEvents(&handle, -1, 0);
        EXPECT_EQ(handle.clicked, nullptr) << x;
    }
    EXPECT_EQ(disabled->value, 0);
    EXPECT_EQ(hidden->value, 0);
}

TEST_F(ButtonTest, NewCaptionRepaintsAtTheSameSizeWithoutRecapturing) {
    GADGET* button = createButton(&handle, 100, 200, 40, 24, "A");
    showGadget(button);
    const platform::Image* background = button->background.get();
    setGadgetText(button, "BB");
    EXPECT_EQ(button->background.get(), background);
    EXPECT_EQ(button->w, 40);
    const auto withNewCaption = snapshot();

    platform::fillBox(0, 0, 383, 479, theme.faceColor);
    GADGET* fresh = createButton(&handle, 100, 200, 40, 24, "BB");
    showGadget(fresh);
    EXPECT_EQ(snapshot(), withNewCaption);
}

} // namespace
} // namespace VESKA
