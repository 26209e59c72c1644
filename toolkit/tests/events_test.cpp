#include "toolkit/events.h"

#include "platform/headless.h"
#include "toolkit/theme.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace VESKA {
namespace {

namespace headless = platform::headless;

// A test gadget kind: records every event code and every draw, and answers each code with
// what the test set (a click on code 4 by default, like a push button).
struct Record {
    std::vector<std::int32_t> codes;
    std::map<std::int32_t, std::int32_t> answers{{EVENT_CLICK, 1}};
    int draws = 0;
    int updates = 0;
};

std::map<const GADGET*, Record> records;

void recordDraw(GADGET* gadget) {
    ++records[gadget].draws;
}

void recordUpdate(GADGET* gadget) {
    ++records[gadget].updates;
}

std::int32_t recordEvent(GADGET* gadget, std::int32_t code) {
    Record& record = records[gadget];
    record.codes.push_back(code);
    auto answer = record.answers.find(code);
    return answer == record.answers.end() ? 0 : answer->second;
}

class EventsTest : public ::testing::Test {
protected:
    EVENTHANDLE handle;

    void SetUp() override {
        records.clear();
        inputState = INPUTSTATE{};
        headless::install();
        ASSERT_TRUE(platform::openWindow(384, 480));
    }
    void TearDown() override { platform::closeWindow(); }

    GADGET* addGadget(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                      EVENTHANDLE* owner = nullptr) {
        owner = owner == nullptr ? &handle : owner;
        auto* gadget = static_cast<GADGET*>(listAppendNew(owner->gadgets, TAG_GADGET));
        gadget->owner = owner;
        gadget->x = x;
        gadget->y = y;
        gadget->w = w;
        gadget->h = h;
        gadget->draw = recordDraw;
        gadget->handleEvent = recordEvent;
        gadget->update = recordUpdate;
        records[gadget];
        gadget->status = GADGET_ACTIVE;
        return gadget;
    }

    // One pass of pollEvents without sleeping, with close handling on; returns the codes the
    // gadget received in it.
    std::vector<std::int32_t> pass(const GADGET* gadget) {
        records[gadget].codes.clear();
        pollEvents(&handle, -1, 1);
        return records[gadget].codes;
    }

    static void press(int x, int y) {
        headless::movePointer(x, y);
        headless::setButtons(1);
    }
};

using Codes = std::vector<std::int32_t>;

// ---------------------------------------------------------------------------------------------
// pollInput.

TEST_F(EventsTest, ButtonStatesFollowTheBitsOfEachButton) {
    headless::movePointer(10, 10);
    // Buttons held per poll, and the left, middle and right states that result.
    struct Step {
        int buttons;
        std::int32_t left, middle, right;
    };
    const Step steps[] = {
        {0, 0, 0, 0}, {1, 2, 0, 0}, {1, 3, 0, 0}, {5, 3, 2, 0}, {2, 1, 1, 2},
        {2, 0, 0, 3}, {0, 0, 0, 1}, {7, 2, 2, 2}, {0, 1, 1, 1}, {0, 0, 0, 0},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.buttons);
        headless::setButtons(step.buttons);
        pollInput(1);
        EXPECT_EQ(inputState.leftState, step.left);
        EXPECT_EQ(inputState.middleState, step.middle);
        EXPECT_EQ(inputState.rightState, step.right);
    }
}

TEST_F(EventsTest, PollReportsChangesOfPointerAndButtonsOnly) {
    headless::movePointer(10, 10);
    EXPECT_EQ(pollInput(1), 1);
    EXPECT_EQ(pollInput(1), 0);
    headless::movePointer(11, 10);
    EXPECT_EQ(pollInput(1), 1);
    EXPECT_EQ(inputState.prevX, 10);
    EXPECT_EQ(inputState.mouseX, 11);
    headless::setButtons(2);
    EXPECT_EQ(pollInput(1), 1); // just pressed
    EXPECT_EQ(pollInput(1), 1); // pressed → held is a change of state too
    EXPECT_EQ(pollInput(1), 0);
}

