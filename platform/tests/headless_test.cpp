// The headless backend: scripted input, the virtual clock and its scheduled actions, and when
// frames are presented.
#include "platform/headless.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace hl = platform::headless;

class HeadlessTest : public ::testing::Test {
protected:
    void SetUp() override {
        hl::install();
        ASSERT_TRUE(platform::openWindow(8, 6));
    }
};

TEST_F(HeadlessTest, PointerButtonsAndWheelHoldUntilChanged) {
    EXPECT_LT(platform::queryMouse().x, 0);
    hl::movePointer(3, 4);
    hl::setButtons(1 | 4);
    hl::turnWheel(2);
    hl::turnWheel(-3);
    for (int poll = 0; poll < 2; ++poll) {
        const platform::MouseState mouse = platform::queryMouse();
        EXPECT_EQ(mouse.x, 3);
        EXPECT_EQ(mouse.y, 4);
        EXPECT_EQ(mouse.buttons, 5);
        EXPECT_EQ(mouse.wheel, -1);
    }
    hl::movePointerOutside();
    EXPECT_LT(platform::queryMouse().x, 0);
    EXPECT_LT(platform::queryMouse().y, 0);
}

TEST_F(HeadlessTest, KeysComeOneAtATimeAndCloseIsExtended107) {
    hl::pushKey("a");
    hl::pushExtendedKey(72);
    hl::requestClose();
    EXPECT_EQ(platform::readKey(), "a");
    EXPECT_EQ(platform::readKey(), std::string("\xFF") + char(72));
    EXPECT_EQ(platform::readKey(), std::string("\xFF") + char(platform::KEY_CLOSE));
    EXPECT_EQ(platform::readKey(), "");
}

TEST_F(HeadlessTest, OnlySleepAdvancesTheClock) {
    EXPECT_EQ(platform::nowMs(), 0u);
    platform::sleepMs(40);
    platform::sleepMs(1);
    platform::sleepMs(-5);
    EXPECT_EQ(platform::nowMs(), 41u);
    EXPECT_EQ(hl::clockMs(), 41u);
    EXPECT_EQ(hl::sleepCount(), 3);
    hl::install();
    EXPECT_EQ(hl::clockMs(), 0u);
    EXPECT_EQ(hl::sleepCount(), 0);
}

TEST_F(HeadlessTest, ScheduledActionsRunWhenTheClockPassesThem) {
    std::vector<std::string> log;
    hl::at(5, [&] { log.push_back("b@" + std::to_string(hl::clockMs())); });
    hl::at(3, [&] { log.push_back("a@" + std::to_string(hl::clockMs())); });
    hl::at(5, [&] {
        log.push_back("c@" + std::to_string(hl::clockMs()));
        hl::at(6, [&] { log.push_back("d@" + std::to_string(hl::clockMs())); });
    });
    platform::sleepMs(2);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(hl::pendingActions(), 3);
    platform::sleepMs(10);
    EXPECT_EQ(log, (std::vector<std::string>{"a@3", "b@5", "c@5", "d@6"}));
    EXPECT_EQ(hl::clockMs(), 12u);
    EXPECT_EQ(hl::pendingActions(), 0);
}

TEST_F(HeadlessTest, ABlockingLoopSeesScriptedInput) {
    // A loop that only returns on a click, as the game's main loop does.
    hl::movePointer(2, 2);
    hl::at(100, [] { hl::setButtons(1); });
    hl::at(150, [] { hl::setButtons(0); });
    bool wasDown = false;
    for (;;) {
        platform::sleepMs(1);
        const bool down = (platform::queryMouse().buttons & 1) != 0;
        if (wasDown && !down) {
            break;
        }
        wasDown = down;
    }
    EXPECT_EQ(hl::clockMs(), 150u);
}

TEST_F(HeadlessTest, UnlockPresentsTheWholeFrame) {
    const int before = hl::presentCount();
    platform::lock();
    platform::setPixel(1, 1, 0xABCDEF);
    EXPECT_EQ(hl::presentedPixel(1, 1), 0u);
    platform::unlock();
    EXPECT_EQ(hl::presentCount(), before + 1);
    EXPECT_EQ(hl::presentedPixel(1, 1), 0xABCDEFu);
}

