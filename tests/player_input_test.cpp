// The player's clicks without a window: where a selected checker may go (targets, blots,
// blocked points, bearing off), what each click sends, and that clicks which do not count send
// nothing. Positions reach the client the way the host sends them: a full-board message, then
// the throw.

#include "board_setup.h"
#include "boardnames.h"
#include "clientstate.h"
#include "movetargets.h"
#include "playerinput.h"
#include "protocol.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace bg;
namespace geo = bg::geo;

namespace {

struct Sink : ClientSink {
    std::vector<std::string> sent;
    std::vector<std::string> sounds;
    void sendBytes(std::string_view b) override {
        // Messages leave one per click, terminator included.
        ASSERT_FALSE(b.empty());
        ASSERT_EQ(b.back(), kTerminator);
        sent.emplace_back(b.substr(0, b.size() - 1));
    }
    void playSound(std::string_view s) override { sounds.emplace_back(s); }
};

struct Client {
    Sink sink;
    ClientState st{sink};
    PlayerInput in{st, sink};
    explicit Client(int seat) {
        st.setMultiplayer("Alice", "127.0.0.1");
        st.joinpress();
        st.dispatch(msg::sendlogininfo(seat));
        sink.sent.clear();
    }
    // Shows `b` with `player` to move, who has thrown `d1` and `d2`.
    void position(Board b, int player, int d1, int d2) {
        b.currentplayer = player;
        b.dice = {kAwaitingRoll, kAwaitingRoll, 0, 0};
        st.dispatch(msg::loadboard(st.myplayer(), b));
        st.dispatch(msg::threwdice(player, Dice{d1, d2, 0, 0}, true));
        sink.sounds.clear();
    }
    const Target& move(int i) const { return st.view().moveTargets[i]; }
    const Target& home(int p, int i) const { return st.view().homeTargets[p][i]; }
};

// Player 1 with all fifteen checkers home: five each on 20, 22 and 24.
Board player1AllHome() {
    Board b;
    b.setpawnstobeginning();
    setup::clearToHome(b);
    for (int id = 1; id <= kPieces; ++id)
        setup::put(b, 1, id, id <= 5 ? 20 : id <= 10 ? 22 : 24);
    for (int id = 1; id <= 3; ++id)
        setup::put(b, 2, id, 3);
    return b;
}

} // namespace

TEST(MoveTargets, BearOffWithTheFiveAndMoveWithTheThree) {
    Client c(1);
    c.position(player1AllHome(), 1, 3, 5);
    c.in.selectChecker(1, 5); // on point 20: five from the edge
    EXPECT_TRUE(c.home(1, 2).visible);
    EXPECT_EQ(c.home(1, 2).value, 5);
    EXPECT_EQ(c.home(1, 2).piece, 5);
    EXPECT_FALSE(c.home(1, 1).visible); // the 3 does not reach the edge
    EXPECT_FALSE(c.move(2).visible);    // 20 + 5 is off the board
    ASSERT_TRUE(c.move(1).visible);
    EXPECT_EQ(c.move(1).value, 23);
    EXPECT_EQ(c.move(1).piece, 5);
    EXPECT_EQ(c.move(1).left, geo::getleft(23));
    EXPECT_EQ(c.move(1).top, geo::kMoveTargetLowerTop);
    EXPECT_TRUE(c.sink.sounds.empty());

    // With 23 blocked the 3 offers nothing, and one blocked die is no reason to complain.
    Board b = player1AllHome();
    setup::put(b, 2, 4, 23);
    setup::put(b, 2, 5, 23);
    c.position(b, 1, 3, 5);
    c.in.selectChecker(1, 5);
    EXPECT_FALSE(c.move(1).visible);
    EXPECT_TRUE(c.home(1, 2).visible);
    EXPECT_NE(c.st.view().status, "Unable to move that chip.");
}

