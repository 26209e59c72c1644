// Sections: pollInput · pollEvents · dispatch and hit test · showing and hiding · invokers.
#include "toolkit/events.h"

#include "toolkit/menu.h"
#include "toolkit/theme.h"

#include <cassert>

namespace VESKA {

namespace {

// Button state after one poll, from the state before and whether the button is down now.
std::int32_t nextButtonState(std::int32_t old, bool down) {
    const bool wasDown = old == BUTTON_PRESSED || old == BUTTON_HELD;
    if (down) {
        return wasDown ? BUTTON_HELD : BUTTON_PRESSED;
    }
    return wasDown ? BUTTON_RELEASED : BUTTON_IDLE;
}

GADGET* asGadget(NODE* node) {
    return static_cast<GADGET*>(node);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// pollInput.

std::int32_t pollInput(std::int32_t closeEnabled) {
    INPUTSTATE& in = inputState;
    in.keyText.clear();
    in.keyCode = -1;
    in.keyExtended = 0;

    in.prevX = in.mouseX;
    in.prevY = in.mouseY;
    in.prevLeft = in.leftState;
    in.prevMiddle = in.middleState;
    in.prevRight = in.rightState;
    in.prevWheelCount = in.wheelCount;

    const platform::MouseState mouse = platform::queryMouse();
    in.mouseX = mouse.x;
    in.mouseY = mouse.y;
    in.wheelCount = mouse.wheel;
    in.keyText = platform::readKey();

    if (in.mouseX < 0 || in.mouseY < 0) {
        // Outside the window the buttons count as up, and wheel turns are not ours.
        in.leftState = nextButtonState(in.leftState, false);
        in.middleState = nextButtonState(in.middleState, false);
        in.rightState = nextButtonState(in.rightState, false);
        in.wheelCount = in.prevWheelCount;
    } else {
        in.leftState = nextButtonState(in.leftState, (mouse.buttons & 1) != 0);
        in.middleState = nextButtonState(in.middleState, (mouse.buttons & 4) != 0);
        in.rightState = nextButtonState(in.rightState, (mouse.buttons & 2) != 0);
    }

    std::int32_t changed = in.mouseX != in.prevX || in.mouseY != in.prevY ||
                                   in.leftState != in.prevLeft || in.middleState != in.prevMiddle ||
                                   in.rightState != in.prevRight
                               ? 1
                               : 0;

    in.prevWheelDir = in.wheelDir;
    const std::int32_t wheelDelta = in.prevWheelCount - in.wheelCount;
    in.wheelDir = wheelDelta > 0 ? 1 : wheelDelta < 0 ? -1 : 0;
    // A wheel that keeps turning the same way is one change, not one per poll.
    if (in.wheelDir != 0 && in.wheelDir != in.prevWheelDir) {
        changed = 1;
    }

    if (!in.keyText.empty()) {
        if (in.keyText.size() == 2) {
            in.keyExtended = static_cast<unsigned char>(in.keyText.front());
            in.keyText.erase(0, 1);
        } else if (in.keyText.size() > 2) {
            // The platform delivers one character or a prefixed pair; keep the record's
            // promise of one character if it ever delivers more.
            in.keyText.resize(1);
        }
        in.keyCode = static_cast<unsigned char>(in.keyText.front());
        changed = 1;
    }

    if (in.keyExtended != 0 && in.keyCode == platform::KEY_CLOSE && closeEnabled == 1) {
        in.closeRequest = 1;
        changed = 1;
    }
    return changed;
}

// ---------------------------------------------------------------------------------------------
// pollEvents.

void pollEvents(EVENTHANDLE* handle, std::int32_t wait, std::int32_t closeEnabled) {
    assert(handle != nullptr && "pollEvents needs the application's event handle");
    if (handle == nullptr) {
        return;
    }
    bool done = false;
    while (!done) {
        if (wait >= 0) {
            platform::sleepMs(1);
        }
        done = pollInput(closeEnabled) != 0;
        if (inputState.closeRequest == 1 && closeEnabled == 1) {
            handle->quit = 1;
            done = true;
        }
        if (handle->menuEnabled != 0) {
            runMenus(handle);
        }
        if (handle->openMenu == nullptr) {
            dispatchGadgets(handle);
        }
        if (handle->clicked != nullptr || handle->chosenItem != nullptr || wait < 1) {
            done = true;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Dispatch and hit test.

void dispatchGadgets(EVENTHANDLE* handle) {
    if (handle->gadgets == nullptr || handle->gadgets->first == nullptr) {
        return;
    }
    const INPUTSTATE& in = inputState;
    std::int32_t result = 0;
    std::int32_t code = EVENT_IDLE;
    handle->clicked = nullptr;

    if (in.wheelDir != 0) {
        handle->wheelTarget = hitTest(handle);
        if (handle->wheelTarget != nullptr) {
            sendEvent(handle->wheelTarget, EVENT_WHEEL);
        }
    }

    if (handle->lastLeftState == BUTTON_RELEASED &&
        (in.leftState == BUTTON_PRESSED || in.leftState == BUTTON_HELD)) {
        handle->pressed = nullptr;
    }

    switch (in.leftState) {
    case BUTTON_PRESSED:
        handle->pressed = nullptr;
        handle->underMouse = nullptr;
        handle->pressed = hitTest(handle);
        if (handle->pressed != nullptr) {
            code = EVENT_PRESS;
        }
        break;
    case BUTTON_HELD:
        if (handle->pressed != nullptr) {
            handle->underMouse = hitTest(handle);
            code = handle->underMouse == handle->pressed ? EVENT_HOLD_INSIDE : EVENT_HOLD_OUTSIDE;
        }
        break;
    case BUTTON_RELEASED:
        if (handle->pressed != nullptr) {
            handle->underMouse = hitTest(handle);
            code = handle->underMouse == handle->pressed ? EVENT_CLICK : EVENT_RELEASE_OUTSIDE;
        }
        break;
    default:
        break;
    }
    handle->lastLeftState = in.leftState;

    if (handle->pressed != nullptr) {
        result = sendEvent(handle->pressed, code);
    }
    if (result > 0) {
        handle->clicked = handle->pressed;
    }
    if (handle->focus != nullptr && handle->pressed != nullptr &&
        handle->focus != handle->pressed) {
        sendEvent(handle->focus, EVENT_FOCUS_LOST);
        handle->focus = nullptr;
    }
    if (result == -1) {
        handle->focus = handle->pressed;
    }

    // Only the key's own answer decides about the focus gadget: the pressed gadget's answer
    // must not make an inactive focus gadget clicked or cost it the focus.
    if (!in.keyText.empty() && handle->focus != nullptr && handle->focus->status == GADGET_ACTIVE) {
        const std::int32_t keyResult = sendEvent(handle->focus, EVENT_KEY);
        if (keyResult != 0) {
            handle->clicked = handle->focus;
        }
        if (keyResult == -1) {
            sendEvent(handle->focus, EVENT_FOCUS_LOST);
            handle->focus = nullptr;
        }
    }
}

GADGET* hitTest(EVENTHANDLE* handle) {
    handle->entered = nullptr;
    handle->exited = nullptr;
    if (handle->gadgets == nullptr) {
        return nullptr;
    }
    const std::int32_t mx = inputState.mouseX;
    const std::int32_t my = inputState.mouseY;
    GADGET* found = nullptr;
    // No early exit: the last hit in list order wins, so later gadgets lie on top.
    for (NODE* node = handle->gadgets->first; node != nullptr; node = node->next) {
        GADGET* gadget = asGadget(node);
        bool hit = gadget->status == GADGET_ACTIVE && gadget->x <= mx &&
                   mx < gadget->x + gadget->w && gadget->y <= my && my < gadget->y + gadget->h;
        if (hit && gadget->mask != nullptr) {
            hit = platform::getImagePixel(*gadget->mask, mx - gadget->x, my - gadget->y) !=
                  TRANSPARENT;
        }
        if (hit) {
            found = gadget;
            if (gadget->hover == 0) {
                handle->entered = gadget;
            }
            gadget->hover = 1;
        } else if (gadget->hover == 1) {
            handle->exited = gadget;
            gadget->hover = 0;
        }
    }
    return found;
}

void updateHover(EVENTHANDLE* handle) {
    hitTest(handle);
    if (handle->entered != nullptr) {
        redrawGadget(handle->entered);
    }
    if (handle->exited != nullptr) {
        redrawGadget(handle->exited);
    }
}

// ---------------------------------------------------------------------------------------------
// Showing and hiding.

namespace {

void setStatus(GADGET* gadget, std::int32_t status) {
    assert(gadget != nullptr && "show, hide and disable need a gadget");
    if (gadget == nullptr) {
        return;
    }
    gadget->savedStatus = gadget->status;
    gadget->status = status;
    gadget->hover = 0;
    redrawGadget(gadget);
    if (gadget->childHandle != nullptr) {
        for (GADGET* child : gadget->children) {
            if (child != nullptr) {
                setStatus(child, status);
            }
        }
    }
}

template <typename Operation> void forRun(GADGET* first, GADGET* last, Operation operation) {
    assert(first != nullptr && "a gadget run needs its first gadget");
    for (GADGET* gadget = first; gadget != nullptr; gadget = asGadget(gadget->next)) {
        operation(gadget);
        if (gadget == last) {
            break;
        }
    }
}

} // namespace

void showGadget(GADGET* gadget) {
    setStatus(gadget, GADGET_ACTIVE);
}

void disableGadget(GADGET* gadget) {
    setStatus(gadget, GADGET_DISABLED);
}

void hideGadget(GADGET* gadget) {
    setStatus(gadget, GADGET_HIDDEN);
}

void restoreGadget(GADGET* gadget) {
    switch (gadget->savedStatus) {
    case GADGET_HIDDEN:
        hideGadget(gadget);
        break;
    case GADGET_ACTIVE:
        showGadget(gadget);
        break;
    case GADGET_DISABLED:
        disableGadget(gadget);
        break;
    default:
        break;
    }
}

void showGadgets(GADGET* first, GADGET* last) {
    forRun(first, last, showGadget);
}

void disableGadgets(GADGET* first, GADGET* last) {
    forRun(first, last, disableGadget);
}

void hideGadgets(GADGET* first, GADGET* last) {
    forRun(first, last, hideGadget);
}

void restoreGadgets(GADGET* first, GADGET* last) {
    forRun(first, last, restoreGadget);
}

// ---------------------------------------------------------------------------------------------
// Invokers.

std::int32_t getGadgetValue(const GADGET* gadget) {
    return gadget->value;
}

void setGadgetValue(GADGET* gadget, std::int32_t value) {
    gadget->value = value;
    redrawGadget(gadget);
}

void redrawGadget(GADGET* gadget) {
    assert(gadget->draw != nullptr && "gadget without draw: its kind must set it at creation");
    gadget->draw(gadget);
}

std::int32_t sendEvent(GADGET* gadget, std::int32_t code) {
    assert(gadget->handleEvent != nullptr &&
           "gadget without handleEvent: its kind must set it at creation");
    return gadget->handleEvent(gadget, code);
}

void updateGadget(GADGET* gadget) {
    assert(gadget->update != nullptr &&
           "gadget without update: set it before using setGadgetText or updateGadget");
    gadget->update(gadget);
}

void setGadgetText(GADGET* gadget, std::string_view text) {
    gadget->text = text;
    updateGadget(gadget);
}

} // namespace VESKA
