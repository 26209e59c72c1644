// The library's one export. Everything else in the library is hidden: the build compiles
// with hidden visibility and engine.map keeps only Answer (as Answer@ENGINE_1) global.

#include "engine/engine.h"

#include "board/board.h"
#include "engine/search.h"

#include <string_view>

extern "C" int32_t Answer(const StringRecord* record) {
    std::string_view moves;
    if (record != nullptr) {
        const uint32_t length = record->length & STRING_RECORD_LENGTH_MASK;
        // Too long to be a move string: rejected without touching the text.
        if (length > static_cast<uint32_t>(MAX_MOVES))
            return -1;
        // Only an empty text may come without an address.
        if (length > 0 && record->data == nullptr)
            return -1;
        if (length > 0)
            moves = std::string_view(record->data, length);
    }

    Board board;
    resetBoard(board);
    if (checkMoveString(moves) != BOARD_TRUE)
        return -1;
    replayMoves(board, moves);
    const int32_t side = moves.size() % 2 == 0 ? SIDE_WHITE : SIDE_BLACK;
    return chooseColumn(board, side);
}
