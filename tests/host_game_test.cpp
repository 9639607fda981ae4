// Game start, dice, moves, bear-offs, undo, concession, the turn clock and the bot's opening,
// with exact message texts under a virtual clock.

#include "board_setup.h"
#include "sim_harness.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace bg;
using bg::sim::Sim;
using setup::put;
using Lines = std::vector<std::string>;

namespace {

// Host (seat 1) and Bob (seat 2) start a game whose start dice are d1 and d2.
void twoPlayers(Sim& s, bool acey, int d1, int d2, int tieWinner = 1) {
    s.join("Host");
    s.join("Bob");
    s.send(1, msg::startgame("Host", "120", acey ? "1" : "0"));
    s.settle();
    s.random.script = {d1 - 1, d2 - 1, tieWinner - 1};
    s.send(1, msg::pressstart(1));
    s.send(2, msg::pressstart(2));
    s.settle();
    s.random.script.clear();
}

Board& board(Sim& s) {
    return s.host->mutableBoard();
}

// The position with every piece home, a turn open for `player` with the given dice.
void blankTurn(Sim& s, int player, Dice dice) {
    Board& b = board(s);
    setup::clearToHome(b);
    b.currentplayer = player;
    b.dice = dice;
}

std::string last(Sim& s, int seat) {
    const Lines l = s.outbox.to(seat);
    return l.empty() ? std::string() : l.back();
}

} // namespace

TEST(HostStart, HigherStartDieBeginsWithBothDice) {
    Sim s;
    twoPlayers(s, false, 5, 3);
    const Lines got = s.outbox.to(2);
    ASSERT_GE(got.size(), 2u);
    EXPECT_EQ(got[got.size() - 2], "");
    EXPECT_EQ(got.back(), "CMD_firstroll+5+3+1+t+");
    EXPECT_EQ(s.host->board().dice, (Dice{5, 3, 0, 0}));
    EXPECT_TRUE(s.host->seat(1).turnopen);
    EXPECT_FALSE(s.clock.running(HostTimer::Turn)); // the first turn has no time limit
}

TEST(HostStart, TieIsDrawnAndGivesTwoMovesNotFour) {
    Sim s;
    twoPlayers(s, false, 4, 4, 2);
    EXPECT_EQ(last(s, 1), "CMD_firstroll+4+4+2+t+");
    s.outbox.clear();
    s.send(2, msg::moveit(2, 1, 9)); // names the bottom piece of 13; the top one (5) moves
    s.send(2, msg::moveit(2, 1, 9));
    s.settle();
    EXPECT_EQ(s.outbox.to(1), (Lines{"CMD_movehispiece+2+2+4+0+0+0+2+163+5+13+5+9+1+t+",
                                     "CMD_movehispiece+2+0+0+0+0+0+1+159+4+13+4+9+2+f+"}));
    s.send(2, msg::moveit(2, 1, 9)); // no die left
    s.run(1990);
    EXPECT_EQ(s.outbox.to(1).size(), 2u);
    s.run(20);
    EXPECT_EQ(last(s, 1), "CMD_nextplayer+1+");
    EXPECT_TRUE(s.clock.running(HostTimer::Turn));
}

TEST(HostStart, SoloGamePressesStartForTheBot) {
    Sim s;
    s.join("You");
    s.random.script = {2, 3}; // the bot's start die is thrown first
    s.send(1, msg::startgame("You", "120", "0"));
    s.settle();
    EXPECT_FALSE(s.host->seat(2).startpending);
    EXPECT_TRUE(s.host->seat(1).startpending);
    s.send(1, msg::pressstart(1));
    s.send(1, msg::pressstart(1)); // a second press changes nothing
    s.settle();
    EXPECT_EQ(s.outbox.to(1).back(), "CMD_firstroll+4+3+1+t+");
    EXPECT_EQ(s.outbox.to(1).size(), 5u); // login (2), startgame, empty, firstroll
}

TEST(HostStart, NewGameDoesNotInheritAnExtraTurn) {
    Sim s;
    twoPlayers(s, true, 5, 3);
    s.host->mutableBoard().aceypending = true;
    s.host->mutableBoard().dice = {0, 0, 0, 0};
    s.send(1, msg::mydoubles(1, 2));
    s.settle();
    ASSERT_TRUE(s.host->anotherturn());
    s.send(1, msg::startgame("Host", "120", "0"));
    s.settle();
    EXPECT_FALSE(s.host->anotherturn());
}

