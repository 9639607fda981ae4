// The client's game state without any window: dispatch, every game handler's effect on the
// position, the pictures' places and the status line, and the refusal of messages that name
// places no array has.

#include "clientstate.h"
#include "protocol.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace bg;
namespace geo = bg::geo;

namespace {

struct RecordingSink : ClientSink {
    std::string sent;
    std::vector<std::string> sounds, lines, chats, games;
    int fullCount = 0, settingsCount = 0;
    void sendBytes(std::string_view b) override { sent += b; }
    void playSound(std::string_view s) override { sounds.emplace_back(s); }
    void addSystemLine(std::string_view s) override { lines.emplace_back(s); }
    void chatReceived(std::string_view s) override { chats.emplace_back(s); }
    void gameIsFull() override { ++fullCount; }
    void loadSettings() override { ++settingsCount; }
    void addGame(std::string_view s) override { games.emplace_back(s); }
};

// A client logged in as `seat`, with both seats named, optionally in a started game.
struct Client {
    RecordingSink sink;
    ClientState st{sink};
    explicit Client(int seat, bool hosting = false) {
        st.setMultiplayer("Alice", "127.0.0.1");
        if (hosting)
            st.hostpress();
        else
            st.joinpress();
        feed(msg::sendlogininfo(seat));
        feed(msg::newplayerinfo(1, "Alice"));
        feed(msg::newplayerinfo(2, "Bob"));
        sink = RecordingSink{};
    }
    void feed(const std::string& m) { st.dispatch(m); }
    void start(bool acey) { feed(msg::startgame("Alice", "120", acey ? "1" : "0")); }
    CheckerSprite at(int p, int id) const { return st.view().checkers[p][id]; }
};

std::string move(int mover, int next, Dice d, int piece, int fp, int fl, int tp, int tl, bool more,
                 int pips = 160) {
    return msg::movehispiece({mover, next, 1, pips, piece, fp, fl, tp, tl}, d, more);
}

void expectOnPoint(const Client& c, int p, int id, int point, int level) {
    EXPECT_EQ(c.st.pawn(p, id), (Pawn{point, level})) << p << "/" << id;
    EXPECT_EQ(c.st.grid(point, level), (Cell{p, id}));
    EXPECT_EQ(c.at(p, id).left, geo::getleft(point));
    EXPECT_EQ(c.at(p, id).top, geo::gettop(point, level));
}

} // namespace

TEST(BoardGeometry, ColumnsAndLevelsFollowTheBoardPicture) {
    const int lefts[13] = {0, 657, 607, 557, 507, 457, 407, 305, 255, 205, 156, 106, 56};
    for (int p = 1; p <= 12; ++p) {
        EXPECT_EQ(geo::getleft(p), lefts[p]);
        EXPECT_EQ(geo::getleft(25 - p), lefts[p]) << "mirror of " << p;
    }
    const int upper[15] = {38, 60, 82, 104, 126, 36, 58, 80, 102, 124, 34, 56, 78, 100, 122};
    const int lower[15] = {298, 276, 254, 232, 210, 296, 274, 252,
                           230, 208, 294, 272, 250, 228, 206};
    for (int l = 1; l <= 15; ++l) {
        EXPECT_EQ(geo::gettop(5, l), upper[l - 1]) << l;
        EXPECT_EQ(geo::gettop(20, l), lower[l - 1]) << l;
    }
    // The sixth checker is drawn over the first, two pixels higher; the eleventh four.
    EXPECT_EQ(geo::gettop(3, 6), geo::gettop(3, 1) - 2);
    EXPECT_EQ(geo::gettop(16, 11), geo::gettop(16, 1) - 4);
    EXPECT_EQ(geo::getleft(0), -1);
    EXPECT_EQ(geo::gettop(1, 0), -1);
    EXPECT_EQ(geo::gettop(25, 1), -1);
    EXPECT_EQ(geo::barTop(1, 1), 150);
    EXPECT_EQ(geo::barTop(2, 2), 207);
}

