// The demo's screen: its layout, what is painted behind the gadgets, the gadgets and the menu
// bar, and the status line. Kept apart from main.cpp so that the end-to-end test can paint the
// expected frames on the headless backend from the very same code.
#pragma once

#include "toolkit/toolkit.h"

#include <string_view>

namespace demo {

inline constexpr int WIDTH = 400;
inline constexpr int HEIGHT = 300;
// 300 / 18 rows gives a cell of 16 pixels: the 8 × 16 font.
inline constexpr int GRID_COLUMNS = 50;
inline constexpr int GRID_ROWS = 18;
inline constexpr int BAR_HEIGHT = 20;
inline constexpr int ITEM_HEIGHT = 20;
inline constexpr int MENU_WIDTH = 120;

struct Rect {
    int x, y, w, h;
};
inline constexpr Rect STATUS_LINE{8, 268, 384, 24};

// Menu item ids.
inline constexpr int ID_NEW = 1;
inline constexpr int ID_OPEN = 2;
inline constexpr int ID_QUIT = 3;
inline constexpr int ID_FAST = 11;
inline constexpr int ID_SLOW = 12;
inline constexpr int ID_ABOUT = 21;

struct Gadgets {
    VESKA::GADGET* sound = nullptr;
    VESKA::GADGET* hints = nullptr;
    VESKA::GADGET* hello = nullptr;
    VESKA::GADGET* greyed = nullptr;
};

// The window is open and the theme initialised: paints the menu bar, the group frame and one
// of each decoration primitive, i.e. everything that lies behind the gadgets.
void paintScene();
// Creates and shows the check boxes and push buttons (after paintScene, so that their captured
// backgrounds are the scene).
Gadgets createGadgets(VESKA::EVENTHANDLE& handle);
// File (with a disabled item), Options, and the disabled Help menu; enables the menus.
void createMenus(VESKA::EVENTHANDLE& handle);
void showStatus(std::string_view text);

} // namespace demo