TEST_F(HeadlessTest, DirtyFrameIsPresentedByTheNextPollOnly) {
    platform::queryMouse(); // shows the cleared first frame
    const int shown = hl::presentCount();
    platform::queryMouse();
    EXPECT_EQ(hl::presentCount(), shown) << "a clean frame is not presented again";
    platform::fillBox(0, 0, 2, 2, 0x123456);
    platform::queryMouse();
    EXPECT_EQ(hl::presentCount(), shown + 1);
    EXPECT_EQ(hl::presentedPixel(2, 2), 0x123456u);
}

TEST_F(HeadlessTest, DrawingThroughThePointerNeedsInvalidateOrPixels) {
    platform::queryMouse();
    std::uint32_t* frame = platform::pixels(); // taking the pointer counts as drawing
    frame[0] = 0x00FF0000;
    platform::queryMouse();
    EXPECT_EQ(hl::presentedPixel(0, 0), 0x00FF0000u);
    frame[1] = 0x0000FF00;
    platform::queryMouse();
    EXPECT_EQ(hl::presentedPixel(1, 0), 0u);
    platform::invalidate();
    platform::queryMouse();
    EXPECT_EQ(hl::presentedPixel(1, 0), 0x0000FF00u);
}

TEST_F(HeadlessTest, HalfDrawnFrameUnderTheLockIsNotPresentedByAPoll) {
    platform::queryMouse();
    const int shown = hl::presentCount();
    platform::lock();
    platform::setPixel(0, 0, 0x111111);
    platform::queryMouse();
    EXPECT_EQ(hl::presentCount(), shown);
    platform::lock(); // nested: only the outer unlock presents
    platform::unlock();
    EXPECT_EQ(hl::presentCount(), shown);
    platform::unlock();
    EXPECT_EQ(hl::presentCount(), shown + 1);
}

TEST_F(HeadlessTest, TitleAndWindowLifetime) {
    platform::setTitle("Vier gewinnt \x81");
    EXPECT_EQ(hl::title(), "Vier gewinnt \x81");
    EXPECT_TRUE(hl::windowShown());
    platform::closeWindow();
    EXPECT_FALSE(hl::windowShown());
    EXPECT_FALSE(platform::windowOpen());
}

std::vector<unsigned char> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST_F(HeadlessTest, SaveFrameWritesABinaryPpm) {
    platform::setPixel(0, 0, 0x00112233);
    platform::setPixel(7, 5, 0xFFAABBCC);
    const auto path = std::filesystem::temp_directory_path() / "platform_headless_frame.ppm";
    ASSERT_TRUE(hl::saveFrame(path.string()));
    const auto bytes = readBytes(path);
    const std::string header = "P6\n8 6\n255\n";
    ASSERT_EQ(bytes.size(), header.size() + 8 * 6 * 3);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 11), header);
    EXPECT_EQ(bytes[11], 0x11);
    EXPECT_EQ(bytes[12], 0x22);
    EXPECT_EQ(bytes[13], 0x33);
    EXPECT_EQ(bytes[bytes.size() - 3], 0xAA);
    EXPECT_EQ(bytes.back(), 0xCC);
    std::filesystem::remove(path);
    EXPECT_FALSE(hl::saveFrame("/nonexistent-folder/frame.ppm"));
}

TEST(HeadlessFrames, SavedToTheFolderTheEnvironmentNames) {
    const auto folder = std::filesystem::temp_directory_path() / "platform_headless_frames";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    setenv("DISC_SAVE_FRAMES", folder.c_str(), 1);
    hl::install();
    unsetenv("DISC_SAVE_FRAMES");
    ASSERT_TRUE(platform::openWindow(4, 3));
    platform::lock();
    platform::unlock();
    platform::lock();
    platform::unlock();
    EXPECT_TRUE(std::filesystem::exists(folder / "frame-00001.ppm"));
    EXPECT_EQ(readBytes(folder / "frame-00002.ppm").size(),
              std::string("P6\n4 3\n255\n").size() + 36);
    EXPECT_FALSE(std::filesystem::exists(folder / "frame-00003.ppm"));
    std::filesystem::remove_all(folder);
}

} // namespace