TEST(ClientDispatch, QueueSplitsReadsAndHandlesOneMessagePerTick) {
    RecordingSink sink;
    ClientState st(sink);
    st.setSolo();
    st.hostpress();
    // Two messages in one read, then one split over two reads.
    st.sockRead(frame(msg::sendlogininfo(1)) + frame(msg::newplayerinfo(1, "You")) + "CMD_newpl");
    EXPECT_EQ(st.queued(), 2u);
    EXPECT_TRUE(st.processsocktimer());
    EXPECT_EQ(st.myplayer(), 1);
    EXPECT_TRUE(st.loggedin());
    EXPECT_TRUE(sink.lines.empty());
    EXPECT_TRUE(st.processsocktimer());
    EXPECT_EQ(sink.lines, std::vector<std::string>{"You are Connected."});
    EXPECT_FALSE(st.processsocktimer());
    st.sockRead("ayerinfo+2+Zobo");
    EXPECT_EQ(st.queued(), 0u);
    st.sockRead(std::string(1, kTerminator));
    ASSERT_EQ(st.queued(), 1u);
    st.processsocktimer();
    EXPECT_EQ(st.view().playerName[2], "Zobo");
    // The log-in answer carries the log-in string's own terminator: an empty message follows.
    EXPECT_EQ(sink.sent, std::string("CMD_logininfo+1+1.0.4+You") + kTerminator + kTerminator);
}

TEST(ClientDispatch, UnknownEmptyAndMalformedMessagesAreDropped) {
    Client c(1);
    const ClientView before = c.st.view();
    for (const char* m : {"", "CMD_nextplayer", "cmd_nextplayer+2+", "CMD_Nextplayer+2+",
                          "CMD_nextplayerx+2+", "+2+", "CMD_nextplayer+two+"}) {
        c.feed(m);
        EXPECT_EQ(c.st.view().status, before.status) << m;
        EXPECT_EQ(c.st.currentplayer(), 0) << m;
    }
    c.feed("CMD_chat+3+Guest chats: a+b|clRed");
    c.feed("CMD_action+3+Guest waves|clRed");
    EXPECT_EQ(c.sink.chats,
              (std::vector<std::string>{"3+Guest chats: a+b|clRed", "3+Guest waves|clRed"}));
    c.feed(msg::full());
    EXPECT_EQ(c.sink.fullCount, 1);
    c.feed(msg::havewrongversion("Carl"));
    c.feed(msg::wrongversion());
    EXPECT_EQ(c.sink.lines,
              (std::vector<std::string>{"Carl has a different version of the game then you.",
                                        "You have a differnt version of the game then the host."}));
}

TEST(ClientConnection, ArrivalsAndDeparturesKeepLabelsAndSpies) {
    RecordingSink sink;
    ClientState st(sink);
    st.setMultiplayer("Eve", "10.0.0.1");
    st.joinpress();
    EXPECT_EQ(st.loginstring(), std::string("Eve") + kTerminator);
    st.dispatch(msg::sendlogininfo(3));
    st.dispatch(msg::newplayerinfo(3, "Eve"));
    EXPECT_EQ(sink.lines, (std::vector<std::string>{"You are Connected.", "You are spying."}));
    EXPECT_EQ(sink.settingsCount, 1);
    st.dispatch(msg::existingplayers(1, "Alice"));
    st.dispatch(msg::existingplayers(4, "Gus"));
    EXPECT_EQ(st.view().playerName[1], "Alice");
    EXPECT_EQ(st.view().spies, (std::vector<std::string>{"3: Eve", "4: Gus"}));
    EXPECT_EQ(sink.lines.back(), "Gus is spying.");
    EXPECT_EQ(sink.sounds, (std::vector<std::string>{"entered", "entered", "entered"}));

    sink.lines.clear();
    st.dispatch(msg::playerdisconnected(4, "Gus"));
    st.dispatch(msg::playerdisconnected(5, "Nobody"));
    EXPECT_EQ(st.view().spies, std::vector<std::string>{"3: Eve"});
    // Seat 2 still waits: no departure line, and the label falls back to the bot.
    st.dispatch(msg::playerdisconnected(2, "Bob"));
    st.dispatch(msg::playerdisconnected(1, "Alice"));
    EXPECT_EQ(sink.lines, (std::vector<std::string>{"Gus has left.", "Alice disconnected."}));
    EXPECT_EQ(st.view().playerName[2], "Zobo");
    EXPECT_EQ(st.view().playerName[1], "");

    // Only a copy that hosts may remove anybody.
    st.kicking(4);
    EXPECT_TRUE(sink.sent.find("CMD_kickhim") == std::string::npos);
    Client host(1, true);
    host.st.kicking(4);
    EXPECT_EQ(host.sink.sent, frame("CMD_kickhim+1+4+"));
}

