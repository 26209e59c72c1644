// The headless backend: an in-memory window for tests. Input is scripted, time is a virtual
// clock that only `sleepMs` advances, and every presented frame can be counted or saved.
//
// Typical use in a test:
//   platform::headless::install();            // fresh backend, clock at 0, no window
//   platform::openWindow(384, 480);
//   platform::headless::movePointer(180, 450);
//   platform::headless::setButtons(1);        // left button down from now on
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform::headless {

// Installs a new headless backend (replacing any backend) with no input and the clock at 0.
void install();

// Pointer and buttons hold their state until changed; the next queryMouse() sees them.
void movePointer(int x, int y);
void movePointerOutside();
void setButtons(int buttons); // bit 1 left, bit 2 right, bit 4 middle
void turnWheel(int steps);    // adds to the wheel counter
void pushKey(std::string_view text); // queued: one character, or "\xFF" + code
void pushExtendedKey(int code);
void requestClose(); // queues the extended key 107, as the window's close button does

std::uint64_t clockMs();
int presentCount();  // frames presented so far
int sleepCount();    // calls of sleepMs so far
std::string title(); // last title set, as code page 437 bytes

// Writes the current framebuffer as a binary PPM; false when the file cannot be written.
bool saveFrame(std::string_view path);

} // namespace platform::headless