TEST(MoveTargets, BlotIsOfferedBlockedPointIsNot) {
    Board b;
    b.setpawnstobeginning(); // player 1: two on point 1; player 2: five on 6, three on 8
    setup::put(b, 2, 14, 3); // a single black checker on 3
    Client c(1);
    c.position(b, 1, 2, 5);
    c.in.selectChecker(1, 14); // on point 1
    ASSERT_TRUE(c.move(1).visible);
    EXPECT_EQ(c.move(1).value, 3);
    EXPECT_EQ(c.move(1).top, geo::kMoveTargetUpperTop);
    EXPECT_FALSE(c.move(2).visible); // point 6: five black checkers
    EXPECT_FALSE(c.home(1, 1).visible || c.home(1, 2).visible);
    EXPECT_TRUE(c.sink.sounds.empty());

    // Player 2 moves downwards onto its own checkers.
    Client d(2);
    d.position(b, 2, 2, 5);
    d.in.selectChecker(2, 6); // on point 8
    EXPECT_EQ(d.move(1).value, 6);
    EXPECT_EQ(d.move(2).value, 3);
    EXPECT_TRUE(d.move(1).visible && d.move(2).visible);
}

TEST(MoveTargets, BothBlockedSaysSoAndAUsedDieOffersNothing) {
    Board b;
    b.setpawnstobeginning();
    Client c(1);
    c.position(b, 1, 5, 5); // point 1 + 5 = 6: five black checkers
    c.in.selectChecker(1, 14);
    EXPECT_FALSE(c.move(1).visible || c.move(2).visible);
    EXPECT_EQ(c.st.view().status, "Unable to move that chip.");
    EXPECT_EQ(c.sink.sounds, std::vector<std::string>{"unable"});

    Client u(1);
    u.position(b, 1, 0, 5); // die 1 used, die 2 blocked
    u.in.selectChecker(1, 14);
    EXPECT_FALSE(u.move(1).visible || u.move(2).visible);
    EXPECT_NE(u.st.view().status, "Unable to move that chip.");
    EXPECT_TRUE(u.sink.sounds.empty());
    u.position(b, 1, 0, 2);
    u.in.selectChecker(1, 14);
    EXPECT_FALSE(u.move(1).visible);
    EXPECT_TRUE(u.move(2).visible);
    EXPECT_EQ(u.move(2).value, 3);
    EXPECT_TRUE(c.sink.sent.empty() && u.sink.sent.empty());
}

TEST(MoveTargets, AHitCheckerKeepsPlayerTwoOutOfHomeButNotPlayerOne) {
    Board b = player1AllHome();
    setup::hit(b, 1, 1); // a white checker on the bar: point 0 in the client's copy
    setup::hit(b, 2, 3); // a black one from the top of point 3: point 25
    Client c(1);
    c.position(b, 1, 3, 5);
    EXPECT_TRUE(allHome(c.st, 1));
    EXPECT_FALSE(allHome(c.st, 2));
    EXPECT_EQ(checkerName(c.st, 1, 1), "White checker on the bar");
    EXPECT_EQ(checkerName(c.st, 2, 3), "Black checker on the bar");
    EXPECT_EQ(checkerName(c.st, 1, 6), "White checker on point 22");
    EXPECT_EQ(checkerName(c.st, 2, 15), "Black checker borne off");
    // From the bar the 3 enters on point 3, where two black checkers stand: blocked.
    c.in.selectChecker(1, 1);
    EXPECT_FALSE(c.move(1).visible);
    EXPECT_TRUE(c.move(2).visible);
    EXPECT_EQ(c.move(2).value, 5);
}

TEST(BoardNames, WaitingCheckersAndTargets) {
    Client c(1);
    c.st.dispatch(msg::startgame("Alice", "120", "1"));
    EXPECT_EQ(checkerName(c.st, 1, 4), "White checker waiting to enter");
    EXPECT_EQ(checkerName(c.st, 2, 15), "Black checker waiting to enter");
    EXPECT_EQ(moveTargetName(8), "Move to point 8");
    EXPECT_EQ(bearOffName(5), "Bear off with 5");
    EXPECT_EQ(dieName(4), "Die: 4");
    EXPECT_EQ(dieName(0), "Die used");
    EXPECT_EQ(doubleChoiceName(6), "Double 6");
}

