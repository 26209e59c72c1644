#include "toolkit/menu.h"

#include "platform/headless.h"
#include "toolkit/events.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace VESKA {
namespace {

namespace headless = platform::headless;

using Log = std::vector<std::string>;

// Every call of a menu procedure, in order: "open File", "close File", "hl File 1",
// "item Open 0".
Log calls;

void logOpen(EVENTHANDLE*, MENUHEADER* header) {
    calls.push_back("open " + header->title);
}

void logClose(EVENTHANDLE*, MENUHEADER* header) {
    calls.push_back("close " + header->title);
}

void logHeaderHighlight(MENUHEADER* header, std::int32_t on) {
    calls.push_back("hl " + header->title + " " + std::to_string(on));
}

void logItemHighlight(MENUITEM* item, std::int32_t on) {
    calls.push_back("item " + item->text + " " + std::to_string(on));
}

// A bar of three 40-pixel headers 16 pixels high: File (items Open, enabled, and Quit,
// disabled), Edit (item Copy) and Help (a disabled menu with one enabled item, About). Items
// are 80 × 16 and hang below their header.
class MenuTest : public ::testing::Test {
protected:
    EVENTHANDLE handle;
    MENUHEADER* file = nullptr;
    MENUHEADER* edit = nullptr;
    MENUHEADER* help = nullptr;
    MENUITEM* open = nullptr;
    MENUITEM* quit = nullptr;
    MENUITEM* about = nullptr;

    static constexpr int BAR_Y = 8;
    static constexpr int FILE_X = 10;
    static constexpr int EDIT_X = 50;
    static constexpr int HELP_X = 90;

    void SetUp() override {
        calls.clear();
        inputState = INPUTSTATE{};
        headless::install();
        ASSERT_TRUE(platform::openWindow(384, 480));
        file = addHeader("File", 0, 1);
        edit = addHeader("Edit", 40, 1);
        help = addHeader("Help", 80, 0);
        open = addItem(file, "Open", 1, 11, 21);
        quit = addItem(file, "Quit", 0, 12, 22);
        addItem(edit, "Copy", 1, 13, 23);
        about = addItem(help, "About", 1, 14, 24);
        setMenuEnabled(&handle, 1);
    }
    void TearDown() override { platform::closeWindow(); }

    MENUHEADER* addHeader(const char* title, std::int32_t x, std::int32_t enabled) {
        auto* header = new MENUHEADER();
        header->title = title;
        header->x = x;
        header->w = 40;
        header->h = 16;
        header->enabled = enabled;
        header->onOpen = logOpen;
        header->onClose = logClose;
        header->onHighlight = logHeaderHighlight;
        addMenu(&handle, header);
        return header;
    }

    static MENUITEM* addItem(MENUHEADER* header, const char* text, std::int32_t enabled,
                             std::int32_t id, std::int32_t data) {
        std::int32_t y = 16;
        for (MENUITEM* item = header->firstItem; item != nullptr; item = item->nextItem) {
            y += 16;
        }
        auto* item = new MENUITEM();
        item->text = text;
        item->x = header->x;
        item->y = y;
        item->w = 80;
        item->h = 16;
        item->enabled = enabled;
        item->id = id;
        item->data = data;
        item->onHighlight = logItemHighlight;
        addMenuItem(header, item);
        return item;
    }

    static int itemY(const MENUITEM* item) { return item->y + 8; }

    // One pass of pollEvents with the pointer at (x, y) and the left button down or up; returns
    // the procedure calls made in it.
    Log step(int x, int y, bool down) {
        calls.clear();
        headless::movePointer(x, y);
        headless::setButtons(down ? 1 : 0);
        pollEvents(&handle, -1, 1);
        return calls;
    }

    // Press on a header and hold: the way a menu opens.
    void openByHolding(int x) {
        step(x, BAR_Y, true);
        step(x, BAR_Y, true);
    }

