// The generator of legal plays, counted the way a chess engine's move generator is: for
// positions built by hand, the number of distinct positions a throw can reach. Each count is
// checked twice: against a table worked out by hand, and against a plain search here that
// tries every piece with every die in every order, with none of the generator's shortcuts
// (one piece per point, one piece for the bar, merging orders as it goes).

#include "board_setup.h"
#include "legalplays.h"
#include "moverules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

using namespace bg;

namespace {

Board blank(int p, int die1, int die2, bool acey = false) {
    Board b;
    b.acey = acey;
    setup::clearToHome(b);
    b.currentplayer = p;
    b.dice = {die1, die2, die1 == die2 ? die1 : 0, die1 == die2 ? die2 : 0};
    return b;
}

Board opening(int die1, int die2) {
    Board b;
    b.clearForNewGame();
    b.setpawnstobeginning();
    for (int p = 1; p <= 2; ++p)
        b.side[p].pips = b.configpips(p);
    b.currentplayer = 1;
    b.dice = {die1, die2, die1 == die2 ? die1 : 0, die1 == die2 ? die2 : 0};
    return b;
}

// Places `count` pieces of player p on `point`, taking them from the home.
void place(Board& b, int p, int point, int count) {
    for (int id = 1; id <= kPieces && count > 0; ++id)
        if (b.side[p].pawns[id].point == homePoint(p)) {
            setup::put(b, p, id, point);
            --count;
        }
}

std::string keyOf(const Board& b, int player, bool awaitsDouble) {
    const Sketch s = sketchOf(b, player);
    std::string key(sizeof s, '\0');
    std::memcpy(key.data(), &s, sizeof s);
    return key + (awaitsDouble ? "d" : "");
}

// Every piece, every die, every order, until the rules end the turn.
void everyWay(const Board& b, int p, int depth, std::set<std::string>& out) {
    auto follow = [&](Board& next) {
        const Sequel sequel = sequelOf(next, nullptr);
        if (sequel == Sequel::MoreMoves && depth + 1 < kMaxMoves)
            everyWay(next, p, depth + 1, out);
        else
            out.insert(keyOf(next, p, sequel == Sequel::ChooseDouble));
    };
    for (int slot = 1; slot <= 2; ++slot) {
        const int value = b.dice.die(slot);
        if (value == 0) continue;
        for (int id = 1; id <= kPieces; ++id) {
            const int from = b.side[p].onBar(id) ? pilePoint(p) : b.side[p].pawns[id].point;
            const int to = targetPoint(p, from, value);
            if (isBoardPoint(to)) {
                const MoveCheck c = checkMove(b, p, id, to);
                if (c.error) continue;
                Board next = b;
                applyMove(next, p, c, to);
                follow(next);
            } else {
                const BearOffCheck c = checkBearOff(b, p, id, value);
                if (c.error) continue;
                Board next = b;
                applyBearOff(next, p, c);
                follow(next);
            }
        }
    }
}

size_t byPlainSearch(const Board& b) {
    std::set<std::string> out;
    everyWay(b, b.currentplayer, 0, out);
    return out.size();
}

size_t byGenerator(const Board& b) {
    std::set<std::string> out;
    for (const LegalPlay& play : legalPlays(b)) {
        EXPECT_EQ(play.board.validate(), "");
        out.insert(keyOf(play.board, b.currentplayer, play.awaitsDouble));
    }
    return out.size();
}

void expectCount(const Board& b, size_t byHand, const std::string& what) {
    EXPECT_EQ(byGenerator(b), byHand) << what << " (generator)";
    EXPECT_EQ(byPlainSearch(b), byHand) << what << " (plain search)";
}

} // namespace

TEST(LegalPlays, OpeningThrowsReachTheCountedPositions) {
    // Distinct positions after each opening throw of the player on turn.
    struct Row {
        int die1, die2;
        size_t positions;
    };
    // 5-5, say: only 13/8 and 8/3 play (the 24- and 1-points are held), four of them with
    // at most three pieces passing 8 that did not come from 13: 4 ways.
    const Row rows[] = {
        {1, 1, 42}, {1, 2, 15}, {1, 3, 16}, {1, 4, 14}, {1, 5, 8},  {1, 6, 10}, {2, 2, 75},
        {2, 3, 17}, {2, 4, 18}, {2, 5, 8},  {2, 6, 14}, {3, 3, 73}, {3, 4, 17}, {3, 5, 9},
        {3, 6, 14}, {4, 4, 52}, {4, 5, 9},  {4, 6, 14}, {5, 5, 4},  {5, 6, 7},  {6, 6, 11},
    };
    for (const Row& r : rows)
        expectCount(opening(r.die1, r.die2), r.positions,
                    "opening " + std::to_string(r.die1) + "-" + std::to_string(r.die2));
}

TEST(LegalPlays, BarEntryAgainstAFivePointBoard) {
    // Player 2 holds its points 1 to 5; player 1 has one piece on the bar, the rest on 13.
    auto position = [](int die1, int die2) {
        Board b = blank(1, die1, die2);
        place(b, 2, 1, 2), place(b, 2, 2, 2), place(b, 2, 3, 7), place(b, 2, 4, 2);
        place(b, 2, 5, 2);
        place(b, 1, 13, 15);
        setup::hit(b, 1, 15); // the top of the stack
        return b;
    };
    expectCount(position(6, 1), 2, "6-1: enter on 6, then 6/7 or 13/14");
    expectCount(position(6, 4), 2, "6-4: enter on 6, then 6/10 or 13/17");
    expectCount(position(4, 4), 0, "4-4: the bar cannot be left");
    expectCount(position(5, 3), 0, "5-3: both entry points held");
}

TEST(LegalPlays, BearOffWithAGap) {
    // Player 1 has one piece six and one three pips from home; nothing on the 5 or 4.
    Board b = blank(1, 5, 4);
    place(b, 1, 19, 1), place(b, 1, 22, 1);
    // The 5 moves 6/1 or the 4 moves 6/2; the other die then bears off the 3.
    expectCount(b, 2, "5-4 with a gap");
}

TEST(LegalPlays, AceyDeuceyStartPile) {
    Board b = blank(1, 6, 5, true);
    place(b, 1, pilePoint(1), 15);
    place(b, 2, pilePoint(2), 15);
    // Two pieces enter on 5 and 6, or one enters and goes on to 11.
    expectCount(b, 2, "6-5 from the start pile");

    Board acey = blank(1, 1, 2, true);
    acey.aceypending = true; // the host's mark of a 1-2 thrown
    place(acey, 1, pilePoint(1), 15);
    place(acey, 2, pilePoint(2), 15);
    // Enter on 1 and 2, or one piece to 3; both then wait for the double.
    expectCount(acey, 2, "1-2 from the start pile");
    for (const LegalPlay& play : legalPlays(acey))
        EXPECT_TRUE(play.awaitsDouble);
}

TEST(LegalPlays, TheDoubleChosenAfterOneTwo) {
    // Two pieces on 7, the double of 3 chosen: four steps of 3 shared between them.
    Board b = blank(1, 3, 3, true);
    place(b, 1, 7, 2);
    place(b, 2, 24, 13);
    // 7 and 19, 10 and 16, or 13 and 13.
    expectCount(b, 3, "double 3 for two pieces");
}