TEST(HostDice, AceyOneTwoChoosesDoublesAndThrowsAgain) {
    Sim s;
    twoPlayers(s, true, 6, 1);
    s.send(1, msg::moveit(1, 15, 6));
    s.send(1, msg::moveit(1, 14, 1));
    s.run(2100);
    ASSERT_EQ(last(s, 2), "CMD_nextplayer+2+");
    s.outbox.clear();
    s.random.script = {0, 1};
    s.send(1, msg::rolldice(1)); // not on turn
    s.send(2, msg::rolldice(2));
    s.send(2, msg::rolldice(2)); // thrown already
    s.settle();
    EXPECT_EQ(s.outbox.to(1), (Lines{"CMD_threwdice+2+1+2+0+0+t+"}));
    s.send(2, msg::mydoubles(2, 6)); // too early: the 1 and 2 are not played yet
    s.send(2, msg::moveit(2, 15, 24));
    s.send(2, msg::moveit(2, 14, 23));
    s.settle();
    EXPECT_EQ(s.outbox.to(1).back(), "CMD_movehispiece+2+0+0+0+0+0+2+47+14+25+14+23+1+t+");
    EXPECT_EQ(s.outbox.to(2).back(), "CMD_choosedouble+2+");
    EXPECT_NE(s.outbox.to(1).back(), "CMD_choosedouble+2+");
    s.send(2, msg::mydoubles(2, 6));
    s.settle();
    EXPECT_EQ(s.outbox.to(1).back(), "CMD_threwdice+2+6+6+6+6+t+");
    for (int i = 0; i < 4; ++i)
        s.send(2, msg::moveit(2, 13 - i, 19));
    s.settle();
    EXPECT_TRUE(s.outbox.to(1).back().ends_with("+f+"));
    EXPECT_EQ(s.host->board().checkfornumonspot(2, 19), 4);
    s.run(2100);
    EXPECT_EQ(last(s, 1), "CMD_nextplayer+2+"); // the doubles earn another throw
}

TEST(HostDice, DoublesChoiceOnlyWhenDue) {
    Sim s;
    twoPlayers(s, false, 5, 3);
    s.host->mutableBoard().aceypending = true;
    s.outbox.clear();
    s.send(1, msg::mydoubles(1, 4)); // a normal game has no doubles choice
    s.settle();
    EXPECT_TRUE(s.outbox.log.empty());
}

TEST(HostDice, ThrowWithoutMovePassesAfterTwoSeconds) {
    Sim s;
    twoPlayers(s, false, 5, 3);
    Board& b = board(s);
    blankTurn(s, 2, {kAwaitingRoll, kAwaitingRoll, 0, 0});
    for (int id = 1; id <= 12; ++id)
        put(b, 1, id, 19 + (id - 1) / 2); // 19..24 closed
    put(b, 2, 1, 10);
    setup::hit(b, 2, 1);
    s.outbox.clear();
    s.random.script = {2, 4};
    s.send(2, msg::rolldice(2));
    s.settle();
    EXPECT_EQ(s.outbox.to(1), (Lines{"CMD_nomoveoffbar+2+", "CMD_threwdice+2+3+5+0+0+f+"}));
    s.run(1900);
    EXPECT_EQ(s.outbox.to(1).size(), 2u);
    s.run(200);
    EXPECT_EQ(last(s, 1), "CMD_nextplayer+1+");
}

TEST(HostMoves, DoubleThreesUseDieTwoTwiceThenDieOne) {
    Sim s;
    twoPlayers(s, false, 5, 3);
    board(s).dice = {3, 3, 3, 3};
    s.outbox.clear();
    for (int i = 0; i < 4; ++i)
        s.send(1, msg::moveit(1, 9, 22));
    s.settle();
    const Lines got = s.outbox.to(2);
    ASSERT_EQ(got.size(), 4u);
    EXPECT_TRUE(got[0].starts_with("CMD_movehispiece+1+1+3+3+3+0+2+164+13+19+5+22+1+t+"));
    EXPECT_TRUE(got[1].starts_with("CMD_movehispiece+1+1+3+0+3+0+2+161+12+19+4+22+2+t+"));
    EXPECT_TRUE(got[2].starts_with("CMD_movehispiece+1+1+3+0+0+0+1+158+11+19+3+22+3+t+"));
    EXPECT_TRUE(got[3].starts_with("CMD_movehispiece+1+0+0+0+0+0+1+155+10+19+2+22+4+f+"));
    EXPECT_EQ(s.host->validate(), "");
}