TEST(ClientGame, StartPlacesBothLayoutsAndOffersStartOnlyToSeats) {
    Client c(1, true);
    c.start(false);
    for (int k = 1; k <= 5; ++k)
        expectOnPoint(c, 1, k, 12, k), expectOnPoint(c, 2, k, 13, k);
    for (int k = 6; k <= 8; ++k)
        expectOnPoint(c, 1, k, 17, k - 5), expectOnPoint(c, 2, k, 8, k - 5);
    for (int k = 9; k <= 13; ++k)
        expectOnPoint(c, 1, k, 19, k - 8), expectOnPoint(c, 2, k, 6, k - 8);
    for (int k = 14; k <= 15; ++k)
        expectOnPoint(c, 1, k, 1, k - 13), expectOnPoint(c, 2, k, 24, k - 13);
    EXPECT_EQ(c.st.view().gameType, "");
    EXPECT_TRUE(c.st.view().concedeVisible[1]);
    EXPECT_FALSE(c.st.view().concedeVisible[2]);
    EXPECT_TRUE(c.st.view().directionVisible[1]);
    EXPECT_FALSE(c.st.view().startButtonVisible);
    EXPECT_EQ(c.sink.lines.back(), "Alice has started a game.");
    EXPECT_EQ(c.sink.sounds.back(), "startgame");

    c.start(true);
    EXPECT_EQ(c.st.view().gameType, "ACEY DEUCY");
    for (int k = 1; k <= 15; ++k) {
        EXPECT_EQ(c.st.pawn(1, k), (Pawn{0, k}));
        EXPECT_EQ(c.st.pawn(2, k), (Pawn{25, k}));
        EXPECT_EQ(c.at(1, k).left, geo::kPileLeft);
        EXPECT_EQ(c.at(1, k).top, 38 + 6 * k);
        EXPECT_EQ(c.at(2, k).top, 206 + 6 * k);
        EXPECT_EQ(c.st.grid(12, 1), Cell{});
    }
    // A normal game after an Acey-Deucey one is the standard start again.
    c.start(false);
    expectOnPoint(c, 2, 15, 24, 2);
    EXPECT_EQ(c.st.grid(0, 1), Cell{});

    Client spy(4);
    spy.start(false);
    EXPECT_FALSE(spy.st.view().concedeVisible[1] || spy.st.view().concedeVisible[2]);
    EXPECT_FALSE(spy.st.view().directionVisible[1] || spy.st.view().directionVisible[2]);
    EXPECT_TRUE(spy.sink.sounds.empty());
}

TEST(ClientGame, WaitingSeatTwoBecomesTheBotAtGameStart) {
    RecordingSink sink;
    ClientState st(sink);
    st.dispatch(msg::sendlogininfo(1));
    st.dispatch(msg::newplayerinfo(1, "You"));
    EXPECT_EQ(st.view().playerName[2], "<Waiting>");
    st.dispatch(msg::startgame("You", "120", "0"));
    EXPECT_EQ(st.view().playerName[2], "Zobo");
}

TEST(ClientGame, FirstRollTellsOnlyTheStarterToPlay) {
    for (bool canMove : {true, false}) {
        Client starter(2), other(1), spy(5);
        for (Client* c : {&starter, &other, &spy}) {
            c->start(false);
            c->feed(msg::firstroll(3, 5, 2, canMove));
            EXPECT_EQ(c->st.currentplayer(), 2);
            EXPECT_FALSE(c->st.view().directionVisible[c->st.myplayer() == 1 ? 1 : 2]);
            EXPECT_EQ(c->st.view().dice1.value, 3);
            EXPECT_EQ(c->st.view().dice2.value, 5);
            EXPECT_EQ((std::pair{c->st.view().dice1.left, c->st.view().dice1.top}),
                      (std::pair{291, 149}));
            EXPECT_EQ((std::pair{c->st.view().dice2.left, c->st.view().dice2.top}),
                      (std::pair{387, 149}));
            EXPECT_TRUE(c->st.view().turnBar.visible);
            EXPECT_EQ(c->st.view().turnBar.top, -1);
        }
        EXPECT_EQ(starter.st.view().status,
                  canMove ? "You play first - Your Turn Now" : "You play first - No Valid Moves");
        EXPECT_EQ(starter.st.dicemark(), canMove ? 'u' : 0);
        EXPECT_EQ(other.st.view().status, "You play next");
        EXPECT_EQ(spy.st.view().status, "You play next");
    }
}