TEST_F(EventsTest, PointerOutsideReleasesHeldButtonsAndIgnoresTheWheel) {
    headless::movePointer(10, 10);
    headless::setButtons(1 | 2);
    pollInput(1);
    pollInput(1);
    headless::movePointerOutside();
    headless::turnWheel(3);
    pollInput(1);
    EXPECT_EQ(inputState.leftState, BUTTON_RELEASED);
    EXPECT_EQ(inputState.rightState, BUTTON_RELEASED);
    EXPECT_EQ(inputState.wheelDir, 0);
    pollInput(1);
    EXPECT_EQ(inputState.leftState, BUTTON_IDLE);
    EXPECT_EQ(inputState.wheelCount, 0);
    // Back inside, buttons still down press anew.
    headless::movePointer(10, 10);
    pollInput(1);
    EXPECT_EQ(inputState.leftState, BUTTON_PRESSED);
}

TEST_F(EventsTest, WheelTurningTheSameWayIsAChangeOnlyTheFirstTime) {
    headless::movePointer(10, 10);
    pollInput(1);
    headless::turnWheel(1);
    EXPECT_EQ(pollInput(1), 1);
    EXPECT_EQ(inputState.wheelDir, -1); // counter went up
    headless::turnWheel(1);
    EXPECT_EQ(pollInput(1), 0);
    EXPECT_EQ(inputState.wheelDir, -1);
    headless::turnWheel(-2);
    EXPECT_EQ(pollInput(1), 1);
    EXPECT_EQ(inputState.wheelDir, 1);
    EXPECT_EQ(pollInput(1), 0);
    EXPECT_EQ(inputState.wheelDir, 0);
}

TEST_F(EventsTest, KeysOrdinaryAndExtended) {
    headless::pushKey("a");
    EXPECT_EQ(pollInput(1), 1);
    EXPECT_EQ(inputState.keyText, "a");
    EXPECT_EQ(inputState.keyCode, 97);
    EXPECT_EQ(inputState.keyExtended, 0);

    headless::pushExtendedKey(72);
    EXPECT_EQ(pollInput(1), 1);
    EXPECT_EQ(inputState.keyText, "H");
    EXPECT_EQ(inputState.keyCode, 72);
    EXPECT_EQ(inputState.keyExtended, 255);

    headless::pushKey("\xE9"); // a code page 437 byte above 127 is a code, not a sign
    pollInput(1);
    EXPECT_EQ(inputState.keyCode, 0xE9);

    EXPECT_EQ(pollInput(1), 0);
    EXPECT_EQ(inputState.keyText, "");
    EXPECT_EQ(inputState.keyCode, -1);
    EXPECT_EQ(inputState.keyExtended, 0);
}

TEST_F(EventsTest, CloseButtonWithCloseHandlingSetsCloseRequestAndQuit) {
    headless::requestClose();
    pollEvents(&handle, 1, 1);
    EXPECT_EQ(inputState.closeRequest, 1);
    EXPECT_EQ(handle.quit, 1);
    // Seen once, it ends every later waiting poll after one pass.
    const int sleeps = headless::sleepCount();
    handle.quit = 0;
    pollEvents(&handle, 1, 1);
    EXPECT_EQ(handle.quit, 1);
    EXPECT_EQ(headless::sleepCount(), sleeps + 1);
}

TEST_F(EventsTest, CloseButtonWithoutCloseHandlingIsAnOrdinaryKey) {
    headless::requestClose();
    pollEvents(&handle, -1, 0);
    EXPECT_EQ(inputState.keyText, "k");
    EXPECT_EQ(inputState.keyCode, 107);
    EXPECT_EQ(inputState.keyExtended, 255);
    EXPECT_EQ(inputState.closeRequest, 0);
    EXPECT_EQ(handle.quit, 0);
}

// ---------------------------------------------------------------------------------------------
// pollEvents wait modes.

