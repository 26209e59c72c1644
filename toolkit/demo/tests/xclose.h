// Kept apart from the test so that Xlib's macros (None, Status, Bool) stay out of its code.
#pragma once

// Sends the window what a window manager sends when its close button is pressed
// (WM_PROTOCOLS / WM_DELETE_WINDOW); false when the display cannot be reached.
bool requestWindowClose(unsigned long window);