TEST(ClientGame, ThrowsAndTurnsMoveDiceAndCup) {
    Client c(1);
    c.start(false);
    c.st.setNewTurnSound(true);
    c.feed(msg::nextplayer(1));
    EXPECT_EQ(c.st.view().status, "Your Turn.");
    EXPECT_EQ(c.st.dicemark(), 't');
    EXPECT_TRUE(c.st.view().cup.visible && c.st.view().cupAnimating);
    EXPECT_EQ(c.st.view().cup.left, 262);
    EXPECT_EQ(c.st.view().turnBar.top, 341);
    EXPECT_EQ(c.sink.sounds.back(), "turnnew");
    c.feed(msg::threwdice(1, Dice{4, 4, 4, 4}, true));
    EXPECT_EQ(c.st.dicemark(), 'u');
    EXPECT_FALSE(c.st.view().cup.visible);
    EXPECT_TRUE(c.st.view().double1.visible && c.st.view().double2.visible);
    EXPECT_EQ((std::array{c.st.view().dice1.left, c.st.view().dice2.left, c.st.view().double1.left,
                          c.st.view().double2.left}),
              (std::array{291, 315, 251, 275}));
    EXPECT_EQ(c.sink.sounds.back(), "dice");

    c.feed(msg::nextplayer(2));
    EXPECT_EQ(c.st.view().status, "Bob's turn.");
    EXPECT_FALSE(c.st.view().dice1.visible || c.st.view().double1.visible);
    EXPECT_EQ((std::array{c.st.view().dice1.left, c.st.view().dice2.left, c.st.view().double1.left,
                          c.st.view().double2.left, c.st.view().cup.left}),
              (std::array{411, 387, 451, 427, 406}));
    EXPECT_EQ(c.st.view().dice1.top, 177);
    EXPECT_EQ(c.st.view().dice2.top, 149);
    // A throw without a move: everyone reads it, nobody may move.
    c.feed(msg::threwdice(2, Dice{6, 5, 0, 0}, false));
    EXPECT_EQ(c.st.view().status, "No Valid Moves");
    EXPECT_FALSE(c.st.view().double1.visible);
    Client mover(2);
    mover.feed(msg::nextplayer(2));
    mover.feed(msg::threwdice(2, Dice{6, 5, 0, 0}, false));
    EXPECT_EQ(mover.st.dicemark(), 't');
}

TEST(ClientGame, MovesUpdatePositionUndoAndTurn) {
    Client c(1);
    c.start(false);
    c.feed(msg::nextplayer(1));
    c.feed(msg::threwdice(1, Dice{3, 1, 0, 0}, true));
    c.feed(move(1, 1, Dice{0, 1, 0, 0}, 5, 12, 5, 15, 1, true, 164));
    expectOnPoint(c, 1, 5, 15, 1);
    EXPECT_EQ(c.st.grid(12, 5), Cell{});
    EXPECT_EQ(c.st.view().pips[1], "Pips: 164");
    EXPECT_TRUE(c.st.view().undoVisible);
    EXPECT_EQ(c.st.view().dice1.value, 0);
    EXPECT_EQ(c.sink.sounds.back(), "movechip");
    // The undo comes back as a move with "f": no undo button, the piece returns.
    c.feed(move(1, 1, Dice{3, 1, 0, 0}, 5, 15, 1, 12, 5, false, 167));
    expectOnPoint(c, 1, 5, 12, 5);
    EXPECT_FALSE(c.st.view().undoVisible);
    c.feed(move(1, 0, Dice{0, 0, 0, 0}, 5, 12, 5, 13, 6, true));
    EXPECT_EQ(c.st.view().status, "Turn Over.");
    EXPECT_FALSE(c.st.view().undoVisible);
    EXPECT_EQ(c.at(1, 5).top, geo::gettop(13, 6));

    // Entering from a start pile or the bar never offers undo.
    Client acey(1);
    acey.start(true);
    acey.feed(move(1, 1, Dice{0, 2, 0, 0}, 15, 0, 15, 1, 1, true));
    expectOnPoint(acey, 1, 15, 1, 1);
    EXPECT_EQ(acey.st.grid(0, 15), Cell{});
    EXPECT_FALSE(acey.st.view().undoVisible);
    // Undoing that entry puts the checker back on its start pile.
    acey.feed(move(1, 1, Dice{1, 2, 0, 0}, 15, 1, 1, 0, 15, false));
    EXPECT_EQ(acey.st.pawn(1, 15), (Pawn{0, 15}));
    EXPECT_EQ(acey.at(1, 15).top, geo::upperPileTop(15));
    // Another client's move never sets this client's turn.
    Client other(2);
    other.feed(msg::nextplayer(1));
    other.feed(move(1, 1, Dice{0, 1, 0, 0}, 5, 12, 5, 15, 1, true));
    EXPECT_FALSE(other.st.view().undoVisible);
    EXPECT_EQ(other.st.currentplayer(), 1);
}