TEST_F(EventsTest, WaitMinusOneMakesOnePassWithoutSleeping) {
    GADGET* gadget = addGadget(0, 0, 10, 10);
    handle.pressed = gadget;
    EXPECT_EQ(pass(gadget), Codes{EVENT_IDLE});
    EXPECT_EQ(headless::sleepCount(), 0);
    EXPECT_EQ(headless::clockMs(), 0u);
}

TEST_F(EventsTest, WaitZeroMakesOnePassWithOneSleep) {
    pollEvents(&handle, 0, 1);
    EXPECT_EQ(headless::sleepCount(), 1);
    EXPECT_EQ(headless::clockMs(), 1u);
}

TEST_F(EventsTest, WaitOneSleepsOneMillisecondPerPassUntilTheInputChanges) {
    headless::movePointer(5, 5);
    pollInput(1);
    headless::at(40, [] { headless::movePointer(6, 5); });
    pollEvents(&handle, 1, 1);
    EXPECT_EQ(headless::clockMs(), 40u);
    EXPECT_EQ(headless::sleepCount(), 40);
    EXPECT_EQ(inputState.mouseX, 6);
}

// ---------------------------------------------------------------------------------------------
// Dispatch.

TEST_F(EventsTest, TheRoadOfOneClick) {
    GADGET* button = addGadget(172, 444, 40, 24);
    press(190, 455);
    EXPECT_EQ(pass(button), Codes{EVENT_PRESS});
    EXPECT_EQ(handle.pressed, button);
    EXPECT_EQ(pass(button), Codes{EVENT_HOLD_INSIDE});
    EXPECT_EQ(pass(button), Codes{EVENT_HOLD_INSIDE});
    EXPECT_EQ(handle.clicked, nullptr);
    headless::setButtons(0);
    EXPECT_EQ(pass(button), Codes{EVENT_CLICK});
    EXPECT_EQ(handle.clicked, button);
    EXPECT_EQ(pass(button), Codes{EVENT_IDLE});
    EXPECT_EQ(handle.clicked, nullptr);
    EXPECT_EQ(pass(button), Codes{EVENT_IDLE});
}

TEST_F(EventsTest, AWaitingPollReturnsAtTheClick) {
    GADGET* button = addGadget(172, 444, 40, 24);
    headless::movePointer(190, 455);
    headless::at(10, [] { headless::setButtons(1); });
    headless::at(30, [] { headless::setButtons(0); });
    pollEvents(&handle, 1, 1); // the pointer's first position is a change
    pollEvents(&handle, 1, 1);
    EXPECT_EQ(records[button].codes, Codes{EVENT_PRESS});
    EXPECT_EQ(headless::clockMs(), 10u);
    // The first held pass is a change (pressed to held), the later ones are not: the next
    // poll runs on to the release and the click.
    pollEvents(&handle, 1, 1);
    EXPECT_EQ(headless::clockMs(), 11u);
    pollEvents(&handle, 1, 1);
    EXPECT_EQ(handle.clicked, button);
    EXPECT_EQ(headless::clockMs(), 30u);
    EXPECT_EQ(records[button].codes.back(), EVENT_CLICK);
}

TEST_F(EventsTest, DragOffAndReleaseIsNoClick) {
    GADGET* button = addGadget(100, 100, 40, 24);
    press(110, 110);
    EXPECT_EQ(pass(button), Codes{EVENT_PRESS});
    EXPECT_EQ(pass(button), Codes{EVENT_HOLD_INSIDE});
    headless::movePointer(200, 110);
    EXPECT_EQ(pass(button), Codes{EVENT_HOLD_OUTSIDE});
    headless::setButtons(0);
    EXPECT_EQ(pass(button), Codes{EVENT_RELEASE_OUTSIDE});
    EXPECT_EQ(handle.clicked, nullptr);
}

