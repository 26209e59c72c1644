// The game's two engine bindings, both resolved when the program is loaded: the own engine
// (libengine.so, Answer@ENGINE_1) and the engine in the outside slot (libveleng.so or any
// library linked with veleng/veleng.map, Answer@VELENG_1). A program whose objects call
// these must be linked with lld against both libraries (game/CMakeLists.txt).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The own engine's column for the position after `moveString`; it gets its own StringRecord
// copy of the text, freed after the call.
std::int32_t askOwnEngine(std::string_view moveString);

// The outside engine's answer for "c" + moveString + "0", as it comes: any integer.
std::int32_t askOutsideEngine(std::string_view moveString);

// The call text of the outside engine.
std::string outsideCallText(std::string_view moveString);