TEST(ClientGame, HitsSendCheckersToTheBar) {
    Client c(2);
    c.start(false);
    // Player 1 hits player 2's blot on point 13 level 1 (after the others left).
    c.feed(msg::pounce({1, 0, 1, 150, 5, 12, 5, 13, 1}, Dice{0, 0, 0, 0}, 2, 1, 180, 1, 1));
    EXPECT_EQ(c.st.pawn(2, 1), (Pawn{25, 1}));
    EXPECT_EQ(c.at(2, 1).left, geo::kBarLeft);
    EXPECT_EQ(c.at(2, 1).top, 185);
    expectOnPoint(c, 1, 5, 13, 1);
    EXPECT_EQ(c.st.grid(12, 5), Cell{});
    EXPECT_EQ(c.st.view().pips[1], "Pips: 150");
    EXPECT_EQ(c.st.view().pips[2], "Pips: 180");
    EXPECT_EQ(c.st.view().status, "Turn Over.");
    EXPECT_EQ(c.sink.sounds.back(), "getbar");
    c.feed(msg::pounce({2, 2, 2, 170, 2, 13, 2, 12, 1}, Dice{3, 0, 0, 0}, 1, 2, 140, 1, 1));
    EXPECT_EQ(c.sink.sounds.back(), "putbar");
    EXPECT_EQ(c.st.currentplayer(), 2);
    EXPECT_EQ(c.at(1, 2).top, 150);
    // Entering from the bar: the piece leaves from point 25 with level 0.
    c.feed(move(2, 2, Dice{0, 0, 0, 0}, 1, 25, 0, 22, 1, true));
    expectOnPoint(c, 2, 1, 22, 1);
    EXPECT_FALSE(c.st.view().undoVisible);
}

TEST(ClientGame, BearingOffFillsThePile) {
    Client c(1);
    c.start(false);
    c.feed(msg::gothome(1, 1, Dice{0, 5, 0, 0}, 1, 9, 1, 19, 1, 100));
    c.feed(msg::gothome(2, 0, Dice{0, 0, 0, 0}, 1, 9, 2, 6, 1, 90));
    EXPECT_EQ(c.st.pawn(1, 9), (Pawn{-1, 0}));
    EXPECT_EQ(c.st.grid(19, 1), Cell{});
    EXPECT_EQ((std::pair{c.at(1, 9).left, c.at(1, 9).top}), (std::pair{708, 212}));
    EXPECT_EQ(c.at(2, 9).top, 50);
    EXPECT_EQ(c.st.view().status, "Turn Over.");
    EXPECT_EQ(c.sink.sounds.back(), "movehome");
}