TEST_F(EventsTest, DragBackOntoThePressedGadgetClicksAtTheRelease) {
    GADGET* button = addGadget(100, 100, 40, 24);
    press(110, 110);
    pass(button);
    headless::movePointer(200, 110);
    EXPECT_EQ(pass(button), Codes{EVENT_HOLD_OUTSIDE});
    headless::movePointer(139, 123);
    EXPECT_EQ(pass(button), Codes{EVENT_HOLD_INSIDE});
    headless::setButtons(0);
    EXPECT_EQ(pass(button), Codes{EVENT_CLICK});
    EXPECT_EQ(handle.clicked, button);
}

TEST_F(EventsTest, PointerLeavingTheWindowWhileHeldReleasesOutside) {
    GADGET* button = addGadget(100, 100, 40, 24);
    press(110, 110);
    pass(button);
    headless::movePointerOutside();
    EXPECT_EQ(pass(button), Codes{EVENT_RELEASE_OUTSIDE});
    EXPECT_EQ(pass(button), Codes{EVENT_IDLE});
    EXPECT_EQ(handle.clicked, nullptr);
}

TEST_F(EventsTest, PressBesideEveryGadgetAndReleaseOnAButtonSendsNothing) {
    GADGET* left = addGadget(28, 444, 40, 24);
    GADGET* right = addGadget(76, 444, 40, 24);
    press(10, 10);
    pollEvents(&handle, -1, 1);
    EXPECT_EQ(handle.pressed, nullptr);
    headless::movePointer(90, 450);
    pollEvents(&handle, -1, 1);
    headless::setButtons(0);
    pollEvents(&handle, -1, 1);
    pollEvents(&handle, -1, 1);
    EXPECT_TRUE(records[left].codes.empty());
    EXPECT_TRUE(records[right].codes.empty());
    EXPECT_EQ(handle.clicked, nullptr);
}

TEST_F(EventsTest, PressOnOneGadgetAndReleaseOnAnotherClicksNeither) {
    GADGET* left = addGadget(28, 444, 40, 24);
    GADGET* right = addGadget(76, 444, 40, 24);
    press(30, 450);
    pass(left);
    headless::movePointer(90, 450);
    pass(left);
    headless::setButtons(0);
    EXPECT_EQ(pass(left), Codes{EVENT_RELEASE_OUTSIDE});
    EXPECT_TRUE(records[right].codes.empty());
    EXPECT_EQ(handle.clicked, nullptr);
}

TEST_F(EventsTest, OverlappingGadgetsTheLaterInTheListTakesThePress) {
    GADGET* under = addGadget(100, 100, 50, 50);
    GADGET* over = addGadget(120, 120, 50, 50);
    press(130, 130);
    pollEvents(&handle, -1, 1);
    EXPECT_EQ(handle.pressed, over);
    EXPECT_TRUE(records[under].codes.empty());
    // Both lie under the pointer, so both count as hovered.
    EXPECT_EQ(under->hover, 1);
    EXPECT_EQ(over->hover, 1);
    // Where only the first lies, it is hit.
    headless::setButtons(0);
    pollEvents(&handle, -1, 1);
    press(110, 110);
    pollEvents(&handle, -1, 1);
    EXPECT_EQ(handle.pressed, under);
}

TEST_F(EventsTest, EdgesLeftAndTopInsideRightAndBottomOutside) {
    GADGET* gadget = addGadget(100, 200, 40, 24);
    struct Point {
        int x, y;
        bool inside;
    };
    const Point points[] = {
        {100, 200, true}, {139, 223, true},  {140, 200, false}, {100, 224, false},
        {99, 210, false}, {120, 199, false}, {139, 200, true},  {100, 223, true},
    };
    for (const Point& point : points) {
        SCOPED_TRACE(testing::Message() << point.x << ", " << point.y);
        headless::movePointer(point.x, point.y);
        pollInput(1);
        EXPECT_EQ(hitTest(&handle), point.inside ? gadget : nullptr);
    }
}

