// The board view's pixels with the game's values: bars, board grey, holes, the square behind
// each disc, and the frames of the drop animation as they were presented.
#include "game/boardview.h"

#include "gamefixture.h"

#include <gtest/gtest.h>

using namespace gametest;

namespace {

constexpr platform::Color BAR = 0x101010;
constexpr platform::Color GREY = 0x404040;
constexpr platform::Color HOLE = 0x505050;
constexpr platform::Color WHITE_DISC = 0xB0B0B0;
constexpr platform::Color BLACK_DISC = 0x101010;

class BoardViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        backend = &installScripted();
        openGameWindow();
        initBoardView(view, 48, 20, 0, 48, GREY, HOLE, WHITE_DISC, BLACK_DISC);
    }
    void TearDown() override {
        destroyBoardView(view);
        platform::closeWindow();
    }

    ScriptedBackend* backend = nullptr;
    BoardView view;
};

TEST_F(BoardViewTest, InitPaintsTheGreyBoardBetweenTwoDarkBars) {
    struct Point {
        int x, y;
        platform::Color color;
    };
    const Point points[] = {
        {0, 0, BAR},     {383, 0, BAR},    {383, 48, BAR},  {0, 48, BAR},   {0, 49, GREY},
        {383, 49, GREY}, {200, 431, GREY}, {0, 431, GREY},  {0, 432, BAR},  {383, 479, BAR},
        {200, 460, BAR}, {200, 200, GREY}, {48, 384, GREY}, {383, 431, GREY},
    };
    for (const Point& p : points) {
        EXPECT_EQ(rgb(p.x, p.y), p.color) << "at (" << p.x << ", " << p.y << ")";
    }
}

TEST_F(BoardViewTest, ViewKeepsTheValuesItWasGiven) {
    EXPECT_EQ(view.cellSize, 48);
    EXPECT_EQ(view.radius, 20);
    EXPECT_EQ(view.xOffset, 0);
    EXPECT_EQ(view.yOffset, 48);
    EXPECT_EQ(view.boardColor, GREY);
    EXPECT_EQ(view.holeColor, HOLE);
    EXPECT_EQ(view.whiteColor, WHITE_DISC);
    EXPECT_EQ(view.blackColor, BLACK_DISC);
    EXPECT_NE(view.surface, nullptr);
    EXPECT_NE(view.context, nullptr);
}

TEST_F(BoardViewTest, EveryHoleCentreIsHoleColouredWithGreyBesideIt) {
    paintBoard(view);
    for (int column = 1; column <= 7; ++column) {
        for (int row = 1; row <= 6; ++row) {
            const int x = holeX(column);
            const int y = holeY(row);
            SCOPED_TRACE(::testing::Message() << "cell (" << column << ", " << row << ")");
            EXPECT_EQ(rgb(x, y), HOLE);
            EXPECT_EQ(rgb(x + 19, y), HOLE);
            EXPECT_EQ(rgb(x - 19, y), HOLE);
            EXPECT_EQ(rgb(x, y - 19), HOLE);
            EXPECT_EQ(rgb(x + 21, y), GREY);
            EXPECT_EQ(rgb(x - 21, y), GREY);
            EXPECT_EQ(rgb(x + 15, y + 15), GREY) << "beyond the radius";
        }
    }
    // The place above the board and the bars are untouched.
    EXPECT_EQ(rgb(holeX(4), 96), GREY);
    EXPECT_EQ(rgb(holeX(4), 48), BAR);
    EXPECT_EQ(rgb(holeX(4), 432), BAR);
}

TEST_F(BoardViewTest, PaintCellWipesA41By41SquareAndNothingAround) {
    const int x = holeX(3);
    const int y = holeY(3);
    platform::fillBox(x - 30, y - 30, x + 30, y + 30, 0xFF0000);
    paintCell(view, 3, 3, WHITE_DISC);

    EXPECT_EQ(rgb(x, y), WHITE_DISC);
    for (const auto& [dx, dy] : {std::pair{-20, -20}, {20, -20}, {20, 20}, {-20, 20}}) {
        EXPECT_EQ(rgb(x + dx, y + dy), GREY) << "square corner " << dx << ", " << dy;
    }
    for (const auto& [dx, dy] : {std::pair{-21, 0}, {21, 0}, {0, -21}, {0, 21}, {-21, -21},
                                 {21, 21}}) {
        EXPECT_EQ(rgb(x + dx, y + dy), 0xFF0000u) << "outside the square " << dx << ", " << dy;
    }
}