TEST(ClientGame, ErrorsTimeoutsConcessionsAndWatching) {
    Client c(1);
    c.start(false);
    c.feed(msg::nextplayer(2));
    c.feed(msg::error(1, 3));
    EXPECT_EQ(c.st.view().status, "Cannot move that piece into home.");
    EXPECT_EQ(c.st.currentplayer(), 1);
    c.feed(msg::nextplayer(2));
    c.feed(msg::error(1, 7));
    EXPECT_EQ(c.st.view().status, "Bob's turn.");
    EXPECT_EQ(c.st.currentplayer(), 1);
    EXPECT_EQ(c.sink.sounds.back(), "invalid");
    c.feed(msg::error(2, 1));
    EXPECT_EQ(c.st.view().status, "Bob's turn.");

    c.feed(msg::nomoveoffbar(2));
    EXPECT_EQ(c.st.view().status, "Cannot move off the bar - Turn Over.");
    c.feed(msg::thetime(1));
    EXPECT_TRUE(c.st.view().timerVisible && c.st.view().turntimerRunning);
    c.feed(msg::thetime(2));
    EXPECT_FALSE(c.st.view().timerVisible || c.st.view().turntimerRunning);
    EXPECT_EQ(c.st.view().status, "Out of Time - Bot will play for you.");
    EXPECT_EQ(c.sink.lines.back(), "Out of Time - Bot will play for you.");
    EXPECT_EQ(c.st.currentplayer(), 0);

    c.feed(msg::justwatching(1, 1));
    EXPECT_TRUE(c.st.view().justWatchChecked && c.st.view().eyesVisible[1]);
    EXPECT_EQ(c.sink.lines.back(), "Alice is just watching");
    c.feed(msg::justwatching(1, 2));
    EXPECT_FALSE(c.st.view().justWatchChecked || c.st.view().eyesVisible[1]);
    EXPECT_EQ(c.sink.lines.back(), "Alice is now playing again");
    const std::size_t lines = c.sink.lines.size();
    c.feed(msg::justwatching(3, 1));
    EXPECT_EQ(c.sink.lines.size(), lines);

    c.feed(msg::conceded(2));
    EXPECT_EQ(c.st.view().status, "Bob conceded the game.");
    c.feed(msg::conceded(1));
    EXPECT_EQ(c.st.view().status, "You conceded the game.");
}

TEST(ClientGame, WinnerBannerAndTally) {
    Client winner(1, true), loser(2), spy(3);
    for (Client* c : {&winner, &loser, &spy}) {
        c->start(false);
        c->feed(msg::nextplayer(1));
        c->feed(msg::winner("Alice"));
        EXPECT_TRUE(c->st.view().winnerVisible);
        EXPECT_FALSE(c->st.view().turnBar.visible || c->st.view().concedeVisible[1]);
        EXPECT_EQ(c->st.currentplayer(), 0);
        EXPECT_EQ(c->sink.sounds.back(), "winner");
    }
    EXPECT_EQ(winner.st.view().winnerText, "You have Won the Game!");
    EXPECT_EQ(winner.sink.games, std::vector<std::string>{"addtomine"});
    EXPECT_TRUE(winner.st.view().startButtonVisible);
    EXPECT_EQ(loser.st.view().winnerText, "Alice has Won the Game!");
    EXPECT_EQ(loser.sink.games, std::vector<std::string>{"Alice"});
    EXPECT_FALSE(loser.st.view().startButtonVisible);
    EXPECT_EQ(spy.st.view().winnerText, "Alice has Won the Game!");
    EXPECT_TRUE(spy.sink.games.empty());
    EXPECT_EQ(spy.sink.lines.back(), "Alice has Won the Game!");
}