TEST_F(EventsTest, HiddenAndDisabledGadgetsAreNeverHit) {
    GADGET* gadget = addGadget(0, 0, 20, 20);
    headless::movePointer(5, 5);
    pollInput(1);
    for (std::int32_t status : {GADGET_HIDDEN, GADGET_DISABLED}) {
        gadget->status = status;
        EXPECT_EQ(hitTest(&handle), nullptr);
    }
}

TEST_F(EventsTest, MaskPixelsOfTransparentColourAreNotPartOfTheGadget) {
    GADGET* under = addGadget(0, 0, 10, 10);
    GADGET* shaped = addGadget(0, 0, 10, 10);
    shaped->mask = platform::createImage(10, 10);
    ASSERT_NE(shaped->mask, nullptr);
    platform::setImagePixel(*shaped->mask, 3, 4, TRANSPARENT);
    platform::setImagePixel(*shaped->mask, 4, 4, 0xFFFF00FE); // close is not transparent

    struct Point {
        int x, y;
        GADGET* hit;
    };
    const Point points[] = {{3, 4, under}, {4, 4, shaped}, {0, 0, shaped}, {4, 3, shaped}};
    for (const Point& point : points) {
        SCOPED_TRACE(testing::Message() << point.x << ", " << point.y);
        headless::movePointer(point.x, point.y);
        pollInput(1);
        EXPECT_EQ(hitTest(&handle), point.hit);
    }
    under->status = GADGET_HIDDEN;
    headless::movePointer(3, 4);
    pollInput(1);
    EXPECT_EQ(hitTest(&handle), nullptr);
}

TEST_F(EventsTest, WheelTwiceTheSameWayReachesTheGadgetUnderThePointerBothTimes) {
    GADGET* gadget = addGadget(0, 0, 50, 50);
    GADGET* other = addGadget(100, 0, 50, 50);
    headless::movePointer(10, 10);
    pass(gadget);
    for (int turn = 0; turn < 2; ++turn) {
        headless::turnWheel(-1);
        EXPECT_EQ(pass(gadget), Codes{EVENT_WHEEL});
        EXPECT_EQ(inputState.wheelDir, 1);
        EXPECT_EQ(handle.wheelTarget, gadget);
    }
    EXPECT_TRUE(records[other].codes.empty());
    EXPECT_EQ(pass(gadget), Codes{});
}

TEST_F(EventsTest, ExitedAndEnteredAreRedrawnByUpdateHover) {
    GADGET* a = addGadget(0, 0, 10, 10);
    GADGET* b = addGadget(20, 0, 10, 10);
    headless::movePointer(5, 5);
    pollInput(1);
    updateHover(&handle);
    EXPECT_EQ(handle.entered, a);
    EXPECT_EQ(handle.exited, nullptr);
    EXPECT_EQ(records[a].draws, 1);
    headless::movePointer(25, 5);
    pollInput(1);
    updateHover(&handle);
    EXPECT_EQ(handle.entered, b);
    EXPECT_EQ(handle.exited, a);
    EXPECT_EQ(records[a].draws, 2);
    EXPECT_EQ(records[b].draws, 1);
    updateHover(&handle);
    EXPECT_EQ(handle.entered, nullptr);
    EXPECT_EQ(records[b].draws, 1);
}

TEST_F(EventsTest, NoGadgetsTheClickedGadgetKeepsItsValue) {
    EVENTHANDLE empty;
    GADGET stray;
    empty.clicked = &stray;
    pollEvents(&empty, -1, 1);
    EXPECT_EQ(empty.clicked, &stray);
    empty.clicked = nullptr;
}

// ---------------------------------------------------------------------------------------------
// Focus and keys.

