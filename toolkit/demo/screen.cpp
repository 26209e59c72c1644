#include "toolkit/demo/screen.h"

#include <string>

namespace demo {
namespace {

using namespace VESKA;

// The menu bar is one header band across the window; a header's plain look is its slice of
// that band, so un-highlighting never needs to know the neighbours.
Color barColor() {
    return theme.buttonFaceColor;
}
Color highlightColor() {
    return theme.spareColor2;
}
Color greyedTextColor() {
    return shadeColor(theme.faceColor, -theme.shadeDepth / 2);
}

void paintTitle(MENUHEADER* header, bool on) {
    if (on) {
        fillRect(header->x, 0, header->w, header->h, highlightColor());
    } else {
        drawHeaderBand(header->x, 0, header->w, header->h, barColor());
    }
    const Color ink = header->enabled != 1 ? greyedTextColor() : on ? 0xFFFFFF : theme.textColor;
    platform::drawText(header->x + 8, 2, header->title, ink);
}

void onHeaderHighlight(MENUHEADER* header, std::int32_t on) {
    platform::lock();
    paintTitle(header, on != 0);
    platform::unlock();
}

void paintItem(const MENUITEM* item, bool on, bool menuEnabled) {
    const bool usable = item->enabled == 1 && menuEnabled;
    // A disabled item never shows the highlight.
    const bool lit = on && usable;
    fillRect(item->x, item->y, item->w, item->h, lit ? highlightColor() : theme.faceColor);
    const Color ink = !usable ? greyedTextColor() : lit ? 0xFFFFFF : theme.textColor;
    platform::drawText(item->x + 6, item->y + 2, item->text, ink);
}

// The toolkit highlights items of enabled menus only.
void onItemHighlight(MENUITEM* item, std::int32_t on) {
    platform::lock();
    paintItem(item, on != 0, true);
    platform::unlock();
}

int menuHeight(const MENUHEADER* header) {
    int items = 0;
    for (const MENUITEM* item = header->firstItem; item; item = item->nextItem) {
        ++items;
    }
    return items * ITEM_HEIGHT + 4;
}

// Opening saves what lies under the drop-down in the header's image; closing puts it back.
void onOpen(EVENTHANDLE*, MENUHEADER* header) {
    const int h = menuHeight(header);
    header->image = platform::createImage(MENU_WIDTH, h);
    if (header->image) {
        platform::copyToImage(*header->image, header->x, BAR_HEIGHT);
    }
    platform::lock();
    fillRect(header->x, BAR_HEIGHT, MENU_WIDTH, h, theme.faceColor);
    drawBevel(header->x, BAR_HEIGHT, MENU_WIDTH, h, theme.faceColor, false);
    for (const MENUITEM* item = header->firstItem; item; item = item->nextItem) {
        paintItem(item, false, header->enabled == 1);
    }
    platform::unlock();
}

void onClose(EVENTHANDLE*, MENUHEADER* header) {
    if (header->image) {
        platform::lock();
        platform::putImage(*header->image, header->x, BAR_HEIGHT);
        platform::unlock();
        header->image.reset();
    }
}

MENUHEADER* addHeader(EVENTHANDLE& handle, int x, int w, std::string_view title, bool enabled) {
    auto* header = new MENUHEADER;
    header->x = x;
    header->w = w;
    header->h = BAR_HEIGHT;
    header->title = std::string(title);
    header->enabled = enabled ? 1 : 0;
    header->onOpen = onOpen;
    header->onClose = onClose;
    header->onHighlight = onHeaderHighlight;
    addMenu(&handle, header);
    return header;
}

void addItem(MENUHEADER* header, std::string_view text, int id, bool enabled) {
    int row = 0;
    for (const MENUITEM* item = header->firstItem; item; item = item->nextItem) {
        ++row;
    }
    auto* item = new MENUITEM;
    item->x = header->x + 2;
    item->y = BAR_HEIGHT + 2 + row * ITEM_HEIGHT;
    item->w = MENU_WIDTH - 4;
    item->h = ITEM_HEIGHT;
    item->text = std::string(text);
    item->id = id;
    item->enabled = enabled ? 1 : 0;
    item->onHighlight = onItemHighlight;
    addMenuItem(header, item);
}

} // namespace

void paintScene() {
    platform::lock();
    drawHeaderBand(0, 0, WIDTH, BAR_HEIGHT, barColor());

    drawGroupFrame(16, 44, 176, 72, "Settings");

    drawBevel(16, 136, 40, 24, theme.faceColor, false);
    drawBevel(64, 136, 40, 24, theme.faceColor, true);
    drawRaisedFrame(112, 136, 40, 24, theme.buttonFaceColor);
    drawCheckSquare(164, 142, 12, 12, theme.buttonFaceColor, true);
    drawCheckMark(166, 144, theme.buttonTextColor);
    drawRadioRing(188, 142);
    drawRadioDot(190, 144, theme.spareColor2);
    drawArrow(212, 144, 4, ARROW_LEFT, theme.textColor);
    drawArrow(224, 144, 4, ARROW_RIGHT, theme.textColor);
    drawArrow(236, 146, 4, ARROW_UP, theme.textColor);
    drawArrow(248, 146, 4, ARROW_DOWN, theme.textColor);
    drawMagnifier(268, 142, false);
    drawMagnifier(284, 142, true);
    drawSeparator(306, 134, 28, true);
    drawSeparator(16, 176, 368, false);
    drawEtchedLine(16, 252, 368);
    platform::drawText(16, 188, "Pick a menu item, tick a box, or", theme.textColor);
    platform::drawText(16, 204, "press a button.", theme.textColor);
    platform::unlock();
}

Gadgets createGadgets(EVENTHANDLE& handle) {
    Gadgets g;
    g.sound = createCheckBox(&handle, 28, 64, 1, "Sound");
    g.hints = createCheckBox(&handle, 28, 88, 0, "Hints");
    g.hello = createButton(&handle, 216, 56, 72, 24, "Hello");
    g.greyed = createButton(&handle, 300, 56, 80, 24, "Greyed");
    showGadgets(g.sound, g.hello);
    disableGadget(g.greyed);
    return g;
}

void createMenus(EVENTHANDLE& handle) {
    MENUHEADER* file = addHeader(handle, 0, 48, "File", true);
    addItem(file, "New game", ID_NEW, true);
    addItem(file, "Open...", ID_OPEN, false);
    addItem(file, "Quit", ID_QUIT, true);
    MENUHEADER* options = addHeader(handle, 48, 72, "Options", true);
    addItem(options, "Fast", ID_FAST, true);
    addItem(options, "Slow", ID_SLOW, true);
    MENUHEADER* help = addHeader(handle, 120, 48, "Help", false);
    addItem(help, "About", ID_ABOUT, true);
    platform::lock();
    for (MENUHEADER* header = getFirstMenu(&handle); header; header = header->nextMenu) {
        paintTitle(header, false);
    }
    platform::unlock();
    setMenuEnabled(&handle, 1);
}

void showStatus(std::string_view text) {
    platform::lock();
    drawShadedPanel(STATUS_LINE.x, STATUS_LINE.y, STATUS_LINE.w, STATUS_LINE.h, theme.faceColor,
                    true);
    platform::drawText(STATUS_LINE.x + 8, STATUS_LINE.y + 4, text, theme.textColor);
    platform::unlock();
}

} // namespace demo
