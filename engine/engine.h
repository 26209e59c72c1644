/* The own engine's library interface (libengine.so): one export, Answer, with plain C
 * linkage and the symbol version ENGINE_1. Usable from C and C++.
 *
 * The caller owns the record and its text. Answer reads exactly the record's length in bytes
 * from data (no terminating zero is needed) during the call, and never writes, keeps or frees
 * either. Every call stands alone: the library keeps no game between calls, and calls from
 * several threads at once do not disturb each other. */
#ifndef ENGINE_ENGINE_H
#define ENGINE_ENGINE_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(ENGINE_BUILDING_LIBRARY)
#define ENGINE_API __attribute__((visibility("default")))
#else
#define ENGINE_API
#endif

/* Bit 31 of length is the text's temporary flag; it is not part of the length. */
#define STRING_RECORD_TEMPORARY 0x80000000u
#define STRING_RECORD_LENGTH_MASK 0x7FFFFFFFu

/* A move string: one character '1'..'7' per move played, white's first, at most 42. */
typedef struct StringRecord {
    const char* data; /* may be null when the length is 0 */
    uint32_t length;  /* bits 0..30 the number of characters, bit 31 the temporary flag */
    int32_t capacity; /* the owner's reserved bytes; the engine never reads it */
} StringRecord;

#if defined(__x86_64__)
#ifdef __cplusplus
#define ENGINE_STATIC_ASSERT static_assert
#else
#define ENGINE_STATIC_ASSERT _Static_assert
#endif
ENGINE_STATIC_ASSERT(sizeof(StringRecord) == 16, "StringRecord is 16 bytes on x86-64");
ENGINE_STATIC_ASSERT(offsetof(StringRecord, data) == 0, "data comes first");
ENGINE_STATIC_ASSERT(offsetof(StringRecord, length) == 8, "length follows the 64-bit pointer");
ENGINE_STATIC_ASSERT(offsetof(StringRecord, capacity) == 12, "capacity comes last");
#undef ENGINE_STATIC_ASSERT
#endif

/* The column 1..7 for the side to move after the record's moves, or -1 when the text is not
 * an acceptable move string (too long, a character outside '1'..'7', a seventh disc in one
 * column, or a null data pointer with a non-zero length). A null record is the empty game.
 * A position that is already won or full is answered like any other. */
ENGINE_API int32_t Answer(const StringRecord* record);

/* The type to cast dlsym's result to. */
typedef int32_t (*AnswerFunction)(const StringRecord* record);

#ifdef __cplusplus
}
#endif

#endif