TEST_F(EventsTest, FocusIsGainedByAnsweringMinusOneAndLostToAnotherPress) {
    GADGET* field = addGadget(0, 0, 50, 20);
    GADGET* button = addGadget(0, 100, 50, 20);
    records[field].answers = {{EVENT_PRESS, -1}};
    press(5, 5);
    pass(field);
    EXPECT_EQ(handle.focus, field);
    headless::setButtons(0);
    pass(field);

    headless::pushKey("x");
    EXPECT_EQ(pass(field), (Codes{EVENT_IDLE, EVENT_KEY}));
    EXPECT_EQ(handle.clicked, nullptr);

    // A press beside every gadget keeps the focus.
    press(300, 300);
    pass(field);
    headless::setButtons(0);
    pass(field);
    EXPECT_EQ(handle.focus, field);

    press(5, 105);
    EXPECT_EQ(pass(field), Codes{EVENT_FOCUS_LOST});
    EXPECT_EQ(records[button].codes, Codes{EVENT_PRESS});
    EXPECT_EQ(handle.focus, nullptr);
}

TEST_F(EventsTest, KeyAnswersClickAndGiveUpTheFocus) {
    GADGET* field = addGadget(0, 0, 50, 20);
    records[field].answers = {{EVENT_PRESS, -1}, {EVENT_KEY, 2}};
    press(5, 5);
    pass(field);
    headless::setButtons(0);
    pass(field);

    headless::pushKey("a");
    pass(field);
    EXPECT_EQ(handle.clicked, field);
    EXPECT_EQ(handle.focus, field);

    records[field].answers[EVENT_KEY] = -1;
    headless::pushKey("\r");
    EXPECT_EQ(pass(field), (Codes{EVENT_IDLE, EVENT_KEY, EVENT_FOCUS_LOST}));
    EXPECT_EQ(handle.clicked, field);
    EXPECT_EQ(handle.focus, nullptr);

    headless::pushKey("b");
    EXPECT_EQ(pass(field), Codes{EVENT_IDLE}); // no focus: the key is dropped
}

TEST_F(EventsTest, InactiveFocusGadgetKeepsTheFocusAndGetsNoKey) {
    GADGET* field = addGadget(0, 0, 50, 20);
    records[field].answers = {{EVENT_PRESS, -1}};
    press(5, 5);
    pass(field);
    headless::setButtons(0);
    pass(field);
    field->status = GADGET_DISABLED;
    headless::pushKey("a");
    EXPECT_EQ(pass(field), Codes{EVENT_IDLE});
    EXPECT_EQ(handle.focus, field);
    EXPECT_EQ(handle.clicked, nullptr);
}

TEST_F(EventsTest, PressedGadgetsAnswerDoesNotDecideForAnInactiveFocusGadget) {
    // The gadget holding the focus was pressed last and answers -1 to idle passes; it is
    // disabled when a key arrives. It gets no key, so no answer to a key may make it clicked
    // or take the focus away: the -1 is its answer to code 0, which only keeps the focus.
    GADGET* field = addGadget(0, 0, 50, 20);
    records[field].answers = {{EVENT_PRESS, -1}};
    press(5, 5);
    pass(field);
    headless::setButtons(0);
    pass(field);
    ASSERT_EQ(handle.focus, field);
    field->status = GADGET_DISABLED;
    records[field].answers = {{EVENT_IDLE, -1}};
    headless::pushKey("b");
    EXPECT_EQ(pass(field), Codes{EVENT_IDLE});
    EXPECT_EQ(handle.clicked, nullptr);
    EXPECT_EQ(handle.focus, field);
}

// ---------------------------------------------------------------------------------------------
// Showing, hiding and the invokers.