TEST(HostMoves, BarFirstEntryHitsAndCannotBeUndone) {
    Sim s;
    twoPlayers(s, false, 5, 3);
    Board& b = board(s);
    b.dice = {5, 2, 0, 0};
    setup::hit(b, 1, 15); // player 1 has a piece on the bar
    put(b, 2, 13, 5);     // player 2 leaves a blot on 5
    b.side[2].pips = b.configpips(2);
    s.outbox.clear();
    s.send(1, msg::moveit(1, 13, 21)); // legal for that piece, but the bar comes first
    s.settle();
    EXPECT_EQ(s.outbox.to(1), (Lines{"CMD_error+1+4+"}));
    EXPECT_TRUE(s.outbox.to(2).empty());
    s.send(1, msg::moveit(1, 15, 5));
    s.settle();
    const int pips1 = s.host->board().side[1].pips;
    const int pips2 = s.host->board().side[2].pips;
    EXPECT_EQ(pips2, 167 - 1 + 25 - 5); // moved 6 -> 5, then hit: counts 25 now
    EXPECT_EQ(last(s, 2), "CMD_pounce+1+1+0+2+0+0+1+" + std::to_string(pips1) +
                              "+15+0+0+5+1+2+13+" + std::to_string(pips2) + "+1+1+");
    s.outbox.clear();
    s.send(1, msg::undo(1));
    s.settle();
    EXPECT_TRUE(s.outbox.log.empty());
    EXPECT_EQ(s.host->validate(), "");
}

TEST(HostMoves, RefusedMovesKeepTheBoard) {
    Sim s;
    twoPlayers(s, false, 5, 3);
    const Board before = s.host->board();
    s.outbox.clear();
    s.send(1, msg::moveit(1, 14, 6)); // 1 -> 6 with the 5: player 2 holds 6
    s.send(1, msg::moveit(1, 9, 30)); // off the board
    s.send(1, msg::moveit(1, 1, 14)); // 12 -> 14 needs a 2
    s.send(1, msg::moveit(1, 9, 19)); // not a move at all
    s.send(2, msg::moveit(2, 5, 10)); // not on turn: no answer
    s.settle();
    EXPECT_EQ(s.outbox.to(1), Lines(4, "CMD_error+1+1+"));
    EXPECT_TRUE(s.outbox.to(2).empty());
    EXPECT_EQ(s.outbox.hostChats, (std::vector<std::string>{"Error in Movement"}));
    EXPECT_EQ(s.host->board().boardgrid, before.boardgrid);
    EXPECT_EQ(s.host->board().dice, before.dice);
}

TEST(HostBearOff, ExactAndHighestRules) {
    Sim s;
    twoPlayers(s, false, 5, 3);
    Board& b = board(s);
    blankTurn(s, 1, {6, 1, 0, 0});
    put(b, 1, 1, 19);
    put(b, 1, 2, 22);
    put(b, 1, 3, 20);
    s.outbox.clear();
    s.send(1, msg::placehome(1, 2, 6)); // the piece on 19 fits the 6 exactly
    s.send(1, msg::placehome(1, 2, 4)); // no such die
    s.settle();
    EXPECT_EQ(s.outbox.to(1), (Lines{"CMD_error+1+5+", "CMD_error+1+1+"}));

    blankTurn(s, 1, {6, 6, 0, 0});
    put(b, 1, 1, 21);
    put(b, 1, 2, 23);
    put(b, 1, 4, 23);
    s.outbox.clear();
    s.send(1, msg::placehome(1, 2, 6)); // 23 is not the farthest back
    s.send(1, msg::placehome(1, 1, 6));
    s.settle();
    ASSERT_EQ(s.outbox.to(1).size(), 2u);
    EXPECT_EQ(s.outbox.to(1)[0], "CMD_error+1+6+");
    EXPECT_EQ(s.outbox.to(1)[1], "CMD_gothome+1+1+0+6+0+0+1+1+13+21+1+4+"); // die 1 first
    s.send(1, msg::placehome(1, 2, 6)); // now 23 is the farthest back: borne off
    s.settle();
    EXPECT_EQ(last(s, 1), "CMD_gothome+1+0+0+0+0+0+2+4+14+23+2+2+"); // top piece of 23 leaves

    blankTurn(s, 1, {6, 1, 0, 0});
    put(b, 1, 1, 18);
    s.outbox.clear();
    s.send(1, msg::placehome(1, 1, 6));
    s.settle();
    EXPECT_EQ(s.outbox.to(1), (Lines{"CMD_error+1+2+"}));
}