TEST(ClientLoadBoard, RebuildsThePositionFromTheHostsBoard) {
    Board b;
    b.acey = false;
    b.setpawnstobeginning();
    b.currentplayer = 2;
    b.dice = Dice{kAwaitingRoll, kAwaitingRoll, 0, 0};
    // Player 1's piece 15 was hit on point 1 (level 2) and sits in the bar's second entry.
    b.boardgrid[1][2] = Cell{};
    b.side[1].bar[2] = 15;
    // Player 2's piece 9 is borne off.
    b.boardgrid[6][1] = Cell{};
    b.side[2].pawns[9] = Pawn{28, 0};
    Client spy(3);
    spy.feed(msg::loadboard(4, b)); // someone else's
    EXPECT_EQ(spy.st.pawn(1, 1), (Pawn{}));
    spy.feed(msg::loadboard(3, b));
    EXPECT_EQ(spy.st.currentplayer(), 2);
    expectOnPoint(spy, 1, 1, 12, 1);
    expectOnPoint(spy, 2, 15, 24, 2);
    EXPECT_EQ(spy.st.pawn(1, 15), (Pawn{0, 1}));
    EXPECT_EQ((std::pair{spy.at(1, 15).left, spy.at(1, 15).top}), (std::pair{356, 150}));
    expectOnPoint(spy, 1, 14, 1, 1);
    EXPECT_EQ(spy.st.grid(1, 2), Cell{}); // no stale cell where it was hit
    EXPECT_EQ(spy.st.pawn(2, 9), (Pawn{-1, 0}));
    EXPECT_EQ(spy.at(2, 9).top, 38);
    EXPECT_FALSE(spy.st.view().concedeVisible[1] || spy.st.view().concedeVisible[2]);
    EXPECT_FALSE(spy.st.view().cup.visible);
    EXPECT_FALSE(spy.st.view().dice1.visible);
    EXPECT_EQ(spy.st.view().pips[1], "Pips: 168"); // the hit piece counts 25
    EXPECT_EQ(spy.st.view().pips[2], "Pips: 161");

    Client seat(2);
    seat.feed(msg::loadboard(2, b));
    EXPECT_TRUE(seat.st.view().concedeVisible[2]);
    EXPECT_TRUE(seat.st.view().cup.visible);
    EXPECT_EQ(seat.st.view().status, "Your Turn.");
    EXPECT_EQ(seat.st.dicemark(), 't');

    b.acey = true;
    b.dice = Dice{3, 0, 0, 0};
    seat.feed(msg::loadboard(2, b));
    EXPECT_EQ(seat.st.view().gameType, "ACEY DEUCY");
    EXPECT_TRUE(seat.st.view().dice1.visible);
    EXPECT_EQ(seat.st.view().dice1.value, 3);
}

TEST(ClientLoadBoard, HitCheckerDoesNotTakeTheHittersCell) {
    Board b;
    b.setpawnstobeginning();
    b.currentplayer = 1;
    b.dice = Dice{0, 4, 0, 0};
    // Player 1's piece 7 hit player 2's piece 14 on point 24, level 1; 2/14 keeps (24, 1).
    b.boardgrid[17][2] = b.boardgrid[17][3];
    b.boardgrid[17][3] = Cell{};
    b.side[1].pawns[8] = Pawn{17, 2};
    b.side[1].pawns[7] = Pawn{24, 1};
    b.boardgrid[24][1] = Cell{1, 7};
    b.side[2].bar[1] = 14;
    Client c(1);
    c.start(false);
    c.feed(msg::loadboard(1, b));
    expectOnPoint(c, 1, 7, 24, 1);
    EXPECT_EQ(c.st.pawn(2, 14), (Pawn{25, 1}));
    EXPECT_EQ((std::pair{c.at(2, 14).left, c.at(2, 14).top}), (std::pair{356, 185}));
    EXPECT_EQ(c.st.grid(17, 3), Cell{});
    expectOnPoint(c, 1, 8, 17, 2);
}

