#include "board.h"
#include "board_setup.h"

#include <gtest/gtest.h>

using namespace bg;
using setup::hit;
using setup::put;

namespace {

Board freshBoard(bool acey) {
    Board b;
    b.acey = acey;
    b.clearForNewGame();
    b.setpawnstobeginning();
    for (int p = 1; p <= 2; ++p)
        b.side[p].pips = b.configpips(p);
    return b;
}

Board emptyBoard() {
    Board b;
    setup::clearToHome(b);
    return b;
}

struct Recorder : BoardListener {
    std::vector<int> blocked;
    void nomoveoffbar(int player) override { blocked.push_back(player); }
};

} // namespace

TEST(BoardLayout, NormalAndAceyStartPositions) {
    Board normal = freshBoard(false);
    EXPECT_EQ(normal.validate(), "");
    EXPECT_EQ(normal.configpips(1), 167);
    EXPECT_EQ(normal.configpips(2), 167);
    EXPECT_EQ(normal.side[1].pawns[7], (Pawn{17, 2}));
    EXPECT_EQ(normal.side[2].pawns[7], (Pawn{8, 2}));
    EXPECT_EQ(normal.side[2].pawns[15], (Pawn{24, 2}));
    EXPECT_EQ(normal.boardgrid[6][5], (Cell{2, 13}));
    EXPECT_EQ(normal.checkfornumonspot(1, 12), 5);
    EXPECT_EQ(normal.checkfornumonspot(2, 12), 0);
    EXPECT_EQ(normal.checkfornoneonspot(19), 5);

    Board acey = freshBoard(true);
    EXPECT_EQ(acey.validate(), "");
    EXPECT_EQ(acey.configpips(1), 0);
    EXPECT_EQ(acey.configpips(2), 0);
    EXPECT_EQ(acey.side[2].pawns[9], (Pawn{25, 9}));
    EXPECT_FALSE(acey.checkforallhome(1));
    EXPECT_FALSE(acey.checkforallhome(2));
}

TEST(BoardLayout, NewGameAfterAceyLeavesNoGhostsOnThePiles) {
    Board b = freshBoard(true);
    b.acey = false;
    b.clearForNewGame();
    b.setpawnstobeginning();
    EXPECT_EQ(b.checkfornoneonspot(0), 0);
    EXPECT_EQ(b.checkfornoneonspot(25), 0);
}

TEST(BoardPips, HitPieceCountsTwentyFive) {
    Board b = freshBoard(false);
    put(b, 2, 5, 20);
    const int before = b.configpips(2); // the piece counts 20 while it stands on 20
    hit(b, 2, 5);
    EXPECT_EQ(b.side[2].pawns[5].point, 20);
    EXPECT_EQ(b.configpips(2), before + 5);
    EXPECT_EQ(b.validate(), "");
}

TEST(BoardPips, HomeAndPilesCountNothing) {
    Board b = freshBoard(false);
    for (int id = 1; id <= kPieces; ++id)
        put(b, 1, id, homePoint(1));
    EXPECT_EQ(b.configpips(1), 0);
    EXPECT_EQ(b.side[1].homecount, 15);
    EXPECT_EQ(b.validate(), "");
}

TEST(BoardBar, OnBarOnlyRefusesOtherPiecesWhileBarHasSome) {
    Board b = freshBoard(false);
    EXPECT_FALSE(b.checkforonbar(1, 3));
    EXPECT_FALSE(b.checkforonbar(1, 99));
    hit(b, 1, 14);
    EXPECT_TRUE(b.checkforonbar(1, 3));
    EXPECT_FALSE(b.checkforonbar(1, 14));
    EXPECT_EQ(b.side[1].addToBar(5), 2);
    b.side[1].removeFromBar(14);
    EXPECT_EQ(b.side[1].addToBar(6), 1); // first empty entry is reused
}

TEST(BoardAllHome, BarStartPileAndOutsidePiecesBlock) {
    Board b = emptyBoard();
    for (int id = 1; id <= kPieces; ++id)
        put(b, 1, id, 19 + id % 6);
    EXPECT_TRUE(b.checkforallhome(1));
    put(b, 1, 3, homePoint(1));
    EXPECT_TRUE(b.checkforallhome(1));
    put(b, 1, 4, 18);
    EXPECT_FALSE(b.checkforallhome(1));
    put(b, 1, 4, 24);
    hit(b, 1, 4);
    EXPECT_FALSE(b.checkforallhome(1));
}

