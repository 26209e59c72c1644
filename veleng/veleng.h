// The perfect-play engine for the outside-engine slot: libveleng.so.
//
// Call text: the letter 'c', then one digit '1' to '7' per move played so far (white's move
// first), then the digit '0', then the terminating zero byte. The empty game is "c0"; after
// white's centre disc and black's reply in column 3 it is "c430". The text is read up to its
// zero byte and never beyond.
//
// Result: the column 1 to 7 the side to move plays, or -1 for a text that is not of this
// form, names a move into a full column or a 43rd move, or describes a game that is already
// won or full. A rejected text changes nothing.
//
// The answer is a perfect move: the best game-theoretic value (win > draw > loss); among
// winning columns one that wins soonest, among losing columns one that loses latest; among
// equal columns the first in the order 4, 3, 5, 2, 6, 1, 7 (the centre, then alternately
// left and right of it, the left one first). The same text always gets the same answer; a
// table kept between calls only makes repeated positions faster. One exception: should a
// position not be solved within the time bound of 0.7 s, the best move found so far
// is answered.
//
// The engine keeps at most 128 MiB of tables (a transposition table taken on the first call
// that needs a search, and the opening book built into the library). Calls are serialised
// internally; the engine starts no threads.
//
// Binding: the export is the plain C name `Answer`, cdecl, carrying the symbol version
// VELENG_1 so that a process can bind it next to the own engine's `Answer@ENGINE_1`. Every
// library meant for this slot, test doubles included, is linked with the version script
// veleng/veleng.map:
//
//     VELENG_1 { global: Answer; local: *; };
//
// and imported as Answer@VELENG_1.
#pragma once

#if defined(__GNUC__)
#define VELENG_EXPORT __attribute__((visibility("default")))
#else
#define VELENG_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

VELENG_EXPORT int Answer(const char* text);

#ifdef __cplusplus
}
#endif
