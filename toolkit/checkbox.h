// The check box: a 12 × 12 square, ticked or not, followed by its caption. A complete click
// (press and release over it) toggles it and is reported like a push-button click. Its size
// follows the caption and the font: w = 8 · characters + 20 (16 for an empty caption at
// creation), h = 12 with the 8-pixel font, else the font height.
#pragma once

#include "toolkit/object.h"

#include <cstdint>
#include <string_view>

namespace VESKA {

// Appends a hidden check box with the given value (1 ticked, 0 not) and captures the window
// area under it. Null when the gadget cannot be made.
GADGET* createCheckBox(EVENTHANDLE* handle, int x, int y, std::int32_t value,
                       std::string_view caption);

// The kind's draw procedure; holds the framebuffer lock for the whole repaint.
void drawCheckBox(GADGET* gadget);

// The kind's handleEvent: toggles and answers 1 on a release over it (code 4); codes 6 and 7
// set and clear `hover` and repaint; everything else is ignored.
std::int32_t checkBoxEvent(GADGET* gadget, std::int32_t code);

// The kind's update procedure, run after the caption changed: puts the old background back,
// resizes to the new caption, captures the new area and repaints.
void updateCheckBox(GADGET* gadget);

} // namespace VESKA
