// Seats, log-in, relays, departures and the dispatcher of the host, under a virtual clock.

#include "sim_harness.h"

#include <gtest/gtest.h>

using namespace bg;
using bg::sim::Sim;
using Lines = std::vector<std::string>;

TEST(HostLogin, NewcomerDuringAGameGetsPlayersVersionAndBoard) {
    Sim s;
    ASSERT_EQ(s.join("Host"), 1);
    ASSERT_EQ(s.join("Bob"), 2);
    s.send(1, msg::startgame("Host", "120", "0"));
    s.settle();
    // Put a piece of player 1 on the bar so the full board lists it twice.
    Board& b = s.host->mutableBoard();
    b.boardgrid[1][2] = {};
    b.side[1].bar[1] = 15;
    b.side[1].pips = b.configpips(1);
    s.outbox.clear();

    const int seat = s.connect();
    ASSERT_EQ(seat, 3);
    s.send(seat, msg::logininfo(seat, "1.0.3", "Gu+est"));
    s.settle();
    const Lines got = s.outbox.to(3);
    ASSERT_EQ(got.size(), 6u);
    EXPECT_EQ(got[0], "CMD_sendlogininfo+3");
    EXPECT_EQ(got[1], "CMD_newplayerinfo+3+Gu+est");
    EXPECT_EQ(got[2], "CMD_existingplayers+1+Host");
    EXPECT_EQ(got[3], "CMD_existingplayers+2+Bob");
    EXPECT_EQ(got[4], "CMD_wrongversion+");
    EXPECT_EQ(got[5].rfind("CMD_loadboard+3+0+normal+0+0+0+0+1+1+12+1+", 0), 0u);
    EXPECT_NE(got[5].find("+1+15+1+2+2+1+13+1+"), std::string::npos);
    EXPECT_TRUE(got[5].ends_with("+2+15+24+2+1+15+26+1"));
    EXPECT_EQ(s.outbox.to(1), (Lines{"CMD_newplayerinfo+3+Gu+est", "CMD_havewrongversion+Gu+est"}));
    EXPECT_EQ(s.outbox.to(2), (Lines{"CMD_newplayerinfo+3+Gu+est"}));
    EXPECT_EQ(s.host->seat(3).name, "Gu+est");
    EXPECT_TRUE(s.host->seat(3).timedout);
}

TEST(HostLogin, SameVersionOutsideAGameGetsNoBoard) {
    Sim s;
    s.join("Host");
    const int seat = s.connect();
    s.send(seat, msg::logininfo(seat, "1.0.4", "Ann"));
    s.settle();
    EXPECT_EQ(s.outbox.to(2), (Lines{"CMD_sendlogininfo+2", "CMD_newplayerinfo+2+Ann",
                                     "CMD_existingplayers+1+Host"}));
}

TEST(HostSeats, FreedSeatsAreReusedLowestFirstAndDepartureIsAnnouncedOnce) {
    Sim s;
    s.join("A");
    s.join("B");
    s.join("C");
    s.outbox.clear();
    s.hangUp(2); // reported twice: our close and the socket layer's
    EXPECT_EQ(s.outbox.to(1), (Lines{"CMD_playerdisconnected+2+B"}));
    EXPECT_EQ(s.outbox.to(3), (Lines{"CMD_playerdisconnected+2+B"}));
    EXPECT_TRUE(s.outbox.to(2).empty());
    EXPECT_FALSE(s.host->seat(2).connected);
    EXPECT_EQ(s.connect(), 2);
    EXPECT_EQ(s.outbox.log.back().text, "CMD_sendlogininfo+2");
    EXPECT_EQ(s.connect(), 4);
    EXPECT_EQ(s.host->seatsused(), 4);
}

TEST(HostSeats, TenthConnectionIsRefusedQuietly) {
    Sim s;
    for (int i = 1; i <= kMaxSeats; ++i)
        ASSERT_EQ(s.join(std::to_string(i)), i);
    s.outbox.clear();
    EXPECT_EQ(s.connect(), kRefusedSeat);
    ASSERT_EQ(s.outbox.log.size(), 1u);
    EXPECT_EQ(s.outbox.log[0].seat, kRefusedSeat);
    EXPECT_EQ(s.outbox.log[0].text, "CMD_full+");
    EXPECT_EQ(s.outbox.closed, (std::vector<int>{kRefusedSeat}));
    for (int i = 1; i <= kMaxSeats; ++i)
        EXPECT_TRUE(s.host->seat(i).connected);
}

