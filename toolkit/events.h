// Input polling and event dispatch. The toolkit is polled, not called back: once per turn of
// its main loop the application calls pollEvents on its EVENTHANDLE, which refreshes the
// toolkit-wide INPUTSTATE, runs the handle's menus and sends event codes to its gadgets. The
// application then reads the handle's `clicked` and `quit`.
//
// Sections: input state · event codes · polling and dispatch · showing and hiding ·
// gadget procedure invokers.
//
// Every gadget in a handle's list must have `draw` and `handleEvent` (its kind sets them at
// creation); `update` is needed only where setGadgetText or updateGadget is used.
#pragma once

#include "toolkit/object.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace VESKA {

// ---------------------------------------------------------------------------------------------
// Input state. Only pollInput writes it (and the application's start-up, which sets
// closeRequest to 0); gadget kinds read it, e.g. the wheel direction on code 10 or the key on
// code 8.

// Button states.
inline constexpr std::int32_t BUTTON_IDLE = 0;     // up now and at the poll before
inline constexpr std::int32_t BUTTON_RELEASED = 1; // up now, down at the poll before
inline constexpr std::int32_t BUTTON_PRESSED = 2;  // down now, up at the poll before
inline constexpr std::int32_t BUTTON_HELD = 3;     // down now and at the poll before

struct INPUTSTATE {
    std::string keyText;          // key read in the last poll: empty or one character
    std::int32_t keyCode = 0;     // code of keyText's character; -1 when no key was read
    std::int32_t keyExtended = 0; // 255 for an extended key, else 0
    std::int32_t mouseX = 0;      // window pixels; negative outside the window
    std::int32_t mouseY = 0;
    std::int32_t leftState = 0; // BUTTON_IDLE .. BUTTON_HELD
    std::int32_t middleState = 0;
    std::int32_t rightState = 0;
    std::int32_t wheelDir = 0;     // +1 counter went down, -1 up, 0 still
    std::int32_t closeRequest = 0; // 1 once the close button was seen with close handling on
    std::int32_t prevX = 0;
    std::int32_t prevY = 0;
    std::int32_t prevLeft = 0;
    std::int32_t prevMiddle = 0;
    std::int32_t prevRight = 0;
    std::int32_t prevWheelDir = 0;
    std::int32_t wheelCount = 0; // the platform's wheel counter at the last poll
    std::int32_t prevWheelCount = 0;
};

// The toolkit-wide input state; all zero and empty at program start.
inline INPUTSTATE inputState;

// ---------------------------------------------------------------------------------------------
// Event codes sent to handleEvent. For codes 0..5 an answer above 0 makes the gadget the
// handle's `clicked` and -1 gives it the keyboard focus; for code 8 any nonzero answer makes
// the focus gadget `clicked`, and -1 also takes the focus away. Answers to 9 and 10 are
// ignored. Codes 6 and 7 are never sent by the handle; a kind may use them for itself.

inline constexpr std::int32_t EVENT_IDLE = 0;        // to `pressed` while the left button is up
inline constexpr std::int32_t EVENT_PRESS = 1;       // just pressed over the gadget
inline constexpr std::int32_t EVENT_HOLD_INSIDE = 2; // held, pointer over the pressed gadget
inline constexpr std::int32_t EVENT_HOLD_OUTSIDE = 3;
inline constexpr std::int32_t EVENT_CLICK = 4; // released over the pressed gadget
inline constexpr std::int32_t EVENT_RELEASE_OUTSIDE = 5;
inline constexpr std::int32_t EVENT_KEY = 8; // a key was read; to `focus`
inline constexpr std::int32_t EVENT_FOCUS_LOST = 9;
inline constexpr std::int32_t EVENT_WHEEL = 10; // to the gadget under the pointer

// ---------------------------------------------------------------------------------------------
// Polling and dispatch.

// Reads the pointer, the buttons, the wheel and one key into inputState. `closeEnabled` 1
// makes the window's close button (extended key 107) a close request. Returns 1 when anything
// in the state changed, else 0.
std::int32_t pollInput(std::int32_t closeEnabled);

// Passes of: 1 ms sleep (when wait >= 0), pollInput, close request → quit, menus (while
// menuEnabled), gadget dispatch (while no menu is open). wait -1: one pass without sleeping;
// 0: one pass; >= 1: until the input changes, the close request is seen, a gadget is clicked
// or a menu item is chosen.
void pollEvents(EVENTHANDLE* handle, std::int32_t wait, std::int32_t closeEnabled);

// One pass of event delivery to the handle's gadgets.
void dispatchGadgets(EVENTHANDLE* handle);

// The last active gadget in list order under the pointer (left and top edges inside, right and
// bottom outside, TRANSPARENT mask pixels not part of the gadget), or null. Updates every
// gadget's hover flag and the handle's entered and exited.
GADGET* hitTest(EVENTHANDLE* handle);

// hitTest, then draws the gadgets that were entered or exited.
void updateHover(EVENTHANDLE* handle);

// ---------------------------------------------------------------------------------------------
// Showing and hiding. Each saves the status, sets the new one, clears hover, draws the gadget
// and does the same for the gadget's children when it has a childHandle.

void showGadget(GADGET* gadget);
void disableGadget(GADGET* gadget);
void hideGadget(GADGET* gadget);
// Goes back to savedStatus (hidden, active or disabled); any other value does nothing.
void restoreGadget(GADGET* gadget);

// Runs from `first` along `next` up to and including `last` (or the end of the list).
void showGadgets(GADGET* first, GADGET* last);
void disableGadgets(GADGET* first, GADGET* last);
void hideGadgets(GADGET* first, GADGET* last);
void restoreGadgets(GADGET* first, GADGET* last);

// ---------------------------------------------------------------------------------------------
// Gadget procedure invokers, used by the gadget kinds.

std::int32_t getGadgetValue(const GADGET* gadget);
// Stores the value, then draws.
void setGadgetValue(GADGET* gadget, std::int32_t value);
void redrawGadget(GADGET* gadget);
std::int32_t sendEvent(GADGET* gadget, std::int32_t code);
void updateGadget(GADGET* gadget);
// Stores the caption, then calls update.
void setGadgetText(GADGET* gadget, std::string_view text);

} // namespace VESKA
