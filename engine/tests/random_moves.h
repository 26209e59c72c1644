// Reproducible random move strings for comparing the engine with its reference model.
#pragma once

#include <cstdint>
#include <random>
#include <string>

namespace randomMoves {

// A legal game of a random length 0..42 (games go on past a win; the rules accept that).
inline std::string legal(std::mt19937& random) {
    const int32_t length = std::uniform_int_distribution<int32_t>(0, 42)(random);
    int32_t discs[8] = {};
    std::string moves;
    while (static_cast<int32_t>(moves.size()) < length) {
        const int32_t column = std::uniform_int_distribution<int32_t>(1, 7)(random);
        if (discs[column] == 6)
            continue;
        ++discs[column];
        moves += static_cast<char>('0' + column);
    }
    return moves;
}

// Strings the rules reject or nearly reject: a stray byte anywhere, one character too many,
// a seventh disc, plain noise, and digits without the column limit.
inline std::string malformed(std::mt19937& random) {
    std::string moves = legal(random);
    auto byte = [&] {
        return static_cast<char>(std::uniform_int_distribution<int>(0, 255)(random));
    };
    switch (std::uniform_int_distribution<int>(0, 4)(random)) {
    case 0:
        if (moves.empty())
            moves += byte();
        else
            moves[std::uniform_int_distribution<size_t>(0, moves.size() - 1)(random)] = byte();
        break;
    case 1:
        while (moves.size() < 43)
            moves += static_cast<char>('1' + std::uniform_int_distribution<int>(0, 6)(random));
        break;
    case 2:
        moves.insert(std::uniform_int_distribution<size_t>(0, moves.size())(random), 7, '3');
        break;
    case 3: {
        moves.clear();
        const int length = std::uniform_int_distribution<int>(0, 50)(random);
        for (int k = 0; k < length; ++k)
            moves += byte();
        break;
    }
    default: {
        moves.clear();
        const int length = std::uniform_int_distribution<int>(0, 44)(random);
        for (int k = 0; k < length; ++k)
            moves += static_cast<char>('1' + std::uniform_int_distribution<int>(0, 6)(random));
        break;
    }
    }
    return moves;
}

} // namespace randomMoves
