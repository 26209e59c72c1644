// Answer as the game calls it, through the shared library: decisions, rejected strings and
// records that a careless or hostile caller might pass.

#include "engine/engine.h"

#include "engine/tests/random_moves.h"
#include "engine/tests/reference.h"

#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

const std::string FULL_BOARD = "123456712345671234567123456712345671234567";

// The text in a heap block of exactly its length, with no terminating zero, so that the
// sanitizer build catches any read past the end.
int32_t answerExact(const std::string& moves) {
    if (moves.empty()) {
        const StringRecord record{nullptr, 0, 0};
        return Answer(&record);
    }
    const std::unique_ptr<char[]> text(new char[moves.size()]);
    std::memcpy(text.get(), moves.data(), moves.size());
    const StringRecord record{text.get(), static_cast<uint32_t>(moves.size()),
                              static_cast<int32_t>(moves.size())};
    return Answer(&record);
}

// Two pages, the second inaccessible: text placed at the very end of the first faults on any
// read past its length, in every build.
class GuardPage {
public:
    GuardPage() {
        pageSize = static_cast<size_t>(sysconf(_SC_PAGESIZE));
        void* pages =
            mmap(nullptr, 2 * pageSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        EXPECT_NE(pages, MAP_FAILED);
        base = static_cast<char*>(pages);
        EXPECT_EQ(mprotect(base + pageSize, pageSize, PROT_NONE), 0);
    }
    ~GuardPage() { munmap(base, 2 * pageSize); }
    GuardPage(const GuardPage&) = delete;
    GuardPage& operator=(const GuardPage&) = delete;

    const char* place(const std::string& text) {
        char* start = base + pageSize - text.size();
        std::memcpy(start, text.data(), text.size());
        return start;
    }

private:
    size_t pageSize = 0;
    char* base = nullptr;
};

struct AnswerCase {
    std::string moves;
    int32_t answer;
    const char* why;
};

TEST(EngineAnswer, Decisions) {
    const std::vector<AnswerCase> cases = {
        {"", 4, "empty board: the bonus alone decides"},
        {"4", 4, "only column 4 keeps white to two replies that make two"},
        {"4444", 3, "columns 3 and 5 tie; the lower wins"},
        {"445566", 3, "3 and 7 both win at once; the lower wins"},
        {"17171", 1, "the only move that stops white's four in column 1"},
        {FULL_BOARD, 1, "full board: every score is the lowest value"},
        {"1212121", 2, "white has already won; black completes its own four"},
        {"1212121113", 2, "white has already won and column 1 is full"},
        {"111111", 4, "six in column 1 are accepted"},
        {"444444", 3, "a full column is never chosen"},
    };
    for (const AnswerCase& c : cases) {
        EXPECT_EQ(answerExact(c.moves), c.answer) << '"' << c.moves << "\": " << c.why;
        EXPECT_EQ(reference::answer(c.moves), c.answer) << "reference, \"" << c.moves << '"';
    }
}

TEST(EngineAnswer, RejectsBadMoveStrings) {
    const std::vector<std::string> rejected = {
        "0",
        "8",
        "a",
        " ",
        "0444",
        "4404",
        "4440",
        "8444",
        "4484",
        "4448",
        "x444",
        "44 4",
        "444:",
        "4449",
        std::string(43, '4'),
        FULL_BOARD + "1",
        "1111111",
        "4444444",
        "12345671111111",
        std::string("4\0", 2),
        "\xb4",
    };
    for (const std::string& moves : rejected)
        EXPECT_EQ(answerExact(moves), -1) << '"' << moves << '"';
}

TEST(EngineAnswer, NullRecordAndNullTextAreTheEmptyGame) {
    EXPECT_EQ(Answer(nullptr), 4);
    const StringRecord empty{nullptr, 0, 0};
    EXPECT_EQ(Answer(&empty), 4);
    const StringRecord emptyTemporary{nullptr, STRING_RECORD_TEMPORARY, 0};
    EXPECT_EQ(Answer(&emptyTemporary), 4);
    // A length without a text to go with it is not a move string.
    const StringRecord missingText{nullptr, 3, 3};
    EXPECT_EQ(Answer(&missingText), -1);
}

TEST(EngineAnswer, ReadsExactlyLengthBytes) {
    GuardPage guard;
    for (const std::string& moves : {std::string("4444"), std::string("4"), FULL_BOARD}) {
        const StringRecord record{guard.place(moves), static_cast<uint32_t>(moves.size()), 0};
        EXPECT_EQ(Answer(&record), reference::answer(moves)) << '"' << moves << '"';
    }
    // Bytes after the length are not part of the text, whatever they hold.
    const StringRecord prefix{guard.place("44x"), 2, 3};
    EXPECT_EQ(Answer(&prefix), reference::answer("44"));
    // A length that overstates the text is rejected as too long without touching the bytes.
    const StringRecord overstated{guard.place("44"), 1000, 2};
    EXPECT_EQ(Answer(&overstated), -1);
}

TEST(EngineAnswer, IgnoresCapacity) {
    const char text[] = "4455";
    const int32_t expected = reference::answer("4455");
    for (const int32_t capacity : {INT32_MIN, -1, 0, 3, 5, INT32_MAX}) {
        const StringRecord record{text, 4, capacity};
        EXPECT_EQ(Answer(&record), expected) << capacity;
    }
}

TEST(EngineAnswer, MasksTheTemporaryFlag) {
    const char text[] = "4444";
    const StringRecord flagged{text, STRING_RECORD_TEMPORARY | 4u, 5};
    EXPECT_EQ(Answer(&flagged), 3);
    const StringRecord flaggedShort{text, STRING_RECORD_TEMPORARY | 1u, 5};
    EXPECT_EQ(Answer(&flaggedShort), 4);
    const char bad[] = "449";
    const StringRecord flaggedBad{bad, STRING_RECORD_TEMPORARY | 3u, 4};
    EXPECT_EQ(Answer(&flaggedBad), -1);
}

TEST(EngineAnswer, LeavesTheRecordAndTextAlone) {
    char text[] = "4455";
    StringRecord record{text, 4, 17};
    const StringRecord before = record;
    Answer(&record);
    EXPECT_STREQ(text, "4455");
    EXPECT_EQ(record.data, before.data);
    EXPECT_EQ(record.length, before.length);
    EXPECT_EQ(record.capacity, before.capacity);
}

// The library against the literal model on random legal and malformed strings.
TEST(EngineAnswer, MatchesTheReferenceOnRandomStrings) {
#ifdef NDEBUG
    constexpr int32_t STRINGS = 10000;
#else
    constexpr int32_t STRINGS = 400;
#endif
    std::mt19937 random(7301);
    int32_t rejected = 0;
    for (int32_t n = 0; n < STRINGS; ++n) {
        const std::string moves =
            n % 2 == 0 ? randomMoves::legal(random) : randomMoves::malformed(random);
        const int32_t expected = reference::answer(moves);
        ASSERT_EQ(answerExact(moves), expected) << '"' << moves << '"';
        rejected += expected == -1;
    }
    // Both kinds must really be exercised.
    EXPECT_GT(rejected, STRINGS / 5);
    EXPECT_LT(rejected, STRINGS / 2 + 1);
}

} // namespace
