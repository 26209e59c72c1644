// Menus of an EVENTHANDLE: a bar of MENUHEADERs chained by nextMenu, each with MENUITEMs
// chained by nextItem. The toolkit only tracks the pointer (which menu opens and closes, which
// header and item are highlighted, which item was chosen); all painting is done by the
// procedures the application puts into each header and item. pollEvents runs runMenus once
// per pass while the handle's menuEnabled is nonzero.
//
// Ownership: the handle owns its headers and menuImage; a header owns its title, image and
// items; an item owns its text. Headers and items are made with new and handed over with
// addMenu and addMenuItem; the handle's destructor frees them (freeMenus).
//
// Every header of the bar must have onOpen, onClose and onHighlight, and every item
// onHighlight: the tracking calls them without testing them.
#pragma once

#include "toolkit/object.h"

#include <cstdint>
#include <string>

namespace VESKA {

using MenuProc = void (*)(EVENTHANDLE* handle, MENUHEADER* header);
using MenuHighlightProc = void (*)(MENUHEADER* header, std::int32_t on);
using ItemHighlightProc = void (*)(MENUITEM* item, std::int32_t on);

struct MENUHEADER : NODE {
    MENUHEADER* nextMenu = nullptr; // null for the last header of the bar
    std::int32_t enabled = 0;       // items can be highlighted and chosen only when 1
    std::int32_t x = 0;             // title area: x .. x + w - 1, rows 0 .. h - 1
    std::int32_t w = 0;
    std::int32_t h = 0;
    std::string title;             // owned
    platform::ImagePtr image;      // kept for the header's procedures; owned
    MENUITEM* firstItem = nullptr; // owned, chained by MENUITEM::nextItem
    MenuProc onClose = nullptr;
    MenuProc onOpen = nullptr;
    MenuHighlightProc onHighlight = nullptr;

    MENUHEADER() = default;
    // Releases the title, the image and every item of the chain.
    ~MENUHEADER();
};

struct MENUITEM : NODE {
    MENUITEM* nextItem = nullptr; // null for the last item of the menu
    std::int32_t enabled = 0;     // can be chosen only when 1
    std::int32_t x = 0;           // item area in window pixels
    std::int32_t y = 0;
    std::int32_t w = 0;
    std::int32_t h = 0;
    std::string text;      // owned
    std::int32_t id = 0;   // reported as chosenItemId
    std::int32_t data = 0; // reported as chosenItemData
    ItemHighlightProc onHighlight = nullptr;
};

// Appends the header to the bar and takes ownership; its nextMenu must be null.
void addMenu(EVENTHANDLE* handle, MENUHEADER* header);
// Appends the item to the header's menu and hands it to the header; its nextItem must be null.
void addMenuItem(MENUHEADER* header, MENUITEM* item);

void setMenuEnabled(EVENTHANDLE* handle, std::int32_t enabled);
std::int32_t getMenuEnabled(const EVENTHANDLE* handle);
MENUHEADER* getFirstMenu(const EVENTHANDLE* handle);
MENUHEADER* getLastMenu(const EVENTHANDLE* handle);
// The handle takes ownership of the image, releasing the one it held.
void setMenuImage(EVENTHANDLE* handle, platform::ImagePtr image);
platform::Image* getMenuImage(const EVENTHANDLE* handle);

// One pass of menu tracking on the input state of the last pollInput.
void runMenus(EVENTHANDLE* handle);
// The first header whose title area holds the pointer, or null.
MENUHEADER* findMenuAt(const EVENTHANDLE* handle);
// The first item of the header's menu whose area holds the pointer, or null.
MENUITEM* findItemAt(const EVENTHANDLE* handle, const MENUHEADER* header);
// Brings header and item highlights up to date; `header` counts only while no menu is open.
void highlightMenus(EVENTHANDLE* handle, MENUHEADER* header);
// Closes the open menu, removes the highlight and resets the tracking state.
void closeMenus(EVENTHANDLE* handle);
// Destroys every header with its items, and menuImage; the handle is left without menus.
void freeMenus(EVENTHANDLE* handle);

} // namespace VESKA
