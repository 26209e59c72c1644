#include "veleng/book.h"

#include <algorithm>
#include <cstring>

// Bounds of the book image embedded by bookdata.S.
extern "C" const unsigned char velengBookBegin[];
extern "C" const unsigned char velengBookEnd[];

namespace veleng {

namespace {

std::uint64_t fnv1a(const unsigned char* p, std::size_t n, std::uint64_t h) {
    for (std::size_t i = 0; i < n; ++i) {
        h = (h ^ p[i]) * 0x100000001b3ull;
    }
    return h;
}

// Covers the entry count and depth as well as the entries.
std::uint64_t checksum(const unsigned char* countAndDepth, const unsigned char* body,
                       std::size_t n) {
    std::uint64_t h = fnv1a(countAndDepth, 8, 0xcbf29ce484222325ull);
    return fnv1a(body, n, h);
}

std::uint64_t readLe(const unsigned char* p, int bytes) {
    std::uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        v = (v << 8) | p[i];
    }
    return v;
}

void writeLe(std::vector<unsigned char>& out, std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<unsigned char>(v >> (8 * i)));
    }
}

} // namespace

bool positionOfKey(Bits key, Position& out) {
    if (key >> (WIDTH * GROUP)) {
        return false;
    }
    // key = own + all discs + one bit per column: the highest bit of each column group marks
    // the height of that column, the bits below it are the side to move's discs.
    Bits own = 0;
    int heights[WIDTH];
    for (int c = 0; c < WIDTH; ++c) {
        Bits g = (key >> (c * GROUP)) & ((Bits{1} << GROUP) - 1);
        if (g == 0) {
            return false;
        }
        int h = static_cast<int>(std::bit_width(g)) - 1;
        heights[c] = h;
        own |= (g ^ (Bits{1} << h)) << (c * GROUP);
    }
    Bits occupied = 0;
    for (int c = 0; c < WIDTH; ++c) {
        occupied |= ((Bits{1} << heights[c]) - 1) << (c * GROUP);
    }
    int total = std::popcount(occupied);
    int mine = std::popcount(own);
    // the side to move has as many discs as the other side, or one fewer if black is to move
    if (total - mine != mine + (total & 1)) {
        return false;
    }
    out = Position::fromBits(own, occupied, total);
    return true;
}

bool Book::load(std::span<const unsigned char> image) {
    entries.clear();
    deepest = -1;
    if (image.size() < BOOK_HEADER_BYTES || std::memcmp(image.data(), BOOK_MAGIC, 8) != 0) {
        return false;
    }
    std::uint64_t n = readLe(image.data() + 8, 4);
    int depth = static_cast<int>(readLe(image.data() + 12, 4));
    std::uint64_t sum = readLe(image.data() + 16, 8);
    if (image.size() != BOOK_HEADER_BYTES + 8 * n || depth > CELLS) {
        return false;
    }
    const unsigned char* body = image.data() + BOOK_HEADER_BYTES;
    if (checksum(image.data() + 8, body, 8 * n) != sum) {
        return false;
    }
    std::vector<std::uint64_t> read(n);
    for (std::uint64_t i = 0; i < n; ++i) {
        std::uint64_t e = readLe(body + 8 * i, 8);
        Position p;
        unsigned cols = static_cast<unsigned>(e & 0xFF);
        if ((i > 0 && e >> 8 <= read[i - 1] >> 8) || !positionOfKey(e >> 8, p) || cols == 0 ||
            cols >> WIDTH || p.moves() > depth) {
            return false;
        }
        for (int c = 0; c < WIDTH; ++c) {
            if ((cols & (1u << c)) && !p.canPlay(c)) {
                return false;
            }
        }
        read[i] = e;
    }
    entries = std::move(read);
    deepest = depth;
    return true;
}

unsigned Book::lookup(const Position& p) const {
    if (p.moves() > deepest) {
        return 0;
    }
    Bits k = p.key();
    Bits s = p.symmetricKey();
    auto it = std::lower_bound(entries.begin(), entries.end(), s << 8);
    if (it == entries.end() || (*it >> 8) != s) {
        return 0;
    }
    unsigned cols = static_cast<unsigned>(*it & 0xFF);
    return s == k ? cols : mirrorColumns(cols);
}

std::vector<unsigned char> makeBookImage(std::vector<BOOKENTRY> list) {
    std::sort(list.begin(), list.end(),
              [](const BOOKENTRY& a, const BOOKENTRY& b) { return a.key < b.key; });
    std::vector<unsigned char> body;
    int depth = 0;
    for (const BOOKENTRY& e : list) {
        writeLe(body, (e.key << 8) | e.bestColumns, 8);
        Position p;
        if (positionOfKey(e.key, p)) {
            depth = std::max(depth, p.moves());
        }
    }
    std::vector<unsigned char> out(BOOK_MAGIC, BOOK_MAGIC + 8);
    writeLe(out, list.size(), 4);
    writeLe(out, static_cast<std::uint64_t>(depth), 4);
    writeLe(out, checksum(out.data() + 8, body.data(), body.size()), 8);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

const Book& builtInBook() {
    static const Book book = [] {
        Book b;
        b.load({velengBookBegin, static_cast<std::size_t>(velengBookEnd - velengBookBegin)});
        return b;
    }();
    return book;
}

} // namespace veleng
