// Playing moves through the game record: board, turn, move string, evaluation order of the
// status texts, a new game, and the exact pixels of the status line.
#include "game/gamestate.h"

#include "gamefixture.h"
#include "toolkit/theme.h"

#include <gtest/gtest.h>

using namespace gametest;

namespace {

// 41 moves without a four, then black's 42nd move fills the board and makes four.
constexpr std::string_view BLACK_FOUR_ON_42 = "775616662145756643417411517744255322223333";
// 42 moves and no four for either side.
constexpr std::string_view DRAWN_GAME = "757341132773575647262416323134652254654611";

constexpr platform::Color TEXT = 0xE0E0E0;

const StatusTexts TEXTS{TEXT_DRAW, TEXT_BLACK_WINS, TEXT_WHITE_WINS, TEXT_WHITE_TO_MOVE,
                        TEXT_BLACK_TO_MOVE};

class GameStateTest : public ::testing::Test {
protected:
    void SetUp() override {
        installScripted();
        openGameWindow();
        initBoardView(view, 48, 20, 0, 48, 0x404040, 0x505050, 0xB0B0B0, 0x101010);
        paintBoard(view);
        resetGame(game);
        showStatus(TEXTS.whiteToMove);
    }
    void TearDown() override {
        destroyBoardView(view);
        platform::closeWindow();
    }

    void play(std::string_view moves) {
        for (char move : moves) {
            ASSERT_EQ(game.gameOver, 0) << "a move after the game ended";
            game.column = move - '0';
            game.landingRow = landingRow(game.board, game.column);
            ASSERT_GE(game.landingRow, 1);
            playMove(game, view, TEXTS);
        }
    }

