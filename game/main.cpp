// discgame: the four-in-a-row game in a real window. Takes no arguments.
#include "game/game.h"
#include "platform/sdl.h"

int main() {
    platform::sdl::install();
    return runGame();
}