TEST_F(BoardViewTest, RepaintingACellInTheBoardColourLeavesPlainBackground) {
    paintCell(view, 5, 2, BLACK_DISC);
    EXPECT_EQ(rgb(holeX(5), holeY(2)), BLACK_DISC);
    paintCell(view, 5, 2, GREY);
    // Inside and outside the circle the grey is exact; on its smoothed rim cairo's blend of
    // grey over the same grey may round one step down.
    for (int dy = -20; dy <= 20; ++dy) {
        for (int dx = -20; dx <= 20; ++dx) {
            const platform::Color pixel = rgb(holeX(5) + dx, holeY(2) + dy);
            ASSERT_TRUE(pixel == GREY || pixel == 0x3F3F3F) << dx << ", " << dy;
        }
    }
    EXPECT_EQ(rgb(holeX(5), holeY(2)), GREY);
    EXPECT_EQ(rgb(holeX(5) + 19, holeY(2)), GREY);
    EXPECT_EQ(rgb(holeX(5) + 20, holeY(2) + 20), GREY);
}

TEST_F(BoardViewTest, DropIntoRowSixIsTwoFramesAndClearsThePlaceAboveTheBoard) {
    paintBoard(view);
    backend->recordFrames = true;
    backend->sleeps.clear();
    animateDrop(view, 1, 6, WHITE_DISC);

    ASSERT_EQ(backend->frames.size(), 2u);
    EXPECT_EQ(rgb(backend->frames[0], 48, 96), WHITE_DISC) << "frame 1: disc above the board";
    EXPECT_EQ(rgb(backend->frames[0], 48, holeY(6)), HOLE);
    EXPECT_EQ(rgb(backend->frames[1], 48, 96), GREY) << "frame 2: the place above is background";
    EXPECT_EQ(rgb(backend->frames[1], 48, holeY(6)), WHITE_DISC);
    EXPECT_EQ(backend->sleeps, (std::vector<int>{40, 40})) << "the pause follows every frame";
}

TEST_F(BoardViewTest, DropIntoRowOneFallsThroughEveryRowAndRestoresTheHoles) {
    paintBoard(view);
    backend->recordFrames = true;
    backend->sleeps.clear();
    animateDrop(view, 4, 1, BLACK_DISC);

    ASSERT_EQ(backend->frames.size(), 7u);
    for (int frame = 0; frame < 7; ++frame) {
        const int discRow = 7 - frame;
        SCOPED_TRACE(::testing::Message() << "frame " << frame + 1);
        for (int row = 1; row <= 7; ++row) {
            const platform::Color expected = row == discRow ? BLACK_DISC
                                             : row == 7     ? GREY
                                                            : HOLE;
            EXPECT_EQ(rgb(backend->frames[static_cast<std::size_t>(frame)], holeX(4), holeY(row)),
                      expected)
                << "row " << row;
        }
    }
    EXPECT_EQ(backend->sleeps, std::vector<int>(7, 40));
    // The last frame's disc stays: it is the disc's final picture.
    EXPECT_EQ(rgb(holeX(4), holeY(1)), BLACK_DISC);
    for (int row = 2; row <= 6; ++row) {
        EXPECT_EQ(rgb(holeX(4), holeY(row)), HOLE);
    }
    // Only column 4 was touched.
    EXPECT_EQ(rgb(holeX(3), holeY(1)), HOLE);
    EXPECT_EQ(rgb(holeX(5), holeY(6)), HOLE);
}

TEST_F(BoardViewTest, PassingOverACellRestoresItAsAHoleWhateverItShowed) {
    paintBoard(view);
    paintCell(view, 2, 4, WHITE_DISC);
    animateDrop(view, 2, 3, BLACK_DISC);
    EXPECT_EQ(rgb(holeX(2), holeY(4)), HOLE);
    EXPECT_EQ(rgb(holeX(2), holeY(3)), BLACK_DISC);
}

} // namespace