TEST(HostBearOff, FifteenthPieceWinsWithoutPassingTheTurn) {
    Sim s;
    twoPlayers(s, false, 5, 3);
    blankTurn(s, 1, {1, 3, 0, 0});
    put(board(s), 1, 9, 24);
    s.outbox.clear();
    s.send(1, msg::placehome(1, 9, 1));
    s.run(5000);
    EXPECT_EQ(s.outbox.to(2),
              (Lines{"CMD_gothome+1+0+0+3+0+0+1+9+15+24+1+0+", "CMD_winner+Host+"}));
    EXPECT_FALSE(s.host->gamerunning());
    EXPECT_EQ(s.host->board().currentplayer, 0);
    s.send(1, msg::rolldice(0));
    s.send(1, msg::undo(1));
    s.settle();
    EXPECT_EQ(s.outbox.to(2).size(), 2u);
}

TEST(HostUndo, TakesBackTheLastPlainMoveOnce) {
    Sim s;
    twoPlayers(s, false, 3, 5); // player 2 begins with 3 and 5
    s.outbox.clear();
    s.send(2, msg::moveit(2, 1, 10));
    s.send(2, msg::undo(2));
    s.send(2, msg::undo(2));
    s.settle();
    EXPECT_EQ(s.outbox.to(1), (Lines{"CMD_movehispiece+2+2+0+5+0+0+1+164+5+13+5+10+1+t+",
                                     "CMD_movehispiece+2+2+3+5+0+0+1+167+5+10+1+13+5+f+"}));
    EXPECT_EQ(s.host->board().dice, (Dice{3, 5, 0, 0}));
    EXPECT_EQ(s.host->validate(), "");
}

TEST(HostUndo, ReportsTheLevelTheTopPieceLeaves) {
    Sim s;
    twoPlayers(s, false, 5, 3);
    Board& b = board(s);
    blankTurn(s, 1, {2, 6, 0, 0});
    put(b, 1, 1, 21);
    put(b, 1, 2, 21);
    put(b, 1, 3, 19);
    put(b, 1, 4, 19);
    s.outbox.clear();
    s.send(1, msg::moveit(1, 3, 21));
    s.send(1, msg::undo(1));
    s.settle();
    ASSERT_EQ(s.outbox.to(1).size(), 2u);
    EXPECT_EQ(s.outbox.to(1)[0], "CMD_movehispiece+1+1+0+6+0+0+1+18+4+19+2+21+3+t+");
    EXPECT_EQ(s.outbox.to(1)[1], "CMD_movehispiece+1+1+2+6+0+0+1+20+4+21+3+19+2+f+");
}

TEST(HostUndo, DieGoesToTheFirstEmptySlot) {
    Sim s;
    twoPlayers(s, false, 5, 3);
    board(s).dice = {2, 2, 2, 2};
    s.outbox.clear();
    s.send(1, msg::moveit(1, 13, 21)); // die 2 used: 2, 2, 2, 0
    s.send(1, msg::undo(1));
    s.settle();
    EXPECT_TRUE(last(s, 1).starts_with("CMD_movehispiece+1+1+2+2+2+2+3+"));
}

TEST(HostEnd, ConcessionAnnouncesTheWinnerFirst) {
    Sim s;
    twoPlayers(s, false, 5, 3);
    s.join("Spy");
    s.outbox.clear();
    s.send(3, "CMD_concede+3+");
    s.send(2, msg::concede(2));
    s.settle();
    EXPECT_EQ(s.outbox.to(3), (Lines{"CMD_winner+Host+", "CMD_conceded+2+"}));
}

TEST(HostEnd, TheBotWinsAsZobo) {
    Sim s;
    s.join("You");
    s.send(1, msg::startgame("You", "120", "0"));
    s.send(1, msg::pressstart(1));
    s.send(1, msg::concede(1));
    s.settle();
    EXPECT_EQ(s.outbox.to(1).back(), "CMD_conceded+1+");
    EXPECT_EQ(s.outbox.to(1)[s.outbox.to(1).size() - 2], "CMD_winner+Zobo+");
}

