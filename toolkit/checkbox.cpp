#include "toolkit/checkbox.h"

#include "toolkit/decor.h"
#include "toolkit/events.h"
#include "toolkit/theme.h"

#include <cassert>
#include <string>

namespace VESKA {
namespace {

// Codes the event handle never sends; an application sends them with sendEvent.
constexpr std::int32_t EVENT_POINTER_OVER = 6;
constexpr std::int32_t EVENT_POINTER_GONE = 7;

constexpr int SQUARE_SIZE = 12;
// Left edge of the caption relative to the check box: the square and a gap.
constexpr int CAPTION_OFFSET = 20;

int widthFor(std::string_view caption) {
    return 8 * static_cast<int>(caption.size()) + CAPTION_OFFSET;
}

} // namespace

GADGET* createCheckBox(EVENTHANDLE* handle, int x, int y, std::int32_t value,
                       std::string_view caption) {
    assert(handle && handle->gadgets && "createCheckBox needs a constructed event handle");
    auto* gadget = static_cast<GADGET*>(listAppendNew(handle->gadgets, TAG_GADGET));
    if (!gadget) {
        return nullptr;
    }
    gadget->owner = handle;
    gadget->value = value;
    gadget->status = GADGET_HIDDEN;
    gadget->x = x;
    gadget->y = y;
    gadget->w = caption.empty() ? 16 : widthFor(caption);
    gadget->h = theme.fontHeight == 8 ? SQUARE_SIZE : theme.fontHeight;
    gadget->text = std::string(caption);
    gadget->draw = drawCheckBox;
    gadget->handleEvent = checkBoxEvent;
    gadget->update = updateCheckBox;
    captureBackground(gadget);
    return gadget;
}

void drawCheckBox(GADGET* gadget) {
    assert(gadget && "drawCheckBox needs a gadget");
    const int x = gadget->x;
    const int y = gadget->y;
    // Truncating division: without a usable font h is 0 and the square sits 6 pixels up-left.
    const int textOffset = (gadget->h - theme.fontHeight) / 2;
    const int boxOffset = (gadget->h - SQUARE_SIZE) / 2;
    const bool ticked = gadget->value != 0;

    platform::lock();
    if (gadget->status == GADGET_HIDDEN) {
        if (gadget->background) {
            platform::putImage(*gadget->background, x, y);
        }
    } else {
        drawCheckSquare(x + boxOffset, y + boxOffset, SQUARE_SIZE, SQUARE_SIZE,
                        theme.buttonFaceColor, ticked);
        if (ticked) {
            drawCheckMark(x + boxOffset + 2, y + boxOffset + 2, theme.buttonTextColor);
        }
        platform::drawText(x + CAPTION_OFFSET, y + textOffset, gadget->text, theme.textColor);
        if (gadget->status == GADGET_DISABLED && gadget->background) {
            platform::blendImage(*gadget->background, x, y, theme.disabledOpacity);
        }
    }
    platform::unlock();
}

std::int32_t checkBoxEvent(GADGET* gadget, std::int32_t code) {
    switch (code) {
    case EVENT_CLICK:
        setGadgetValue(gadget, gadget->value != 0 ? 0 : 1);
        return 1;
    case EVENT_POINTER_OVER:
        gadget->hover = 1;
        redrawGadget(gadget);
        return 0;
    case EVENT_POINTER_GONE:
        gadget->hover = 0;
        redrawGadget(gadget);
        return 0;
    default:
        return 0;
    }
}

void updateCheckBox(GADGET* gadget) {
    assert(gadget && "updateCheckBox needs a gadget");
    // The old look goes first, whatever the status, so a shorter caption leaves nothing behind.
    if (gadget->background) {
        platform::putImage(*gadget->background, gadget->x, gadget->y);
    }
    gadget->w = widthFor(gadget->text);
    captureBackground(gadget);
    gadget->draw(gadget);
}

} // namespace VESKA