    BoardView view;
    GameState game;
};

TEST_F(GameStateTest, FirstMoveInColumnFourPassesTheTurnToBlack) {
    play("4");
    EXPECT_EQ(game.board[cellIndex(4, 1)], SIDE_WHITE);
    EXPECT_EQ(game.moveString, "4");
    EXPECT_EQ(game.sideToMove, SIDE_BLACK);
    EXPECT_EQ(game.column, 0);
    EXPECT_EQ(game.gameOver, 0);
    EXPECT_EQ(game.whiteBestLine, 1);
    EXPECT_EQ(rgb(holeX(4), holeY(1)), 0xB0B0B0u);
    EXPECT_TRUE(statusShows(TEXT_BLACK_TO_MOVE));

    play("4");
    EXPECT_EQ(game.board[cellIndex(4, 2)], SIDE_BLACK);
    EXPECT_EQ(rgb(holeX(4), holeY(2)), 0x101010u);
    EXPECT_EQ(game.moveString, "44");
    EXPECT_TRUE(statusShows(TEXT_WHITE_TO_MOVE));
}

TEST_F(GameStateTest, BlackFourWithTheLastFreeCellIsAWinNotADraw) {
    play(BLACK_FOUR_ON_42.substr(0, 41));
    EXPECT_EQ(game.gameOver, 0);
    EXPECT_TRUE(statusShows(TEXT_BLACK_TO_MOVE));
    play(BLACK_FOUR_ON_42.substr(41));
    EXPECT_EQ(boardFull(game.board), BOARD_TRUE);
    EXPECT_GE(game.blackBestLine, 4);
    EXPECT_EQ(game.gameOver, -1);
    EXPECT_EQ(game.moveString, BLACK_FOUR_ON_42);
    EXPECT_TRUE(statusShows(TEXT_BLACK_WINS));
}

TEST_F(GameStateTest, FullBoardWithoutFourIsADraw) {
    play(DRAWN_GAME);
    EXPECT_EQ(game.gameOver, -1);
    EXPECT_LT(game.whiteBestLine, 4);
    EXPECT_LT(game.blackBestLine, 4);
    EXPECT_TRUE(statusShows(TEXT_DRAW));
}

TEST_F(GameStateTest, WhiteFourEndsTheGameWithTheWhiteWinsText) {
    play("1212121");
    EXPECT_EQ(game.gameOver, -1);
    EXPECT_EQ(game.whiteBestLine, 4);
    EXPECT_EQ(game.sideToMove, SIDE_BLACK) << "the turn passes even on the winning move";
    EXPECT_TRUE(statusShows(TEXT_WHITE_WINS));
}

TEST_F(GameStateTest, NewGameEmptiesEveryHoleAndKeepsThePendingMove) {
    play("1212121");
    game.column = 5;
    game.landingRow = 3;
    newGame(game, view, TEXTS);
    EXPECT_EQ(game.gameOver, 0);
    EXPECT_EQ(game.sideToMove, SIDE_WHITE);
    EXPECT_EQ(game.moveString, "");
    EXPECT_EQ(game.whiteBestLine, 0);
    EXPECT_EQ(game.blackBestLine, 0);
    EXPECT_EQ(game.column, 5);
    EXPECT_EQ(game.landingRow, 3);
    for (int column = 1; column <= 7; ++column) {
        EXPECT_EQ(landingRow(game.board, column), 1);
        for (int row = 1; row <= 6; ++row) {
            EXPECT_EQ(rgb(holeX(column), holeY(row)), 0x505050u) << column << ", " << row;
        }
    }
    EXPECT_TRUE(statusShows(TEXT_WHITE_TO_MOVE));
}

// Status panel: pressed look over 0x404040, that is base 0x2B, a black outline and 22
// gradient rows.
constexpr int GRADIENT[22] = {21, 18, 15, 12, 9,   6,   3,   0,   -2,  -5,  -8,
                              -11, -14, -17, -20, -23, -26, -29, -32, -34, -37, -40};

platform::Color gradientRow(int y) {
    return VESKA::shadeColor(0x2B2B2B, GRADIENT[y - 13]) & 0xFFFFFF;
}

TEST_F(GameStateTest, StatusPanelIsPressedWithItsGradientBetweenTheGlyphs) {
    const std::string text = TEXT_WHITE_TO_MOVE; // 13 bytes: x = (336 - 104) / 2 + 24 = 140
    showStatus(text);
    const int left = 140;
    const int right = left + 8 * 13; // first column after the text
    EXPECT_EQ(statusTextX(text.size()), left);

    for (int x = 24; x < 360; ++x) {
        EXPECT_EQ(platform::getPixel(x, 12), 0xFF000000u) << "top edge at " << x;
        EXPECT_EQ(platform::getPixel(x, 35), 0xFF000000u) << "bottom edge at " << x;
    }
    for (int y = 12; y < 36; ++y) {
        EXPECT_EQ(platform::getPixel(24, y), 0xFF000000u) << "left edge at " << y;
        EXPECT_EQ(platform::getPixel(359, y), 0xFF000000u) << "right edge at " << y;
    }
    int textPixels = 0;
    for (int y = 13; y < 35; ++y) {
        for (int x = 25; x < 359; ++x) {
            const platform::Color pixel = rgb(x, y);
            const bool inTextBox = x >= left && x < right && y >= 16 && y < 32;
            if (pixel == TEXT) {
                ASSERT_TRUE(inTextBox) << "text colour outside the text at " << x << ", " << y;
                ++textPixels;
            } else {
                ASSERT_EQ(pixel, gradientRow(y)) << "gradient at " << x << ", " << y;
            }
        }
    }
    EXPECT_GT(textPixels, 13 * 8) << "every glyph leaves some pixels";
    // Each glyph but the spaces has pixels inside its own 8-pixel cell.
    for (std::size_t i = 0; i < text.size(); ++i) {
        int set = 0;
        for (int y = 16; y < 32; ++y) {
            for (int x = left + 8 * static_cast<int>(i); x < left + 8 * static_cast<int>(i) + 8;
                 ++x) {
                set += rgb(x, y) == TEXT;
            }
        }
        EXPECT_EQ(set > 0, text[i] != ' ') << "glyph " << i;
    }
}

TEST_F(GameStateTest, StatusTextOf42BytesFillsThePanelExactly) {
    // 0xDB is code page 437's full block: every pixel of its cell is set.
    showStatus(std::string(42, '\xDB'));
    EXPECT_EQ(statusTextX(42), 24);
    for (int y = 16; y < 32; ++y) {
        EXPECT_EQ(rgb(24, y), TEXT);
        EXPECT_EQ(rgb(359, y), TEXT);
        EXPECT_NE(rgb(23, y), TEXT);
        EXPECT_NE(rgb(360, y), TEXT);
    }
    EXPECT_EQ(rgb(200, 15), gradientRow(15));
    EXPECT_EQ(rgb(200, 32), gradientRow(32));
}

TEST_F(GameStateTest, LongerStatusTextReachesOutsideThePanelAndStaysThere) {
    EXPECT_EQ(statusTextX(44), 16);
    EXPECT_EQ(statusTextX(0), 192);
    EXPECT_LT(statusTextX(100000), -300000);
    showStatus(std::string(44, '\xDB'));
    for (int y = 16; y < 32; ++y) {
        EXPECT_EQ(rgb(16, y), TEXT);
        EXPECT_EQ(rgb(367, y), TEXT);
        EXPECT_NE(rgb(15, y), TEXT);
        EXPECT_NE(rgb(368, y), TEXT);
    }
    // The next panel wipes only its own area.
    showStatus(TEXT_DRAW);
    for (int y = 16; y < 32; ++y) {
        EXPECT_EQ(rgb(16, y), TEXT);
        EXPECT_EQ(rgb(23, y), TEXT);
        EXPECT_EQ(rgb(360, y), TEXT);
        EXPECT_EQ(rgb(367, y), TEXT);
        EXPECT_EQ(rgb(25, y), gradientRow(y));
    }
}

TEST_F(GameStateTest, HugeStatusTextIsDrawnWithoutFault) {
    showStatus(std::string(1 << 20, 'x'));
    EXPECT_EQ(platform::getPixel(24, 12), 0xFF000000u);
}

} // namespace