TEST(HostBot, PlaysTheOpeningBookOneMovePerDelay) {
    Sim s; // bot delay 1000 ms
    s.join("You");
    s.random.script = {5, 0}; // the bot throws 6, the player 1
    s.send(1, msg::startgame("You", "120", "0"));
    s.send(1, msg::pressstart(1));
    s.settle();
    EXPECT_EQ(last(s, 1), "CMD_firstroll+1+6+2+t+");
    EXPECT_EQ(s.host->openingpiece(1), 8);
    EXPECT_EQ(s.host->openingpiece(2), 5);
    s.outbox.clear();
    s.run(990);
    EXPECT_TRUE(s.outbox.log.empty());
    s.run(20);
    EXPECT_EQ(s.outbox.to(1), (Lines{"CMD_movehispiece+2+2+0+6+0+0+1+166+8+8+3+7+1+t+"}));
    s.run(1000);
    EXPECT_EQ(last(s, 1), "CMD_movehispiece+2+0+0+0+0+0+2+160+5+13+5+7+2+f+");
}

TEST(HostClock, TimeOutLetsTheBotFinishButTheNextTurnIsThePlayers) {
    Sim s;
    twoPlayers(s, false, 5, 3);
    s.send(1, msg::moveit(1, 1, 17));
    s.send(1, msg::moveit(1, 13, 22));
    s.run(2100);
    ASSERT_EQ(last(s, 2), "CMD_nextplayer+2+");
    std::vector<std::pair<int64_t, std::string>> heard;
    s.outbox.onSend = [&](int seat, std::string_view m) {
        if (seat == 1) heard.emplace_back(s.clock.now, std::string(m));
    };
    s.run(125000);
    ASSERT_GE(heard.size(), 3u);
    EXPECT_EQ(heard[0].second, "CMD_thetime+1+");
    EXPECT_EQ(heard[1].second, "CMD_thetime+2+");
    EXPECT_TRUE(heard[2].second.starts_with("CMD_threwdice+2+"));
    EXPECT_EQ(heard[1].first - heard[0].first, 16000);
    EXPECT_TRUE(s.host->seat(2).timedout);
    // Player 1 lets its time run out too; then it is Bob's turn again, and his own: the bot
    // does not throw for him.
    bool bobsTurnAgain = false;
    bool timedOutAtHisTurn = true;
    int botThrowsForBob = 0;
    s.outbox.onSend = [&](int seat, std::string_view m) {
        if (seat != 1) return;
        if (m == "CMD_nextplayer+2+") {
            bobsTurnAgain = true;
            timedOutAtHisTurn = s.host->seat(2).timedout;
        }
        if (bobsTurnAgain && m == "CMD_thetime+1+")
            s.outbox.onSend = nullptr;
        else if (bobsTurnAgain && m.starts_with("CMD_threwdice+2+"))
            ++botThrowsForBob;
    };
    s.run(260000);
    ASSERT_TRUE(bobsTurnAgain);
    EXPECT_FALSE(timedOutAtHisTurn);
    EXPECT_EQ(botThrowsForBob, 0);
}

TEST(HostClock, WarningAndTimeOutTicks) {
    Sim s;
    twoPlayers(s, false, 3, 5);
    s.send(2, msg::moveit(2, 1, 10));
    s.send(2, msg::moveit(2, 1, 8));
    s.settle();
    std::vector<std::pair<int64_t, std::string>> heard;
    s.outbox.onSend = [&](int seat, std::string_view m) {
        if (seat == 2) heard.emplace_back(s.clock.now, std::string(m));
    };
    s.run(130000);
    ASSERT_GE(heard.size(), 3u);
    EXPECT_EQ(heard[0].second, "CMD_nextplayer+1+");
    EXPECT_EQ(heard[1].second, "CMD_thetime+1+");
    EXPECT_EQ(heard[1].first - heard[0].first, 105000);
    EXPECT_EQ(heard[2].second, "CMD_thetime+2+");
    EXPECT_EQ(heard[2].first - heard[0].first, 121000);
}

