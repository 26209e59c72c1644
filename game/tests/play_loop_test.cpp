// Whole games through runGame on a scripted backend: start-up, clicks on the column buttons,
// engine replies in the same turn, the end of a game and the next click, languages, and the
// close request. Each test works in its own folder with its own options.ini and texts.
#include "game/game.h"

#include "gamefixture.h"

#include <gtest/gtest.h>

using namespace gametest;

namespace {

constexpr platform::Color WHITE_DISC = 0xB0B0B0;
constexpr platform::Color BLACK_DISC = 0x101010;
constexpr platform::Color HOLE = 0x505050;

struct Discs {
    int white = 0;
    int black = 0;
};

Discs countDiscs() {
    Discs discs;
    for (int column = 1; column <= 7; ++column) {
        for (int row = 1; row <= 6; ++row) {
            const platform::Color c = rgb(holeX(column), holeY(row));
            discs.white += c == WHITE_DISC;
            discs.black += c == BLACK_DISC;
        }
    }
    return discs;
}

std::vector<platform::Color> boardPixels() {
    std::vector<platform::Color> pixels;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 384; ++x) {
            pixels.push_back(platform::getPixel(x, y));
        }
    }
    return pixels;
}

class PlayLoopTest : public ::testing::Test {
protected:
    ScriptedBackend& backend = installScripted();
    TempFolder folder;
};

TEST_F(PlayLoopTest, StartScreenShowsBoardButtonsAndWhiteToMove) {
    writeGameFiles(folder, "human", "human");
    addCheck(backend, [] {
        EXPECT_EQ(rgb(0, 0), 0x101010u);
        EXPECT_EQ(rgb(0, 49), 0x404040u);
        EXPECT_EQ(rgb(383, 479), 0x101010u);
        EXPECT_EQ(countDiscs().white + countDiscs().black, 0);
        for (int column = 1; column <= 7; ++column) {
            for (int row = 1; row <= 6; ++row) {
                EXPECT_EQ(rgb(holeX(column), holeY(row)), HOLE);
            }
            // An up button: black frame, top gradient row 0x45, bottom row 0x08.
            const int left = 28 + 48 * (column - 1);
            EXPECT_EQ(rgb(left, 444), 0x000000u);
            EXPECT_EQ(rgb(left + 20, 446), 0x454545u);
            EXPECT_EQ(rgb(left + 20, 465), 0x080808u);
            EXPECT_EQ(rgb(left - 1, 450), 0x101010u) << "the bar around the button";
        }
        EXPECT_TRUE(statusShows(TEXT_WHITE_TO_MOVE));
    });
    EXPECT_EQ(runGame(), 0);
    EXPECT_EQ(backend.title, TEXT_TITLE);
    EXPECT_FALSE(platform::windowOpen()) << "the end closes the window";
}

TEST_F(PlayLoopTest, ClickOnColumnFourDropsWhiteAndBlackIsToMove) {
    writeGameFiles(folder, "human", "human");
    addClick(backend, 4);
    addCheck(backend, [] {
        EXPECT_EQ(rgb(holeX(4), holeY(1)), WHITE_DISC);
        EXPECT_EQ(countDiscs().white, 1);
        EXPECT_TRUE(statusShows(TEXT_BLACK_TO_MOVE));
    });
    addClick(backend, 4);
    addCheck(backend, [] {
        EXPECT_EQ(rgb(holeX(4), holeY(2)), BLACK_DISC);
        EXPECT_TRUE(statusShows(TEXT_WHITE_TO_MOVE));
    });
    EXPECT_EQ(runGame(), 0);
    // Both drops were animated: 7 frames from row 7 to row 1, 6 to row 2, 40 ms apart.
    EXPECT_EQ(std::count(backend.sleeps.begin(), backend.sleeps.end(), 40), 13);
}

TEST_F(PlayLoopTest, ClickOnAFullColumnChangesNothing) {
    writeGameFiles(folder, "human", "human");
    for (int i = 0; i < 6; ++i) {
        addClick(backend, 2);
    }
    auto before = std::make_shared<std::vector<platform::Color>>();
    addCheck(backend, [before] {
        *before = boardPixels();
        EXPECT_TRUE(statusShows(TEXT_WHITE_TO_MOVE));
    });
    addClick(backend, 2);
    addMove(backend, 10, 10);
    addCheck(backend, [before] {
        EXPECT_EQ(boardPixels(), *before);
        EXPECT_TRUE(statusShows(TEXT_WHITE_TO_MOVE)) << "the same side stays to move";
    });
    addClick(backend, 3);
    addCheck(backend, [] { EXPECT_EQ(rgb(holeX(3), holeY(1)), WHITE_DISC); });
    EXPECT_EQ(runGame(), 0);
}

TEST_F(PlayLoopTest, AfterAWinTheNextClickStartsANewGameAndDropsNothing) {
    writeGameFiles(folder, "human", "human");
    for (char move : std::string("1212121")) {
        addClick(backend, move - '0');
    }
    addCheck(backend, [] { EXPECT_TRUE(statusShows(TEXT_WHITE_WINS)); });
    addClick(backend, 5);
    addCheck(backend, [] {
        EXPECT_EQ(countDiscs().white + countDiscs().black, 0);
        EXPECT_TRUE(statusShows(TEXT_WHITE_TO_MOVE));
    });
    addClick(backend, 5);
    addCheck(backend, [] { EXPECT_EQ(rgb(holeX(5), holeY(1)), WHITE_DISC); });
    EXPECT_EQ(runGame(), 0);
}

