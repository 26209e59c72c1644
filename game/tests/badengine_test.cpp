// The outside engine's answer is outside input. Bound here to a test engine that answers a
// full column, 0, 8, -3, 99 and the smallest int before it answers column 2: every answer
// without a column with room is ignored (no animation, board, move string and side to move as
// they were), and the game goes on with the next good answer.
#include "game/engines.h"
#include "game/game.h"

#include "gamefixture.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace gametest;

namespace {

constexpr platform::Color WHITE_DISC = 0xB0B0B0;
constexpr platform::Color BLACK_DISC = 0x101010;

int dropFrames(const ScriptedBackend& backend) {
    return static_cast<int>(std::count(backend.sleeps.begin(), backend.sleeps.end(), 40));
}

int discsIn(int column, platform::Color color) {
    int count = 0;
    for (int row = 1; row <= 6; ++row) {
        count += rgb(holeX(column), holeY(row)) == color;
    }
    return count;
}

TEST(OutsideEngineCallText, IsTheMovesBetweenCAndZero) {
    EXPECT_EQ(outsideCallText(""), "c0");
    EXPECT_EQ(outsideCallText("43"), "c430");
}

TEST(BadOutsideEngine, AnswersWithoutAColumnWithRoomAreIgnored) {
    TempFolder folder;
    writeGameFiles(folder, "human", "velena");
    ScriptedBackend& backend = installScripted();

    // White and the engine fill column 4 together.
    for (int i = 0; i < 3; ++i) {
        addClick(backend, 4);
    }
    addCheck(backend, [] {
        EXPECT_EQ(discsIn(4, WHITE_DISC), 3);
        EXPECT_EQ(discsIn(4, BLACK_DISC), 3);
    });
    // White plays column 1; the engine answers the full column 4, then 0, 8, -3, 99 and the
    // smallest int, one answer per turn. The poll after a release is a turn of its own (the
    // button goes from just released to idle), so the second answer needs no pointer move.
    addClick(backend, 1);
    // Frames of the seven good drops so far: rows 1 to 6 of column 4, row 1 of column 1.
    static constexpr int GOOD_FRAMES = 7 + 6 + 5 + 4 + 3 + 2 + 7;
    for (int answer = 0; answer < 6; ++answer) {
        addCheck(backend, [&backend, answer] {
            SCOPED_TRACE(::testing::Message() << "bad answer " << answer + 1);
            EXPECT_EQ(dropFrames(backend), GOOD_FRAMES) << "no animation";
            EXPECT_EQ(discsIn(4, WHITE_DISC) + discsIn(4, BLACK_DISC), 6);
            EXPECT_EQ(rgb(holeX(1), holeY(1)), WHITE_DISC);
            EXPECT_EQ(rgb(holeX(4), 96), 0x404040u) << "nothing drawn above the full column";
            EXPECT_EQ(rgb(holeX(4), 432), 0x101010u) << "nothing drawn at row 0";
            for (int column : {1, 2, 3, 5, 6, 7}) {
                EXPECT_EQ(discsIn(column, BLACK_DISC), 0) << "column " << column;
            }
            EXPECT_TRUE(statusShows(TEXT_BLACK_TO_MOVE)) << "black stays to move";
        });
        if (answer >= 1) {
            addMove(backend, 100 + answer % 2, 100);
        }
    }
    // The next answer is column 2, and it is played.
    addCheck(backend, [] {
        EXPECT_EQ(rgb(holeX(2), holeY(1)), BLACK_DISC);
        EXPECT_TRUE(statusShows(TEXT_WHITE_TO_MOVE));
    });
    // The move string kept only real moves: the engine, which answers column 5 to a call
    // text that is not "c" + digits 1 to 7 + "0", answers column 2 again.
    addClick(backend, 3);
    addCheck(backend, [] {
        EXPECT_EQ(rgb(holeX(2), holeY(2)), BLACK_DISC);
        EXPECT_EQ(discsIn(5, BLACK_DISC), 0);
    });
    EXPECT_EQ(runGame(), 0);
}

} // namespace
