// The game program: start-up, the main loop and the end. main.cpp installs the SDL2 backend
// and calls runGame; the tests install a scripted backend and drive whole games through it.
#pragma once

// Runs the program in the working directory, which holds options.ini and properties/.
// Precondition: a backend is installed. Returns the exit code: 0 after the window was closed,
// 1 when the window cannot be opened at all (no display).
int runGame();
