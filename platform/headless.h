// The headless backend: an in-memory window for tests. Input is scripted, time is a virtual
// clock that only `sleepMs` advances, and every presented frame can be counted or saved.
//
// Typical use in a test:
//   platform::headless::install();            // fresh backend, clock at 0, no window
//   platform::openWindow(384, 480);
//   platform::headless::movePointer(180, 450);
//   platform::headless::setButtons(1);        // left button down from now on
//
// A test that runs a blocking loop (one that only returns on input) scripts the input at
// virtual times instead:
//   platform::headless::at(100, [] { platform::headless::setButtons(1); });
//   platform::headless::at(150, [] { platform::headless::setButtons(0); });
//   runMainLoop();                            // its 1 ms sleeps reach 100, then 150
//
// When the environment variable DISC_SAVE_FRAMES names a folder, every presented frame is
// written there as frame-00001.ppm, frame-00002.ppm, ... (counted from install()).
#pragma once

#include <cstdint>
#include <functional>
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

// Runs `action` from within the sleepMs call that moves the clock to `ms` or past it; actions
// due at the same time run in the order they were scheduled, and an action may schedule more.
// An action due now or earlier runs at the next sleepMs.
void at(std::uint64_t ms, std::function<void()> action);
int pendingActions(); // scheduled and not yet run

std::uint64_t clockMs();
int presentCount();  // frames presented so far
int sleepCount();    // calls of sleepMs so far
std::string title(); // last title set, as code page 437 bytes
bool windowShown();  // between the backend's open and close

// What the window shows: the pixel of the last presented frame; 0 before the first present or
// outside the window.
std::uint32_t presentedPixel(int x, int y);

// Writes the current framebuffer as a binary PPM; false when the file cannot be written.
bool saveFrame(std::string_view path);

} // namespace platform::headless
