#include "toolkit/button.h"

#include "toolkit/events.h"
#include "toolkit/theme.h"

#include <cassert>
#include <string>

namespace VESKA {
namespace {

// Rounds down for negative quotients too, so a caption wider than its button starts left of it.
int floorDiv2(int value) {
    return value >= 0 ? value / 2 : -((1 - value) / 2);
}

} // namespace

GADGET* createButton(EVENTHANDLE* handle, int x, int y, int w, int h, std::string_view caption) {
    assert(handle && handle->gadgets && "createButton needs a constructed event handle");
    auto* gadget = static_cast<GADGET*>(listAppendNew(handle->gadgets, TAG_GADGET));
    if (!gadget) {
        return nullptr;
    }
    gadget->owner = handle;
    gadget->value = 0;
    gadget->status = GADGET_HIDDEN;
    gadget->x = x;
    gadget->y = y;
    gadget->w = w;
    gadget->h = h;
    gadget->text = std::string(caption);
    gadget->draw = drawButton;
    gadget->handleEvent = buttonEvent;
    gadget->update = drawButton;
    captureBackground(gadget);
    return gadget;
}

void drawButton(GADGET* gadget) {
    assert(gadget && "drawButton needs a gadget");
    const int x = gadget->x;
    const int y = gadget->y;
    const int w = gadget->w;
    const int h = gadget->h;
    const bool down = gadget->value != 0;

    platform::lock();
    if (gadget->status == GADGET_HIDDEN) {
        if (gadget->background) {
            platform::putImage(*gadget->background, x, y);
        }
    } else {
        drawButtonFrame(x, y, w, h, down);
        drawShadedPanel(x + 1, y + 1, w - 2, h - 2, theme.buttonFaceColor, down);
        if (!gadget->text.empty()) {
            const int textWidth = 8 * static_cast<int>(gadget->text.size());
            platform::drawText(x + floorDiv2(w - textWidth), y + floorDiv2(h - theme.fontHeight),
                               gadget->text, theme.buttonTextColor);
        }
        if (gadget->status == GADGET_DISABLED && gadget->background) {
            platform::blendImage(*gadget->background, x, y, theme.disabledOpacity);
        }
    }
    platform::unlock();
}

std::int32_t buttonEvent(GADGET* gadget, std::int32_t code) {
    switch (code) {
    case EVENT_PRESS:
    case EVENT_HOLD_INSIDE:
        setGadgetValue(gadget, 1);
        return 0;
    case EVENT_HOLD_OUTSIDE:
    case EVENT_RELEASE_OUTSIDE:
        setGadgetValue(gadget, 0);
        return 0;
    case EVENT_CLICK:
        setGadgetValue(gadget, 0);
        return 1;
    default:
        return 0;
    }
}

} // namespace VESKA