TEST(HostRelays, ChatActionAndSoundReachEverybody) {
    Sim s;
    s.join("Host");
    s.join("Bob");
    s.join("Guest");
    s.outbox.clear();
    s.send(3, msg::chat(3, "a+b", "clRed"));
    s.send(2, msg::action(2, "waves", "$00FF0000"));
    s.send(1, msg::playasound(1, 7));
    s.settle();
    for (int seat = 1; seat <= 3; ++seat)
        EXPECT_EQ(s.outbox.to(seat),
                  (Lines{"CMD_chat+3+Guest chats: a+b|clRed", "CMD_action+2+Bob waves|$00FF0000",
                         "CMD_playasound+1+wave7+"}));
}

TEST(HostRelays, OneRequestPerTickInArrivalOrder) {
    Sim s;
    s.join("Host");
    s.outbox.clear();
    // Two messages in one read, then one split over two reads.
    s.host->Sock1Read(1, std::string("CMD_chat+1+x|c\xFF"
                                     "CMD_chat+1+y|c\xFF"
                                     "CMD_ch"));
    s.host->Sock1Read(1, std::string("at+1+z|c\xFF"));
    s.run(10);
    EXPECT_EQ(s.outbox.to(1), (Lines{"CMD_chat+1+Host chats: x|c"}));
    s.run(20);
    EXPECT_EQ(s.outbox.to(1).size(), 3u);
    EXPECT_EQ(s.outbox.to(1)[2], "CMD_chat+1+Host chats: z|c");
}

TEST(HostSeats, OnlyTheHostingPlayerRemovesPlayers) {
    Sim s;
    s.join("Host");
    s.join("Bob");
    s.join("Guest");
    s.outbox.clear();
    s.send(2, msg::kickhim(2, 3));
    s.settle();
    EXPECT_TRUE(s.host->seat(3).connected);
    EXPECT_TRUE(s.outbox.log.empty());
    s.send(1, msg::kickhim(1, 3));
    s.settle();
    EXPECT_FALSE(s.host->seat(3).connected);
    EXPECT_EQ(s.outbox.closed, (std::vector<int>{3}));
    EXPECT_EQ(s.outbox.to(1), (Lines{"CMD_playerdisconnected+3+Guest"}));
    EXPECT_EQ(s.outbox.to(2), (Lines{"CMD_playerdisconnected+3+Guest"}));
}

TEST(HostSeats, EndlessLineDropsTheConnection) {
    Sim s;
    s.join("Host");
    s.join("Bob");
    s.outbox.clear();
    s.host->Sock1Read(2, std::string(kMaxPendingLine + 1, 'x'));
    EXPECT_FALSE(s.host->seat(2).connected);
    EXPECT_EQ(s.outbox.to(1), (Lines{"CMD_playerdisconnected+2+Bob"}));
}

TEST(HostSeats, SpoofedAndMalformedRequestsChangeNothing) {
    Sim s;
    s.join("Host");
    s.join("Bob");
    s.join("Spy");
    s.outbox.clear();
    s.send(3, msg::startgame("Spy", "120", "0")); // only the hosting player starts games
    s.send(2, msg::startgame("Bob", "120", "0"));
    s.send(3, msg::chat(1, "I am the host", "clRed"));
    s.send(3, msg::kickhim(1, 2));
    s.send(3, "CMD_logininfo+1+1.0.4+Fake");
    s.send(2, "CMD_justwatch+2+1"); // no game: ignored
    s.settle();
    EXPECT_TRUE(s.outbox.log.empty());
    EXPECT_FALSE(s.host->gamerunning());
    EXPECT_EQ(s.host->seat(1).name, "Host");

    s.send(1, msg::startgame("Host", "120", "0"));
    s.settle();
    const Board before = s.host->board();
    s.outbox.clear();
    s.send(3, msg::pressstart(1));
    s.send(3, msg::pressstart(2));
    s.send(3, msg::concede(1));
    s.send(2, msg::justwatch(1, 1)); // another seat: only the host may
    s.send(3, "CMD_justwatch+3+1");  // a spectator seat: ignored
    s.send(1, "CMD_pressstart+1a+"); // not a number
    s.send(2, "CMD_pressstart+");    // missing field
    s.send(1, "CMD_moveit+1+99+5+");
    s.send(1, "CMD_mydoubles+1+x+");
    s.send(1, "CMD_pressstart+-4+");
    s.send(1, "nothing here");
    s.send(1, "CMD_unknown+1+");
    s.settle();
    EXPECT_TRUE(s.outbox.log.empty());
    EXPECT_TRUE(s.host->seat(1).startpending);
    EXPECT_TRUE(s.host->seat(2).startpending);
    EXPECT_TRUE(s.host->gamerunning());
    EXPECT_EQ(s.host->board().validate(), "");
    EXPECT_EQ(s.host->board().boardgrid, before.boardgrid);

    s.send(1, msg::justwatch(2, 1)); // the host may switch another seat to watching
    s.settle();
    EXPECT_TRUE(s.host->seat(2).watching);
    EXPECT_EQ(s.outbox.to(3).front(), "CMD_justwatching+2+1");
}
