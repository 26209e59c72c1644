// Opening book of the perfect-play engine (private to veleng and its tools).
//
// File layout, all numbers little-endian:
//   bytes 0-7    magic "VLBOOK01"
//   bytes 8-11   number of entries n
//   bytes 12-15  deepest number of moves played in any entry
//   bytes 16-23  FNV-1a 64 checksum of bytes 8-15 and the entries
//   bytes 24-    n entries of 8 bytes, strictly ascending:
//                (symmetric key << 8) | best columns (bit c - 1 for column c)
// An entry describes the position whose symmetric key (the smaller of its key and its mirror
// image's key) it holds, in the orientation of that key. The best columns are all columns of
// the best score, so that the centre order can be applied in either orientation.
#pragma once

#include "veleng/position.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace veleng {

constexpr char BOOK_MAGIC[8] = {'V', 'L', 'B', 'O', 'O', 'K', '0', '1'};
constexpr std::size_t BOOK_HEADER_BYTES = 24;

struct BOOKENTRY {
    Bits key;
    unsigned bestColumns;
};

class Book {
public:
    // Checks the whole image: magic, size, checksum, order, and that each entry's columns are
    // playable in its position. A damaged image leaves the book empty and returns false.
    bool load(std::span<const unsigned char> image);

    // Best columns of the position, in its own orientation; 0 if the book does not hold it.
    unsigned lookup(const Position& p) const;

    std::size_t size() const { return entries.size(); }
    int maxMoves() const { return deepest; }
    const std::vector<std::uint64_t>& raw() const { return entries; }

private:
    std::vector<std::uint64_t> entries;
    int deepest = -1;
};

// Serialises entries (any order, no duplicates) into a book image.
std::vector<unsigned char> makeBookImage(std::vector<BOOKENTRY> entries);

// Mirror image of a set of columns.
constexpr unsigned mirrorColumns(unsigned cols) {
    unsigned r = 0;
    for (int c = 0; c < WIDTH; ++c) {
        if (cols & (1u << c)) {
            r |= 1u << (WIDTH - 1 - c);
        }
    }
    return r;
}

// Rebuilds the position of a key; false if the bits are no key of a position with legal
// column heights. (The key says nothing of how the position was reached.)
bool positionOfKey(Bits key, Position& out);

// The book built into the library; empty when it was missing or damaged.
const Book& builtInBook();

} // namespace veleng