TEST_F(PlayLoopTest, OwnEngineAsBlackRepliesInTheSameTurn) {
    writeGameFiles(folder, "human", "Engine");
    for (int move = 1; move <= 3; ++move) {
        addClick(backend, 1 + move);
        addCheck(backend, [move] {
            const Discs discs = countDiscs();
            EXPECT_EQ(discs.white, move);
            EXPECT_EQ(discs.black, move) << "black's reply follows before the next input";
            EXPECT_TRUE(statusShows(TEXT_WHITE_TO_MOVE));
        });
    }
    EXPECT_EQ(runGame(), 0);
}

TEST_F(PlayLoopTest, OwnEngineAsWhiteMovesWhenTheFirstPollReturns) {
    writeGameFiles(folder, "engine", "human");
    addMove(backend, 100, 100);
    addCheck(backend, [] {
        EXPECT_EQ(rgb(holeX(4), holeY(1)), WHITE_DISC) << "the own engine opens in the centre";
        EXPECT_EQ(countDiscs().white, 1);
        EXPECT_TRUE(statusShows(TEXT_BLACK_TO_MOVE));
    });
    EXPECT_EQ(runGame(), 0);
}

TEST_F(PlayLoopTest, TwoEnginesAdvanceOneMovePerInputAndStopAtTheEnd) {
    writeGameFiles(folder, "engine", "engine");
    auto last = std::make_shared<int>(0);
    for (int turn = 1; turn <= 42; ++turn) {
        addMove(backend, 100 + turn % 2, 100);
        addCheck(backend, [turn, last] {
            const Discs discs = countDiscs();
            const int played = discs.white + discs.black;
            EXPECT_LE(played, turn) << "at most one move per turn";
            EXPECT_GE(played, *last);
            *last = played;
        });
    }
    // 42 turns are enough for any game; once it is over, nothing moves any more.
    addMove(backend, 50, 50);
    addCheck(backend, [last] {
        const Discs discs = countDiscs();
        EXPECT_EQ(discs.white + discs.black, *last) << "no engine is asked once the game is over";
        EXPECT_TRUE(statusShows(TEXT_WHITE_WINS) || statusShows(TEXT_BLACK_WINS) ||
                    statusShows(TEXT_DRAW));
    });
    EXPECT_EQ(runGame(), 0);
}

TEST_F(PlayLoopTest, OutsideEngineAsBlackRepliesInTheSameTurn) {
    writeGameFiles(folder, "human", "velena");
    addClick(backend, 4);
    addCheck(backend, [] {
        EXPECT_EQ(countDiscs().white, 1);
        EXPECT_EQ(countDiscs().black, 1);
        EXPECT_EQ(rgb(holeX(4), holeY(2)), BLACK_DISC) << "perfect play answers the centre";
        EXPECT_TRUE(statusShows(TEXT_WHITE_TO_MOVE));
    });
    EXPECT_EQ(runGame(), 0);
}

TEST_F(PlayLoopTest, GermanShowsItsOwnWhiteTextsWhateverTheFileSays) {
    writeGameFiles(folder, "human", "human", "DE");
    addCheck(backend, [] { EXPECT_TRUE(statusShows("Wei\xE1 am Zug")); });
    for (char move : std::string("1212121")) {
        addClick(backend, move - '0');
    }
    addCheck(backend, [] { EXPECT_TRUE(statusShows("Wei\xE1 gewinnt")); });
    EXPECT_EQ(runGame(), 0);
    EXPECT_EQ(backend.title, "Vier gewinnt");
}

TEST_F(PlayLoopTest, WithoutTheLanguageFileTheErrorLineIsPrintedOnceAndTheGamePlays) {
    folder.write("options.ini", "[interface]\nlanguage=fr\n");
    addCheck(backend, [] { EXPECT_TRUE(statusShows("<s8>")); });
    addClick(backend, 4);
    addCheck(backend, [] {
        EXPECT_EQ(rgb(holeX(4), holeY(1)), WHITE_DISC);
        EXPECT_TRUE(statusShows("<s9>"));
    });
    ::testing::internal::CaptureStdout();
    const int code = runGame();
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(code, 0);
    EXPECT_EQ(out, "Error: Can't load language file for default\n");
    EXPECT_EQ(backend.title, "<s1>");
}

TEST_F(PlayLoopTest, WithoutOptionsTwoPeoplePlayInEnglish) {
    writeGameFiles(folder, "engine", "engine");
    std::filesystem::remove(folder.path() / "options.ini");
    addClick(backend, 6);
    addMove(backend, 10, 10);
    addCheck(backend, [] {
        EXPECT_EQ(countDiscs().white, 1);
        EXPECT_EQ(countDiscs().black, 0) << "no engine plays black";
        EXPECT_TRUE(statusShows(TEXT_BLACK_TO_MOVE));
    });
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(runGame(), 0);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
}

TEST_F(PlayLoopTest, ThePendingEngineMoveIsStillMadeInTheTurnTheCloseRequestComes) {
    writeGameFiles(folder, "engine", "human");
    backend.recordFrames = true;
    // No steps: the first poll already sees the close request.
    EXPECT_EQ(runGame(), 0);
    ASSERT_FALSE(backend.frames.empty());
    EXPECT_EQ(rgb(backend.frames.back(), holeX(4), holeY(1)), WHITE_DISC);
}

} // namespace
