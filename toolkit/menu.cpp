// Sections: ownership and accessors · hit tests · tracking (runMenus) · highlights · closing.
//
// Tracking with the left button, one step per poll:
//   press on a header          remember it; menuFreshOpen = 1 when no menu was open
//   held over a header         (fresh press only) open that header's menu
//   release on a header        closes a menu that was open before the press
//   release on an item         chooses it when item and menu are enabled, and closes
//   press or release elsewhere closes
//   no button, over a header   switches an open menu to that header; clears the last choice
#include "toolkit/menu.h"

#include "toolkit/events.h"

#include <cassert>
#include <utility>

namespace VESKA {

// ---------------------------------------------------------------------------------------------
// Ownership and accessors.

MENUHEADER::~MENUHEADER() {
    MENUITEM* item = firstItem;
    while (item != nullptr) {
        MENUITEM* following = item->nextItem;
        delete item;
        item = following;
    }
}

void addMenu(EVENTHANDLE* handle, MENUHEADER* header) {
    assert(header != nullptr && header->nextMenu == nullptr &&
           "addMenu takes one new header: its nextMenu must be null");
    if (handle == nullptr || header == nullptr) {
        return;
    }
    if (handle->firstMenu == nullptr) {
        handle->firstMenu = header;
    }
    if (handle->lastMenu != nullptr) {
        handle->lastMenu->nextMenu = header;
    }
    handle->lastMenu = header;
}

void addMenuItem(MENUHEADER* header, MENUITEM* item) {
    assert(item != nullptr && item->nextItem == nullptr &&
           "addMenuItem takes one new item: its nextItem must be null");
    if (header == nullptr || item == nullptr) {
        return;
    }
    MENUITEM** end = &header->firstItem;
    while (*end != nullptr) {
        end = &(*end)->nextItem;
    }
    *end = item;
}

void setMenuEnabled(EVENTHANDLE* handle, std::int32_t enabled) {
    handle->menuEnabled = enabled;
}

std::int32_t getMenuEnabled(const EVENTHANDLE* handle) {
    return handle->menuEnabled;
}

MENUHEADER* getFirstMenu(const EVENTHANDLE* handle) {
    return handle->firstMenu;
}

MENUHEADER* getLastMenu(const EVENTHANDLE* handle) {
    return handle->lastMenu;
}

void setMenuImage(EVENTHANDLE* handle, platform::ImagePtr image) {
    handle->menuImage = std::move(image);
}

platform::Image* getMenuImage(const EVENTHANDLE* handle) {
    return handle->menuImage.get();
}

// ---------------------------------------------------------------------------------------------
// Hit tests. A title area always starts at the top of the window.

MENUHEADER* findMenuAt(const EVENTHANDLE* handle) {
    const std::int32_t mx = inputState.mouseX;
    const std::int32_t my = inputState.mouseY;
    for (MENUHEADER* header = handle->firstMenu; header != nullptr; header = header->nextMenu) {
        if (header->x <= mx && mx < header->x + header->w && 0 <= my && my < header->h) {
            return header;
        }
    }
    return nullptr;
}

MENUITEM* findItemAt(const EVENTHANDLE* /*handle*/, const MENUHEADER* header) {
    if (header == nullptr) {
        return nullptr;
    }
    const std::int32_t mx = inputState.mouseX;
    const std::int32_t my = inputState.mouseY;
    for (MENUITEM* item = header->firstItem; item != nullptr; item = item->nextItem) {
        if (item->x <= mx && mx < item->x + item->w && item->y <= my && my < item->y + item->h) {
            return item;
        }
    }
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Tracking.

namespace {

void closeOpenMenu(EVENTHANDLE* handle) {
    handle->openMenu->onClose(handle, handle->openMenu);
    handle->openMenu = nullptr;
}

void switchOpenMenu(EVENTHANDLE* handle, MENUHEADER* header) {
    if (handle->openMenu != nullptr) {
        handle->openMenu->onClose(handle, handle->openMenu);
    }
    header->onOpen(handle, header);
    handle->openMenu = header;
}

void trackPress(EVENTHANDLE* handle) {
    handle->menuAtPress = findMenuAt(handle);
    if (handle->menuAtPress != nullptr) {
        handle->menuFreshOpen = handle->openMenu == nullptr ? 1 : 0;
    } else if (handle->openMenu != nullptr) {
        handle->itemAtPress = findItemAt(handle, handle->openMenu);
        if (handle->itemAtPress == nullptr) {
            closeOpenMenu(handle);
            handle->menuFreshOpen = 0;
            highlightMenus(handle, handle->menuAtPress);
        }
    }
}

void trackHold(EVENTHANDLE* handle) {
    handle->menuAtHold = findMenuAt(handle);
    // Only a press that found the bar closed opens menus while held; a press on the header of
    // an open menu is a click that closes it at the release.
    if (handle->menuFreshOpen != 0) {
        if (handle->menuAtHold != nullptr && handle->menuAtHold != handle->openMenu) {
            switchOpenMenu(handle, handle->menuAtHold);
        }
        highlightMenus(handle, handle->menuAtHold);
    }
}

void trackRelease(EVENTHANDLE* handle) {
    handle->menuAtRelease = findMenuAt(handle);
    if (handle->menuAtRelease != nullptr) {
        if (handle->menuFreshOpen == 0 && handle->openMenu != nullptr) {
            closeOpenMenu(handle);
        }
    } else if (handle->openMenu != nullptr) {
        handle->itemAtRelease = findItemAt(handle, handle->openMenu);
        MENUITEM* item = handle->itemAtRelease;
        if (item != nullptr) {
            if (item->enabled == 1 && handle->openMenu->enabled == 1) {
                handle->chosenItem = item;
                handle->chosenItemId = item->id;
                handle->chosenItemData = item->data;
                closeOpenMenu(handle);
                handle->menuFreshOpen = 0;
            }
        } else {
            closeOpenMenu(handle);
            handle->menuFreshOpen = 0;
        }
    }
    highlightMenus(handle, handle->menuAtHover);
}

void trackIdle(EVENTHANDLE* handle) {
    handle->menuAtHover = findMenuAt(handle);
    if (handle->menuAtHover != nullptr && handle->openMenu != nullptr &&
        handle->menuAtHover != handle->openMenu) {
        switchOpenMenu(handle, handle->menuAtHover);
    }
    highlightMenus(handle, handle->menuAtHover);
    handle->chosenItem = nullptr;
    handle->chosenItemId = 0;
    handle->chosenItemData = 0;
}

} // namespace

void runMenus(EVENTHANDLE* handle) {
    if (handle->firstMenu == nullptr) {
        return;
    }
    switch (inputState.leftState) {
    case BUTTON_PRESSED:
        trackPress(handle);
        break;
    case BUTTON_HELD:
        trackHold(handle);
        break;
    case BUTTON_RELEASED:
        trackRelease(handle);
        break;
    default:
        trackIdle(handle);
        break;
    }
}

// ---------------------------------------------------------------------------------------------
// Highlights.

void highlightMenus(EVENTHANDLE* handle, MENUHEADER* header) {
    if (handle->openMenu != nullptr) {
        MENUHEADER* open = handle->openMenu;
        if (handle->highlightedMenu != open) {
            if (handle->highlightedMenu != nullptr) {
                handle->highlightedMenu->onHighlight(handle->highlightedMenu, 0);
            }
            open->onHighlight(open, 1);
            handle->highlightedMenu = open;
            handle->highlightedItem = nullptr;
        }
        MENUITEM* item = findItemAt(handle, open);
        if (item != nullptr) {
            // Items of a disabled menu are never highlighted.
            if (item != handle->highlightedItem && open->enabled == 1) {
                if (handle->highlightedItem != nullptr) {
                    handle->highlightedItem->onHighlight(handle->highlightedItem, 0);
                }
                item->onHighlight(item, 1);
                handle->highlightedItem = item;
            }
        } else {
            if (handle->highlightedItem != nullptr) {
                handle->highlightedItem->onHighlight(handle->highlightedItem, 0);
            }
            handle->highlightedItem = nullptr;
        }
        return;
    }

    if (header != nullptr) {
        if (header != handle->highlightedMenu) {
            if (handle->highlightedMenu != nullptr) {
                handle->highlightedMenu->onHighlight(handle->highlightedMenu, 0);
            }
            header->onHighlight(header, 1);
            handle->highlightedMenu = header;
        }
    } else {
        if (handle->highlightedMenu != nullptr) {
            handle->highlightedMenu->onHighlight(handle->highlightedMenu, 0);
        }
        handle->highlightedMenu = nullptr;
    }
    // The closed menu's item highlight went with its painting.
    handle->highlightedItem = nullptr;
}

// ---------------------------------------------------------------------------------------------
// Closing and freeing.

void closeMenus(EVENTHANDLE* handle) {
    if (handle->openMenu != nullptr) {
        handle->openMenu->onClose(handle, handle->openMenu);
    }
    if (handle->highlightedMenu != nullptr) {
        handle->highlightedMenu->onHighlight(handle->highlightedMenu, 0);
    }
    handle->openMenu = nullptr;
    handle->menuFreshOpen = 0;
    handle->menuAtPress = nullptr;
    handle->menuAtHold = nullptr;
    handle->menuAtRelease = nullptr;
    handle->menuAtHover = nullptr;
    handle->highlightedMenu = nullptr;
    handle->itemAtPress = nullptr;
    handle->itemAtRelease = nullptr;
    handle->highlightedItem = nullptr;
}

void freeMenus(EVENTHANDLE* handle) {
    MENUHEADER* header = handle->firstMenu;
    while (header != nullptr) {
        MENUHEADER* following = header->nextMenu;
        delete header;
        header = following;
    }
    handle->menuImage.reset();
    // Nothing may keep pointing at the freed headers and items, so that a second call (or the
    // destructor after an explicit call) finds no menus instead of freed storage.
    handle->firstMenu = nullptr;
    handle->lastMenu = nullptr;
    handle->openMenu = nullptr;
    handle->menuFreshOpen = 0;
    handle->menuAtPress = nullptr;
    handle->menuAtHold = nullptr;
    handle->menuAtRelease = nullptr;
    handle->menuAtHover = nullptr;
    handle->highlightedMenu = nullptr;
    handle->itemAtPress = nullptr;
    handle->itemAtRelease = nullptr;
    handle->highlightedItem = nullptr;
    handle->chosenItem = nullptr;
    handle->chosenItemId = 0;
    handle->chosenItemData = 0;
}

} // namespace VESKA
