// The bot's move families, one position each: which move it picks, and when it gives up.

#include "bot_turn.h"

#include <gtest/gtest.h>

using namespace bg;
using bg::sim::Sim;
using setup::put;
using Lines = std::vector<std::string>;

TEST(BotFamilies, EntersFromTheBarFirst) {
    BotTurn t({3, 5, 0, 0});
    put(t.board(), 2, 1, 10);
    put(t.board(), 2, 2, 12);
    setup::hit(t.board(), 2, 2);
    put(t.board(), 1, 1, 22);
    put(t.board(), 1, 2, 22); // 25 - 3 is closed, 25 - 5 is open
    EXPECT_TRUE(t.play().starts_with("CMD_movehispiece+2+2+3+0+0+0+2+"));
    EXPECT_EQ(t.board().side[2].pawns[2].point, 20);
}

TEST(BotFamilies, BearsOffExactlyThenFromTheBack) {
    BotTurn exact({5, 1, 0, 0});
    put(exact.board(), 2, 1, 3);
    put(exact.board(), 2, 2, 5);
    EXPECT_EQ(exact.play(), "CMD_gothome+2+2+0+1+0+0+1+2+14+5+1+3+");

    BotTurn back({6, 5, 0, 0});
    put(back.board(), 2, 1, 2);
    put(back.board(), 2, 2, 3);
    EXPECT_EQ(back.play(), "CMD_gothome+2+2+0+5+0+0+1+2+14+3+1+2+");
}

TEST(BotFamilies, LimitedBotSometimesPassesUpAHit) {
    for (int roll : {50, 51}) {
        BotTurn t({4, 6, 0, 0}, false);
        put(t.board(), 2, 1, 20);
        put(t.board(), 2, 2, 18);
        put(t.board(), 2, 3, 18);
        put(t.board(), 1, 1, 16); // a blot 4 away from 20
        put(t.board(), 1, 2, 1);
        t.s.random.script = {roll};
        const std::string move = t.play();
        if (roll < 51)
            EXPECT_TRUE(move.starts_with("CMD_movehispiece+")) << move;
        else
            EXPECT_TRUE(move.starts_with("CMD_pounce+2+2+0+6+0+0+1+")) << move;
    }
    BotTurn strong({4, 6, 0, 0}, true);
    put(strong.board(), 2, 1, 20);
    put(strong.board(), 1, 1, 16);
    put(strong.board(), 1, 2, 1);
    EXPECT_TRUE(strong.play().starts_with("CMD_pounce+"));
    EXPECT_TRUE(strong.s.random.script.empty()); // no dice thrown for a strong bot's hit
}

TEST(BotFamilies, RacesHomeOnceTheArmiesHavePassed) {
    BotTurn t({2, 1, 0, 0});
    put(t.board(), 2, 1, 9); // outside the home board
    put(t.board(), 2, 2, 4);
    put(t.board(), 2, 3, 4);
    put(t.board(), 1, 1, 20); // every piece of player 1 is past player 2's
    EXPECT_TRUE(t.play().starts_with("CMD_movehispiece+2+2+0+1+0+0+1+"));
    EXPECT_EQ(t.board().side[2].pawns[1].point, 7);
}

TEST(BotFamilies, PassesAtOnceWhenNothingPlays) {
    BotTurn t({6, 6, 6, 6});
    put(t.board(), 2, 1, 10);
    for (int id = 1; id <= 2; ++id)
        put(t.board(), 1, id, 4);
    for (int id = 3; id <= 14; ++id)
        put(t.board(), 1, id, 20); // all home for 1 except 4s
    EXPECT_EQ(t.play(), "CMD_nextplayer+1+");
}

TEST(BotFamilies, BlockedBarAfterATakeOverPassesInsteadOfHanging) {
    // The bot takes over a turn with dice left although the bar piece cannot enter.
    BotTurn t({2, 3, 0, 0});
    put(t.board(), 2, 1, 10);
    put(t.board(), 2, 2, 12);
    setup::hit(t.board(), 2, 2);
    for (int id = 1; id <= 4; ++id)
        put(t.board(), 1, id, id <= 2 ? 23 : 22);
    EXPECT_EQ(t.play(), "CMD_nextplayer+1+");
}

TEST(BotFamilies, AceyOneTwoAlwaysTakesDoubleFives) {
    BotTurn t({1, 2, 0, 0}, true, true);
    t.board().aceypending = true;
    for (int id = 1; id <= 15; ++id)
        put(t.board(), 2, id, 25);
    for (int id = 1; id <= 15; ++id)
        put(t.board(), 1, id, 0);
    t.play();      // plays the 1 (or 2)
    t.s.run(1000); // then the other
    t.s.run(1000); // then chooses
    const Lines got = t.s.outbox.to(1);
    ASSERT_GE(got.size(), 3u);
    EXPECT_EQ(got[2], "CMD_threwdice+2+5+5+5+5+t+");
    EXPECT_TRUE(t.s.host->anotherturn());
}