TEST_F(EventsTest, RestoreAfterHideMakesAnActiveGadgetActiveAgain) {
    GADGET* gadget = addGadget(0, 0, 10, 10);
    gadget->status = GADGET_HIDDEN;
    showGadget(gadget);
    EXPECT_EQ(gadget->status, GADGET_ACTIVE);
    hideGadget(gadget);
    EXPECT_EQ(gadget->status, GADGET_HIDDEN);
    EXPECT_EQ(gadget->savedStatus, GADGET_ACTIVE);
    restoreGadget(gadget);
    EXPECT_EQ(gadget->status, GADGET_ACTIVE);
    // The restore saved the hidden status again: a second restore goes back there.
    restoreGadget(gadget);
    EXPECT_EQ(gadget->status, GADGET_HIDDEN);
    EXPECT_EQ(records[gadget].draws, 4);

    disableGadget(gadget);
    showGadget(gadget);
    restoreGadget(gadget);
    EXPECT_EQ(gadget->status, GADGET_DISABLED);
    gadget->savedStatus = 5;
    restoreGadget(gadget);
    EXPECT_EQ(gadget->status, GADGET_DISABLED);
    EXPECT_EQ(records[gadget].draws, 7);
}

TEST_F(EventsTest, ShowClearsHoverAndDraws) {
    GADGET* gadget = addGadget(0, 0, 10, 10);
    gadget->hover = 1;
    showGadget(gadget);
    EXPECT_EQ(gadget->hover, 0);
    EXPECT_EQ(records[gadget].draws, 1);
}

TEST_F(EventsTest, RunsStopAfterTheLastGadgetOrAtTheEndOfTheList) {
    std::vector<GADGET*> gadgets;
    for (int i = 0; i < 5; ++i) {
        gadgets.push_back(addGadget(10 * i, 0, 10, 10));
        gadgets.back()->status = GADGET_HIDDEN;
    }
    showGadgets(gadgets[1], gadgets[3]);
    const std::int32_t shown[] = {0, 1, 1, 1, 0};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(gadgets[static_cast<std::size_t>(i)]->status, shown[i]) << i;
    }
    disableGadgets(gadgets[2], nullptr);
    EXPECT_EQ(gadgets[4]->status, GADGET_DISABLED);
    hideGadgets(gadgets[0], gadgets[4]);
    restoreGadgets(gadgets[0], gadgets[4]);
    const std::int32_t restored[] = {0, 1, 2, 2, 2};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(gadgets[static_cast<std::size_t>(i)]->status, restored[i]) << i;
    }
}

TEST_F(EventsTest, ChildrenFollowOnlyAGadgetWithAChildHandle) {
    GADGET* parent = addGadget(0, 0, 100, 100);
    GADGET* loose = addGadget(0, 0, 10, 10);
    parent->children[0] = loose;
    hideGadget(parent);
    EXPECT_EQ(loose->status, GADGET_ACTIVE);

    parent->childHandle = new EVENTHANDLE();
    GADGET* first = addGadget(10, 10, 10, 10, parent->childHandle);
    GADGET* last = addGadget(30, 10, 10, 10, parent->childHandle);
    parent->children[0] = first;
    parent->children[7] = last;
    disableGadget(parent);
    EXPECT_EQ(first->status, GADGET_DISABLED);
    EXPECT_EQ(last->status, GADGET_DISABLED);
    EXPECT_EQ(records[last].draws, 1);
    restoreGadget(parent);
    EXPECT_EQ(parent->status, GADGET_HIDDEN);
    EXPECT_EQ(first->status, GADGET_HIDDEN);
    EXPECT_EQ(loose->status, GADGET_ACTIVE);
}

TEST_F(EventsTest, Invokers) {
    GADGET* gadget = addGadget(0, 0, 10, 10);
    setGadgetValue(gadget, 3);
    EXPECT_EQ(getGadgetValue(gadget), 3);
    EXPECT_EQ(records[gadget].draws, 1);
    redrawGadget(gadget);
    EXPECT_EQ(records[gadget].draws, 2);
    EXPECT_EQ(sendEvent(gadget, EVENT_CLICK), 1);
    EXPECT_EQ(records[gadget].codes, Codes{EVENT_CLICK});
    setGadgetText(gadget, "caption");
    EXPECT_EQ(gadget->text, "caption");
    EXPECT_EQ(records[gadget].updates, 1);
    updateGadget(gadget);
    EXPECT_EQ(records[gadget].updates, 2);
}

} // namespace
} // namespace VESKA