TEST(BoardBearOff, ExactHighestAndCanExactly) {
    Board b = emptyBoard();
    put(b, 1, 14, 21);
    put(b, 1, 15, 23);
    b.currentplayer = 1;
    b.dice = {6, 2, 0, 0};
    EXPECT_TRUE(b.checkforexact(23, 1, 2));
    EXPECT_FALSE(b.checkforexact(21, 1, 1));
    EXPECT_TRUE(b.checkforCANexactly(1, 2));
    EXPECT_FALSE(b.checkforCANexactly(1, 1));
    EXPECT_TRUE(b.checkforhighest(21, 1));
    EXPECT_FALSE(b.checkforhighest(23, 1));
    b.dice.die2 = 0;
    EXPECT_FALSE(b.checkforCANexactly(1, 2)); // a used die fits nothing
}

TEST(BoardMoves, MoreMovesClearsSpentDoubles) {
    Board b = freshBoard(false);
    b.currentplayer = 1;
    b.dice = {0, 0, 3, 3};
    EXPECT_FALSE(b.checkformoremoves(nullptr));
    EXPECT_EQ(b.dice, (Dice{0, 0, 0, 0}));
}

TEST(BoardMoves, BarBlockedIsAnnouncedOnce) {
    Board b = emptyBoard();
    b.currentplayer = 1;
    put(b, 1, 1, 3);
    hit(b, 1, 1);
    int id = 1;
    for (int point = 1; point <= 6; ++point)
        for (int k = 0; k < 2; ++k)
            put(b, 2, id++, point);
    b.dice = {6, 5, 0, 0};
    Recorder r;
    EXPECT_FALSE(b.checkforopenspot(&r));
    EXPECT_EQ(r.blocked, std::vector<int>{1});
    b.dice = {0, 6, 0, 0}; // a used die enters nowhere, 6 is blocked
    r.blocked.clear();
    EXPECT_FALSE(b.checkforopenspot(&r));
    put(b, 2, 4, 10); // point 2 now holds a single blot
    b.dice = {2, 6, 0, 0};
    r.blocked.clear();
    EXPECT_TRUE(b.checkforopenspot(&r));
    EXPECT_TRUE(r.blocked.empty());
}

TEST(BoardMoves, AllHomeLooksOnlyAtTheFarthestBackPiece) {
    Board b = emptyBoard();
    // Player 1 all home: farthest back on 19, others on 22. Player 2 blocks 19+d targets.
    for (int id = 1; id <= 14; ++id)
        put(b, 1, id, 22);
    put(b, 1, 15, 19);
    for (int id = 1; id <= 15; ++id)
        put(b, 2, id, 21 + (id % 2) * 2); // points 21 and 23
    b.currentplayer = 1;
    b.dice = {2, 4, 0, 0}; // 19+2=21 and 19+4=23 are blocked; 22+2=24 would be open
    ASSERT_TRUE(b.checkforallhome(1));
    EXPECT_FALSE(b.checkforopenspot(nullptr));
    b.dice = {2, 3, 0, 0}; // 3 bears off from 22 exactly
    EXPECT_TRUE(b.checkforopenspot(nullptr));
    b.dice = {2, 6, 0, 0}; // farthest back on 19, 19 + 6 = 25 bears off
    EXPECT_TRUE(b.checkforopenspot(nullptr));
}

TEST(BoardMoves, PlayerTwoHomePiecesNeverMove) {
    Board b = emptyBoard();
    put(b, 2, 15, 12); // not all home, only piece left is on 12
    for (int id = 1; id <= 15; ++id)
        put(b, 1, id, id <= 8 ? 8 : 7); // closes 8 and 7
    b.currentplayer = 2;
    // 28 - 4 = 24 would be open, but home pieces are not movable; 12-4=8 and 12-5=7 blocked.
    b.dice = {4, 5, 0, 0};
    EXPECT_FALSE(b.checkforopenspot(nullptr));
    b.dice = {4, 3, 0, 0};
    EXPECT_TRUE(b.checkforopenspot(nullptr));
}

TEST(BoardMoves, AceyPileEntersAndHighLowPoints) {
    Board b = freshBoard(true);
    b.currentplayer = 2;
    b.dice = {1, 2, 0, 0};
    EXPECT_TRUE(b.checkforopenspot(nullptr));
    EXPECT_EQ(b.lowestpoint(2), 0);
    put(b, 2, 15, 23);
    put(b, 2, 14, 20);
    EXPECT_EQ(b.lowestpoint(2), 20);
    EXPECT_EQ(b.highestpoint(2), 23);
    EXPECT_EQ(b.topPieceOn(2, 25), 13);
    b.aceypending = true;
    EXPECT_FALSE(b.checkforacey());
    b.dice = {0, 0, 0, 0};
    EXPECT_TRUE(b.checkforacey());
}

TEST(BoardValidate, CatchesCorruption) {
    Board b = freshBoard(false);
    b.boardgrid[12][2] = {};
    EXPECT_NE(b.validate(), "");
    b = freshBoard(false);
    b.side[1].homecount = 1;
    EXPECT_NE(b.validate(), "");
    b = freshBoard(false);
    b.side[2].pips = 3;
    EXPECT_NE(b.validate(), "");
}