TEST(PlayerInput, EachClickSendsItsRequestOnce) {
    Board b = player1AllHome();
    Client c(1);
    c.position(b, 1, 3, 5);
    c.in.selectChecker(1, 5);
    c.in.moveClick(1);
    c.in.moveClick(1); // the target went with the first click
    EXPECT_EQ(c.sink.sent, std::vector<std::string>{"CMD_moveit+1+5+23+"});
    EXPECT_FALSE(c.move(1).visible || c.home(1, 2).visible);

    c.sink.sent.clear();
    c.in.selectChecker(1, 5);
    c.in.bearOffClick(1, 2);
    c.in.bearOffClick(1, 2);
    EXPECT_EQ(c.sink.sent, std::vector<std::string>{"CMD_placehome+1+5+5+"});
    EXPECT_EQ(c.home(1, 2).piece, 0);

    // The host reports an undoable move: undo once.
    c.sink.sent.clear();
    c.st.dispatch(msg::movehispiece({1, 1, 1, 10, 6, 22, 1, 23, 1}, Dice{0, 5, 0, 0}, true));
    ASSERT_TRUE(c.st.view().undoVisible);
    c.in.undoClick();
    c.in.undoClick();
    EXPECT_EQ(c.sink.sent, std::vector<std::string>{"CMD_undo+1+"});

    c.sink.sent.clear();
    c.in.concedeClick(2); // not this seat's button
    c.st.view().concedeVisible[1] = true;
    c.in.concedeClick(1);
    EXPECT_EQ(c.sink.sent, std::vector<std::string>{"CMD_concede+1+"});
}

TEST(PlayerInput, CupDirectionAndDoubles) {
    Client c(1);
    c.st.dispatch(msg::startgame("Alice", "120", "1"));
    ASSERT_TRUE(c.st.view().directionVisible[1]);
    c.in.directionClick(1);
    c.in.directionClick(1);
    EXPECT_EQ(c.sink.sent, std::vector<std::string>{"CMD_pressstart+1+"});
    EXPECT_FALSE(c.st.view().directionVisible[1]);

    c.sink.sent.clear();
    c.st.dispatch(msg::nextplayer(1));
    c.in.cupClick();
    c.in.cupClick();
    EXPECT_EQ(c.sink.sent, std::vector<std::string>{"CMD_rolldice+1+"});
    EXPECT_FALSE(c.st.view().cup.visible);
    c.st.dispatch(msg::threwdice(1, Dice{1, 2, 0, 0}, true));
    c.st.view().cup.visible = true; // even a cup left on screen does not throw twice
    c.sink.sent.clear();
    c.in.cupClick();
    EXPECT_TRUE(c.sink.sent.empty());

    c.st.view().chooseVisible = true; // shown but not asked: a click only hides it
    c.in.chooseClick(4);
    EXPECT_FALSE(c.st.view().chooseVisible);
    EXPECT_TRUE(c.sink.sent.empty());
    c.st.dispatch(msg::choosedouble(1));
    c.in.chooseClick(4);
    c.in.chooseClick(5);
    EXPECT_EQ(c.sink.sent, std::vector<std::string>{"CMD_mydoubles+1+4+"});
}

TEST(PlayerInput, ClicksThatDoNotCountSendNothing) {
    Board b;
    b.setpawnstobeginning();
    // A spectator sees the game but owns no checkers, no cup and no concede button.
    Client spy(3);
    spy.position(b, 1, 2, 4);
    spy.st.dispatch(msg::nextplayer(1));
    spy.in.selectChecker(1, 14);
    spy.in.cupClick();
    spy.in.concedeClick(1);
    spy.in.moveClick(1);
    spy.in.undoClick();
    EXPECT_TRUE(spy.sink.sent.empty());
    EXPECT_FALSE(spy.move(1).visible || spy.move(2).visible);

    // Player 2 out of turn, and on the opponent's checkers.
    Client two(2);
    two.position(b, 1, 2, 4);
    two.in.selectChecker(2, 6);
    two.in.selectChecker(1, 14);
    EXPECT_FALSE(two.move(1).visible || two.move(2).visible);

    // Player 1 before throwing.
    Client one(1);
    one.st.dispatch(msg::loadboard(1, [&] {
        Board w = b;
        w.currentplayer = 1;
        w.dice = {kAwaitingRoll, kAwaitingRoll, 0, 0};
        return w;
    }()));
    one.in.selectChecker(1, 14);
    EXPECT_FALSE(one.move(1).visible || one.move(2).visible);
    EXPECT_TRUE(two.sink.sent.empty() && one.sink.sent.empty());
}
