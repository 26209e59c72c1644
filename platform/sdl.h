// The SDL2 backend: a real window on the desktop. Only the program's entry point includes this
// header; everything else talks to the window through platform/platform.h.
#pragma once

namespace platform::sdl {

// Installs the SDL2 window backend (replacing any backend). The window itself opens with
// platform::openWindow, which fails when no display can be reached.
void install();

} // namespace platform::sdl