// A faulty or hostile host: messages that name places outside every array change nothing.
TEST(ClientMend, OutOfRangeFieldsChangeNothing) {
    const std::vector<std::string> bad = {
        move(3, 1, Dice{}, 5, 12, 5, 15, 1, true),
        move(0, 1, Dice{}, 5, 12, 5, 15, 1, true),
        move(1, 1, Dice{}, 16, 12, 5, 15, 1, true),
        move(1, 1, Dice{}, 0, 12, 5, 15, 1, true),
        move(1, 1, Dice{}, 5, 12, 16, 15, 1, true),
        move(1, 1, Dice{}, 5, 12, -1, 15, 1, true),
        move(1, 1, Dice{}, 5, 12, 5, 26, 1, true),
        move(1, 1, Dice{}, 5, 12, 5, 25, 1, true), // the other player's pile
        move(1, 1, Dice{}, 5, 12, 5, 15, 16, true),
        move(1, 1, Dice{}, 5, 12, 5, 15, 0, true),
        move(1, 1, Dice{7, 0, 0, 0}, 5, 12, 5, 15, 1, true),
        move(1, 1, Dice{0, -1, 0, 0}, 5, 12, 5, 15, 1, true),
        msg::pounce({1, 0, 1, 150, 1, 12, 5, 13, 1}, Dice{}, 3, 1, 180, 1, 1),
        msg::pounce({1, 0, 1, 150, 1, 12, 5, 13, 1}, Dice{}, 2, 99, 180, 1, 1),
        msg::pounce({1, 0, 1, 150, 1, 12, 5, 13, 1}, Dice{}, 2, 1, 180, 16, 1),
        msg::pounce({1, 0, 1, 150, 1, 12, 5, 13, 1}, Dice{}, 2, 1, 180, 1, 0),
        msg::pounce({1, 0, 1, 150, 1, 12, 5, 13, 1}, Dice{}, 2, 1, 180, 1, 16),
        msg::pounce({1, 0, 1, 150, 1, 12, 5, 0, 1}, Dice{}, 2, 1, 180, 1, 1),
        msg::gothome(1, 0, Dice{}, 1, 9, 16, 19, 1, 100),
        msg::gothome(1, 0, Dice{}, 1, 9, 1, 30, 1, 100),
        msg::gothome(1, 0, Dice{}, 1, 9, 1, 19, 99, 100),
        msg::gothome(2, 0, Dice{}, 1, -4, 1, 6, 1, 100),
        msg::firstroll(9, 1, 1, true),
        msg::firstroll(1, 1, 3, true),
        msg::threwdice(1, Dice{1, 100, 0, 0}, true),
        msg::threwdice(7, Dice{1, 2, 0, 0}, true),
        msg::nextplayer(0),
        msg::nextplayer(5),
        msg::conceded(-1),
        msg::newplayerinfo(0, "Ghost"),
        msg::newplayerinfo(-3, "Ghost"),
        msg::playerdisconnected(0, "Ghost"),
        "CMD_loadboard+1+1+normal+1+2+0+0+1+1+12+1+1+2+12+99",
        "CMD_loadboard+1+1+normal+1+2+0+0+1+1+12+1+3+2+12+1",
        "CMD_loadboard+1+1+normal+1+2+0+0+1+1+12+1+1+0+12+1",
        "CMD_loadboard+1+1+normal+1+2+0+0+1+1+-1+1",
        "CMD_loadboard+1+1+normal+1+2+0+0+1+1+26+0",
        "CMD_loadboard+1+7+normal+1+2+0+0+1+1+12+1",
        "CMD_loadboard+1+1+normal+1+8+0+0+1+1+12+1",
    };
    Client fresh(1);
    fresh.start(false);
    for (const std::string& m : bad) {
        Client c(1);
        c.start(false);
        c.sink = RecordingSink{};
        const ClientView before = c.st.view();
        const Dice dice = c.st.dice();
        const int current = c.st.currentplayer();
        c.feed(m);
        const ClientView& after = c.st.view();
        EXPECT_EQ(after.checkers, before.checkers) << m;
        EXPECT_EQ(after.status, before.status) << m;
        EXPECT_EQ(after.pips, before.pips) << m;
        EXPECT_EQ(after.playerName, before.playerName) << m;
        EXPECT_EQ(after.spies, before.spies) << m;
        EXPECT_EQ(c.st.dice(), dice) << m;
        EXPECT_EQ(c.st.currentplayer(), current) << m;
        for (int p = 1; p <= 2; ++p)
            for (int id = 1; id <= kPieces; ++id)
                EXPECT_EQ(c.st.pawn(p, id), fresh.st.pawn(p, id)) << m;
        EXPECT_TRUE(c.sink.sounds.empty()) << m;
    }
}

TEST(ClientMend, ConversionErrorEndsTheHandlerButKeepsEarlierEntries) {
    Client c(1);
    c.start(false);
    // The second entry's level is not a number: the first entry stands, nothing after it.
    c.feed("CMD_loadboard+1+2+normal+1+2+0+0+1+1+20+1+1+2+20+x+1+3+20+3");
    EXPECT_EQ(c.st.pawn(1, 1), (Pawn{20, 1}));
    EXPECT_EQ(c.st.pawn(1, 3), (Pawn{12, 3}));
    EXPECT_EQ(c.st.currentplayer(), 2);
    EXPECT_FALSE(c.st.view().dice1.visible);
}
