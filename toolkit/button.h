// The push button: a soft-cornered frame around a shaded panel with a centred caption. It
// looks pressed while the left button is held on it and reports a click (handleEvent result 1)
// when the button is released over it. Created hidden; the caller shows it.
#pragma once

#include "toolkit/object.h"

#include <cstdint>
#include <string_view>

namespace VESKA {

// Appends a hidden button to the handle's gadget list and captures the window area under it,
// so create it after drawing what lies behind. Null when the gadget cannot be made; the list
// is then unchanged.
GADGET* createButton(EVENTHANDLE* handle, int x, int y, int w, int h, std::string_view caption);

// The kind's draw and update procedure: hidden puts the captured background back; otherwise
// up or pressed (value != 0) look, greyed by blending the background over it when disabled.
// Holds the framebuffer lock for the whole repaint; the unlock presents the frame.
void drawButton(GADGET* gadget);

// The kind's handleEvent: follows the pointer while held (codes 1 to 5 repaint), 1 for a
// release over the button (code 4), 0 for everything else.
std::int32_t buttonEvent(GADGET* gadget, std::int32_t code);

} // namespace VESKA