    static int count(const Log& log, const std::string& call) {
        return static_cast<int>(std::count(log.begin(), log.end(), call));
    }
};

TEST_F(MenuTest, AddMenuChainsHeadersAndAddMenuItemChainsItems) {
    EXPECT_EQ(getFirstMenu(&handle), file);
    EXPECT_EQ(getLastMenu(&handle), help);
    EXPECT_EQ(file->nextMenu, edit);
    EXPECT_EQ(edit->nextMenu, help);
    EXPECT_EQ(help->nextMenu, nullptr);
    EXPECT_EQ(file->firstItem, open);
    EXPECT_EQ(open->nextItem, quit);
    EXPECT_EQ(quit->nextItem, nullptr);
    EXPECT_EQ(getMenuEnabled(&handle), 1);
    setMenuImage(&handle, platform::createImage(4, 4));
    EXPECT_NE(getMenuImage(&handle), nullptr);
}

TEST_F(MenuTest, TitleAreaStartsAtTheTopAndEndsBeforeItsHeight) {
    struct Point {
        int x, y;
        MENUHEADER* header;
    };
    const Point points[] = {{0, 0, file},     {39, 15, file},    {40, 0, edit},   {119, 15, help},
                            {5, 16, nullptr}, {120, 5, nullptr}, {5, -1, nullptr}};
    for (const Point& point : points) {
        SCOPED_TRACE(testing::Message() << point.x << ", " << point.y);
        headless::movePointer(point.x, point.y);
        pollInput(1);
        EXPECT_EQ(findMenuAt(&handle), point.header);
    }
    headless::movePointer(79, 47);
    pollInput(1);
    EXPECT_EQ(findItemAt(&handle, file), quit);
    headless::movePointer(80, 47);
    pollInput(1);
    EXPECT_EQ(findItemAt(&handle, file), nullptr);
    EXPECT_EQ(findItemAt(&handle, nullptr), nullptr);
}

TEST_F(MenuTest, HoverHighlightsTheHeaderUnderThePointer) {
    EXPECT_EQ(step(FILE_X, BAR_Y, false), (Log{"hl File 1"}));
    EXPECT_EQ(step(FILE_X + 1, BAR_Y, false), Log{});
    EXPECT_EQ(step(EDIT_X, BAR_Y, false), (Log{"hl File 0", "hl Edit 1"}));
    EXPECT_EQ(step(EDIT_X, 200, false), (Log{"hl Edit 0"}));
    EXPECT_EQ(handle.highlightedMenu, nullptr);
    EXPECT_EQ(handle.openMenu, nullptr);
}

TEST_F(MenuTest, PressAndReleaseAtOnceOpensNothing) {
    step(FILE_X, BAR_Y, false);
    EXPECT_EQ(step(FILE_X, BAR_Y, true), Log{});
    EXPECT_EQ(handle.menuFreshOpen, 1);
    EXPECT_EQ(step(FILE_X, BAR_Y, false), Log{});
    EXPECT_EQ(handle.openMenu, nullptr);
    EXPECT_EQ(handle.highlightedMenu, file);
}

TEST_F(MenuTest, HoldingOnAHeaderOpensItAndReleasingThereKeepsItOpen) {
    EXPECT_EQ(step(FILE_X, BAR_Y, true), Log{});
    EXPECT_EQ(step(FILE_X, BAR_Y, true), (Log{"open File", "hl File 1"}));
    EXPECT_EQ(handle.openMenu, file);
    EXPECT_EQ(step(FILE_X, BAR_Y, true), Log{});
    EXPECT_EQ(step(FILE_X, BAR_Y, false), Log{});
    EXPECT_EQ(handle.openMenu, file);
    EXPECT_EQ(step(FILE_X, BAR_Y, false), Log{});
    EXPECT_EQ(handle.openMenu, file);
}

TEST_F(MenuTest, AClickOnAnyHeaderClosesAMenuOpenedBefore) {
    openByHolding(FILE_X);
    step(FILE_X, BAR_Y, false);
    // Press and release on the next header, holding in between: no menu opens while held.
    EXPECT_EQ(step(EDIT_X, BAR_Y, true), Log{});
    EXPECT_EQ(handle.menuFreshOpen, 0);
    EXPECT_EQ(step(EDIT_X, BAR_Y, true), Log{});
    EXPECT_EQ(handle.openMenu, file);
    EXPECT_EQ(step(EDIT_X, BAR_Y, false), (Log{"close File", "hl File 0"}));
    EXPECT_EQ(handle.openMenu, nullptr);
}

TEST_F(MenuTest, AClickOnTheOpenHeaderClosesIt) {
    openByHolding(FILE_X);
    step(FILE_X, BAR_Y, false);
    step(FILE_X, BAR_Y, false);
    step(FILE_X, BAR_Y, true);
    EXPECT_EQ(step(FILE_X, BAR_Y, false), (Log{"close File"}));
    EXPECT_EQ(handle.openMenu, nullptr);
    EXPECT_EQ(handle.highlightedMenu, file); // the pointer still rests on it
}

TEST_F(MenuTest, MovingAlongTheBarSwitchesTheOpenMenu) {
    openByHolding(FILE_X);
    step(FILE_X, BAR_Y, false);
    EXPECT_EQ(step(FILE_X, BAR_Y, false), Log{});
    EXPECT_EQ(step(EDIT_X, BAR_Y, false),
              (Log{"close File", "open Edit", "hl File 0", "hl Edit 1"}));
    EXPECT_EQ(handle.openMenu, edit);
    // Off the bar the menu stays open and highlighted.
    EXPECT_EQ(step(EDIT_X, 300, false), Log{});
    EXPECT_EQ(handle.openMenu, edit);
}

TEST_F(MenuTest, HoldingAfterAFreshPressFollowsThePointerAlongTheBar) {
    openByHolding(FILE_X);
    EXPECT_EQ(step(EDIT_X, BAR_Y, true),
              (Log{"close File", "open Edit", "hl File 0", "hl Edit 1"}));
    EXPECT_EQ(handle.openMenu, edit);
}

TEST_F(MenuTest, ReleaseOnAnEnabledItemChoosesItClosesOnceAndEndsThePoll) {
    openByHolding(FILE_X);
    EXPECT_EQ(step(FILE_X, itemY(open), true), (Log{"item Open 1"}));
    const Log release = step(FILE_X, itemY(open), false);
    EXPECT_EQ(count(release, "close File"), 1);
    EXPECT_EQ(release, (Log{"close File", "hl File 0"}));
    EXPECT_EQ(handle.chosenItem, open);
    EXPECT_EQ(handle.chosenItemId, 11);
    EXPECT_EQ(handle.chosenItemData, 21);
    EXPECT_EQ(handle.openMenu, nullptr);
    EXPECT_EQ(handle.highlightedItem, nullptr);

    // The next idle pass clears the choice.
    step(FILE_X, itemY(open), false);
    EXPECT_EQ(handle.chosenItem, nullptr);
    EXPECT_EQ(handle.chosenItemId, 0);
    EXPECT_EQ(handle.chosenItemData, 0);
}

TEST_F(MenuTest, AWaitingPollEndsAtTheChoiceAndTheNextOneClearsItAndWaits) {
    openByHolding(FILE_X);
    step(FILE_X, itemY(open), true);
    headless::setButtons(0);
    pollEvents(&handle, 1, 1);
    EXPECT_EQ(handle.chosenItem, open);
    // Released to idle is a change: the next poll ends after its first pass, which clears the
    // choice; the one after it waits for input.
    pollEvents(&handle, 1, 1);
    EXPECT_EQ(handle.chosenItem, nullptr);
    const int sleeps = headless::sleepCount();
    headless::at(headless::clockMs() + 50, [] { headless::movePointer(300, 300); });
    pollEvents(&handle, 1, 1);
    EXPECT_EQ(headless::sleepCount(), sleeps + 50);
}

TEST_F(MenuTest, ClickingAnItemOfAMenuLeftOpenChoosesIt) {
    openByHolding(FILE_X);
    step(FILE_X, BAR_Y, false);
    step(FILE_X, itemY(open), false);
    EXPECT_EQ(step(FILE_X, itemY(open), true), Log{});
    EXPECT_EQ(handle.itemAtPress, open);
    EXPECT_EQ(handle.openMenu, file);
    step(FILE_X, itemY(open), false);
    EXPECT_EQ(handle.chosenItem, open);
}

TEST_F(MenuTest, DisabledItemIsNeverChosenAndTheMenuStaysOpen) {
    openByHolding(FILE_X);
    step(FILE_X, itemY(quit), true);
    step(FILE_X, itemY(quit), false);
    EXPECT_EQ(handle.chosenItem, nullptr);
    EXPECT_EQ(handle.openMenu, file);
    step(FILE_X, itemY(quit), true);
    EXPECT_EQ(count(step(FILE_X, itemY(quit), false), "close File"), 0);
    EXPECT_EQ(handle.chosenItem, nullptr);
    EXPECT_EQ(handle.openMenu, file);
}

TEST_F(MenuTest, ItemsOfADisabledMenuAreNeverHighlightedNorChosen) {
    openByHolding(HELP_X);
    EXPECT_EQ(handle.openMenu, help);
    EXPECT_EQ(step(HELP_X, itemY(about), true), Log{});
    EXPECT_EQ(step(HELP_X, itemY(about), false), Log{});
    EXPECT_EQ(step(HELP_X, itemY(about), false), Log{});
    EXPECT_EQ(handle.highlightedItem, nullptr);
    EXPECT_EQ(handle.chosenItem, nullptr);
    EXPECT_EQ(handle.openMenu, help);
}

TEST_F(MenuTest, PressOutsideTheBarAndTheItemsCloses) {
    openByHolding(FILE_X);
    step(FILE_X, BAR_Y, false);
    EXPECT_EQ(step(300, 300, false), Log{});
    EXPECT_EQ(step(300, 300, true), (Log{"close File", "hl File 0"}));
    EXPECT_EQ(handle.openMenu, nullptr);
    EXPECT_EQ(step(300, 300, false), Log{});
}

TEST_F(MenuTest, ReleaseOutsideTheBarAndTheItemsCloses) {
    openByHolding(EDIT_X);
    EXPECT_EQ(step(300, 300, true), Log{});
    EXPECT_EQ(step(300, 300, false), (Log{"close Edit", "hl Edit 0"}));
    EXPECT_EQ(handle.openMenu, nullptr);
}

TEST_F(MenuTest, ItemHighlightFollowsThePointerWhileHeld) {
    openByHolding(FILE_X);
    EXPECT_EQ(step(FILE_X, itemY(open), true), (Log{"item Open 1"}));
    EXPECT_EQ(step(FILE_X, itemY(quit), true), (Log{"item Open 0", "item Quit 1"}));
    EXPECT_EQ(step(FILE_X + 100, itemY(quit), true), (Log{"item Quit 0"}));
    EXPECT_EQ(handle.highlightedItem, nullptr);
}

TEST_F(MenuTest, GadgetDispatchPausesWhileAMenuIsOpen) {
    struct Counter {
        static std::int32_t event(GADGET* gadget, std::int32_t) {
            ++gadget->value;
            return 1;
        }
        static void draw(GADGET*) {}
    };
    auto* gadget = static_cast<GADGET*>(listAppendNew(handle.gadgets, TAG_GADGET));
    gadget->x = 200;
    gadget->y = 200;
    gadget->w = 50;
    gadget->h = 50;
    gadget->handleEvent = Counter::event;
    gadget->draw = Counter::draw;
    showGadget(gadget);
    step(210, 210, true);
    step(210, 210, false);
    ASSERT_EQ(handle.clicked, gadget);
    const std::int32_t events = gadget->value;

    openByHolding(FILE_X);
    step(FILE_X, BAR_Y, false);
    // A dispatch would send the wheel to the gadget and clear `clicked`.
    handle.clicked = gadget;
    headless::turnWheel(1);
    step(210, 210, false);
    EXPECT_EQ(handle.openMenu, file);
    EXPECT_EQ(gadget->value, events);
    EXPECT_EQ(handle.clicked, gadget);
    // The press that closes the menu is dispatched in the same pass.
    step(210, 210, true);
    EXPECT_EQ(handle.openMenu, nullptr);
    EXPECT_EQ(gadget->value, events + 1);
}

TEST_F(MenuTest, MenusDisabledOrMissingMakeNoCalls) {
    setMenuEnabled(&handle, 0);
    EXPECT_EQ(step(FILE_X, BAR_Y, false), Log{});
    EXPECT_EQ(step(FILE_X, BAR_Y, true), Log{});
    EXPECT_EQ(step(FILE_X, BAR_Y, true), Log{});
    EXPECT_EQ(handle.openMenu, nullptr);

    EVENTHANDLE bare;
    setMenuEnabled(&bare, 1);
    headless::setButtons(1);
    pollEvents(&bare, -1, 1);
    pollEvents(&bare, -1, 1);
    EXPECT_EQ(bare.openMenu, nullptr);
}

TEST_F(MenuTest, CloseMenusClosesUnhighlightsAndResets) {
    openByHolding(FILE_X);
    step(FILE_X, itemY(open), true);
    calls.clear();
    closeMenus(&handle);
    EXPECT_EQ(calls, (Log{"close File", "hl File 0"}));
    EXPECT_EQ(handle.openMenu, nullptr);
    EXPECT_EQ(handle.highlightedMenu, nullptr);
    EXPECT_EQ(handle.highlightedItem, nullptr);
    EXPECT_EQ(handle.menuFreshOpen, 0);
    EXPECT_EQ(handle.menuAtPress, nullptr);
    EXPECT_EQ(handle.menuAtHold, nullptr);
    calls.clear();
    closeMenus(&handle);
    EXPECT_EQ(calls, Log{});
}

} // namespace
} // namespace VESKA