// A spectator that chats as fast as the host serves keeps the dispatcher busy every tick; the
// turn clock still warns and times out exactly on schedule.
TEST(HostClock, AChatFloodDoesNotDelayTheTurnClock) {
    Sim s;
    twoPlayers(s, false, 3, 5);
    const int spy = s.join("Spy");
    s.send(2, msg::moveit(2, 1, 10));
    s.send(2, msg::moveit(2, 1, 8));
    s.settle();
    std::vector<std::pair<int64_t, std::string>> heard;
    int relayed = 0;
    s.outbox.onSend = [&](int seat, std::string_view m) {
        if (seat == 2 && !m.starts_with("CMD_chat+"))
            heard.emplace_back(s.clock.now, std::string(m));
        if (seat == 2 && m.starts_with("CMD_chat+3+")) ++relayed;
    };
    s.run(130000, [&] { s.send(spy, msg::chat(spy, "flood", "clBlack")); });
    EXPECT_TRUE(s.host->seat(spy).connected);
    EXPECT_GT(relayed, 10000);
    ASSERT_GE(heard.size(), 3u);
    EXPECT_EQ(heard[0].second, "CMD_nextplayer+1+");
    EXPECT_EQ(heard[1].second, "CMD_thetime+1+");
    EXPECT_EQ(heard[1].first - heard[0].first, 105000);
    EXPECT_EQ(heard[2].second, "CMD_thetime+2+");
    EXPECT_EQ(heard[2].first - heard[0].first, 121000);
}

TEST(HostClock, TimeOutBeforeChoosingTheDoubleLetsTheBotChoose) {
    Sim s;
    twoPlayers(s, true, 6, 1);
    s.send(1, msg::moveit(1, 15, 6));
    s.send(1, msg::moveit(1, 14, 1));
    s.run(2100);
    ASSERT_EQ(last(s, 2), "CMD_nextplayer+2+");
    s.random.script = {0, 1};
    s.send(2, msg::rolldice(2));
    s.send(2, msg::moveit(2, 15, 24));
    s.send(2, msg::moveit(2, 14, 23));
    s.settle();
    ASSERT_EQ(last(s, 2), "CMD_choosedouble+2+");
    s.outbox.clear();
    s.run(125000); // Bob never answers
    const Lines got = s.outbox.to(1);
    const auto out = std::find(got.begin(), got.end(), "CMD_thetime+2+");
    ASSERT_NE(out, got.end());
    ASSERT_NE(out + 1, got.end());
    EXPECT_EQ(out[1], "CMD_threwdice+2+5+5+5+5+t+");
    EXPECT_TRUE(s.host->anotherturn());
}

TEST(HostClock, ShortTurnsGetNoWarning) {
    Sim s;
    s.join("Host");
    s.join("Bob");
    s.send(1, msg::startgame("Host", "15", "0"));
    s.settle();
    s.random.script = {2, 4};
    s.send(1, msg::pressstart(1));
    s.send(2, msg::pressstart(2));
    s.send(2, msg::moveit(2, 1, 10));
    s.send(2, msg::moveit(2, 1, 8));
    s.settle();
    s.outbox.clear();
    s.run(2000 + 16000);
    const Lines got = s.outbox.to(1);
    ASSERT_GE(got.size(), 2u);
    EXPECT_EQ(got[0], "CMD_nextplayer+1+");
    EXPECT_EQ(got[1], "CMD_thetime+2+");
}

TEST(HostDeparture, LeavingDuringTheOpeningTurnDoesNotStallTheGame) {
    Sim s;
    twoPlayers(s, false, 3, 5); // Bob begins
    s.hangUp(2);
    s.run(5000);
    const Lines got = s.outbox.to(1);
    int bobMoves = 0;
    for (const auto& m : got)
        if (m.starts_with("CMD_movehispiece+2+") || m.starts_with("CMD_pounce+2+")) ++bobMoves;
    EXPECT_EQ(bobMoves, 2);
    EXPECT_EQ(got.back(), "CMD_nextplayer+1+");
}

TEST(HostDeparture, WatchingDuringTheStartPressPressesForThePlayer) {
    Sim s;
    s.join("Host");
    s.join("Bob");
    s.send(1, msg::startgame("Host", "120", "0"));
    s.send(1, msg::pressstart(1));
    s.send(2, msg::justwatch(2, 1));
    s.settle();
    EXPECT_FALSE(s.host->seat(2).startpending);
    EXPECT_TRUE(last(s, 1).starts_with("CMD_firstroll+"));
}

TEST(HostStart, RestartingMidGameLeavesNoTurnBehind) {
    Sim s;
    twoPlayers(s, false, 5, 3);
    s.send(1, msg::moveit(1, 1, 17)); // leaves an undo behind
    s.send(1, msg::startgame("Host", "120", "0"));
    s.settle();
    const Board fresh = s.host->board();
    s.outbox.clear();
    s.send(1, msg::undo(1));
    s.send(1, msg::moveit(1, 13, 22));
    s.send(1, msg::rolldice(1));
    s.run(200000);
    EXPECT_TRUE(s.outbox.log.empty());
    EXPECT_EQ(s.host->board().boardgrid, fresh.boardgrid);
}
