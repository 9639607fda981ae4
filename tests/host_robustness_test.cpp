// The host against careless and hostile clients: lines left behind by a connection that has
// gone, floods, and players who leave at awkward moments.

#include "sim_harness.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace bg;
using bg::sim::Sim;
using Lines = std::vector<std::string>;

namespace {

int countPrefix(const Lines& lines, std::string_view prefix) {
    return static_cast<int>(std::count_if(
        lines.begin(), lines.end(), [&](const std::string& l) { return l.starts_with(prefix); }));
}

// Host (seat 1) and Bob (seat 2) in an Acey-Deucey game in which Bob has played the 1 and
// the 2 of his throw and is asked to choose the double.
void bobMustChooseDouble(Sim& s) {
    s.join("Host");
    s.join("Bob");
    s.send(1, msg::startgame("Host", "120", "1"));
    s.settle();
    s.random.script = {5, 0};
    s.send(1, msg::pressstart(1));
    s.send(2, msg::pressstart(2));
    s.send(1, msg::moveit(1, 15, 6));
    s.send(1, msg::moveit(1, 14, 1));
    s.run(2100);
    s.random.script = {0, 1};
    s.send(2, msg::rolldice(2));
    s.send(2, msg::moveit(2, 15, 24));
    s.send(2, msg::moveit(2, 14, 23));
    s.settle();
    ASSERT_EQ(s.outbox.to(2).back(), "CMD_choosedouble+2+");
    s.outbox.clear();
}

} // namespace

TEST(HostGhosts, LinesOfAClosedConnectionDieWithIt) {
    Sim s;
    s.join("Host");
    // Eight clients read their greeting, send their log-in and hang up before it is handled.
    for (int i = 0; i < 8; ++i) {
        const int seat = s.connect();
        s.send(seat,
               msg::logininfo(seat, kVersion, std::string("Ghost").append(std::to_string(i))));
        s.hangUp(seat);
    }
    s.settle();
    for (int seat = 2; seat <= kMaxSeats; ++seat)
        EXPECT_FALSE(s.host->seat(seat).connected) << seat;
    EXPECT_EQ(countPrefix(s.outbox.to(1), "CMD_newplayerinfo+"), 1);
    EXPECT_EQ(s.connect(), 2);
}

TEST(HostGhosts, ANewcomerInAFreedSeatIsNotBlamedForItsPredecessor) {
    Sim s;
    s.join("Host");
    const int old = s.join("Old");
    s.send(old, msg::chat(old, "bye", "clBlack"));
    s.send(old, msg::justwatch(old, 1));
    s.hangUp(old);
    ASSERT_EQ(s.connect(), old);
    s.outbox.clear();
    s.settle();
    EXPECT_TRUE(s.outbox.log.empty());
}

TEST(HostGhosts, LogInForASeatWithoutConnectionChangesNothing) {
    Sim s;
    s.join("Host");
    s.outbox.clear();
    s.host->dispatch("CMD_logininfo+5+1.0.4+Nobody", kInternal);
    EXPECT_FALSE(s.host->seat(5).connected);
    EXPECT_TRUE(s.host->seat(5).name.empty());
    EXPECT_TRUE(s.outbox.log.empty());
}

TEST(HostGhosts, AGhostIsNoPlayerTheBotPressesStartForItsSeat) {
    Sim s;
    s.join("Host");
    const int ghost = s.connect();
    s.send(ghost, msg::logininfo(ghost, kVersion, "Ghost"));
    s.hangUp(ghost);
    s.settle();
    s.send(1, msg::startgame("Host", "120", "0"));
    s.send(1, msg::pressstart(1));
    s.settle();
    // Seat 2 is the bot's: it pressed start for it, and the opening throw is made at once.
    EXPECT_FALSE(s.host->seat(2).startpending);
    EXPECT_EQ(countPrefix(s.outbox.to(1), "CMD_firstroll+"), 1);
}

TEST(HostFairness, ConnectionsAreServedInTurnEachInItsOwnOrder) {
    Sim s;
    s.join("Host");
    s.join("Bob");
    s.join("Spy");
    s.outbox.clear();
    for (int i = 1; i <= 3; ++i)
        s.send(3, msg::chat(3, std::string("s").append(std::to_string(i)), "clBlack"));
    for (int i = 1; i <= 3; ++i)
        s.send(2, msg::chat(2, std::string("b").append(std::to_string(i)), "clBlack"));
    s.settle();
    Lines chats;
    for (const auto& l : s.outbox.to(1))
        chats.push_back(l.substr(l.rfind(' ') + 1, 2));
    EXPECT_EQ(chats, (Lines{"s1", "b1", "s2", "b2", "s3", "b3"}));
}

TEST(HostFairness, AFloodingSpectatorCannotDelayAPlayer) {
    Sim s;
    s.join("Host");
    s.join("Bob");
    const int spy = s.join("Spy");
    for (int i = 0; i < 900; ++i)
        s.send(spy, msg::chat(spy, "flood", "clBlack"));
    s.run(50);
    s.outbox.clear();
    s.send(2, msg::chat(2, "my turn", "clBlack"));
    s.run(3 * kDispatchIntervalMs);
    const Lines got = s.outbox.to(1);
    EXPECT_NE(std::find(got.begin(), got.end(), "CMD_chat+2+Bob chats: my turn|clBlack"),
              got.end());
}

TEST(HostFairness, MoreThanAThousandWaitingLinesCloseTheConnection) {
    Sim s;
    s.join("Host");
    const int spy = s.join("Spy");
    s.outbox.clear();
    std::string burst;
    for (int i = 0; i < 1000; ++i)
        burst += frame(msg::chat(spy, "x", "clBlack"));
    s.host->Sock1Read(spy, burst);
    EXPECT_TRUE(s.host->seat(spy).connected) << "a thousand lines may wait";
    s.send(spy, msg::chat(spy, "one more", "clBlack"));
    EXPECT_FALSE(s.host->seat(spy).connected);
    EXPECT_EQ(s.outbox.closed, (std::vector<int>{spy}));
    EXPECT_EQ(s.outbox.to(1), (Lines{"CMD_playerdisconnected+2+Spy"}));
    EXPECT_FALSE(s.host->hasQueuedLines());
}

TEST(HostDeparture, LeavingBeforeChoosingTheDoubleLetsTheBotChoose) {
    Sim s;
    bobMustChooseDouble(s);
    s.hangUp(2);
    s.run(1500);
    const Lines got = s.outbox.to(1);
    EXPECT_NE(std::find(got.begin(), got.end(), "CMD_threwdice+2+5+5+5+5+t+"), got.end());
    EXPECT_TRUE(s.host->anotherturn());
}

TEST(HostDeparture, WatchingBeforeChoosingTheDoubleLetsTheBotChoose) {
    Sim s;
    bobMustChooseDouble(s);
    s.send(2, msg::justwatch(2, 1));
    s.run(1500);
    const Lines got = s.outbox.to(1);
    EXPECT_NE(std::find(got.begin(), got.end(), "CMD_threwdice+2+5+5+5+5+t+"), got.end());
}

namespace {
// A headless host: seat 1 is a remote player like any other. Seat 1 begins with 5-3.
void headlessOpening(Sim& s) {
    s.host->setHostSeatIsLocal(false);
    s.join("Ann");
    s.join("Bob");
    s.send(1, msg::startgame("Ann", "120", "0"));
    s.settle();
    s.random.script = {4, 2};
    s.send(1, msg::pressstart(1));
    s.send(2, msg::pressstart(2));
    s.settle();
    s.random.script.clear();
    s.outbox.clear();
}

int movesOf(const Lines& lines, int seat) {
    const std::string id = std::to_string(seat) + "+";
    return countPrefix(lines, std::string("CMD_movehispiece+").append(id)) +
           countPrefix(lines, std::string("CMD_pounce+").append(id));
}
} // namespace

TEST(HostHeadless, SeatOneLeavingInTheOpeningTurnIsPlayedByTheBot) {
    Sim s;
    headlessOpening(s);
    s.hangUp(1);
    s.run(5000);
    const Lines got = s.outbox.to(2);
    EXPECT_EQ(movesOf(got, 1), 2);
    EXPECT_NE(std::find(got.begin(), got.end(), "CMD_nextplayer+2+"), got.end());
}

TEST(HostHeadless, SeatOneWatchingInTheOpeningTurnIsPlayedByTheBot) {
    Sim s;
    headlessOpening(s);
    s.send(1, msg::justwatch(1, 1));
    s.run(5000);
    const Lines got = s.outbox.to(2);
    EXPECT_EQ(movesOf(got, 1), 2);
    EXPECT_NE(std::find(got.begin(), got.end(), "CMD_nextplayer+2+"), got.end());
}

TEST(HostHeadless, SeatOneLeavingBeforeItsThrowIsThrownFor) {
    Sim s;
    headlessOpening(s);
    s.send(1, msg::moveit(1, 4, 17));
    s.send(1, msg::moveit(1, 8, 20));
    s.run(2100);
    ASSERT_EQ(s.host->board().currentplayer, 2);
    s.send(2, msg::justwatch(2, 1)); // the bot plays Bob's turns from now on
    for (int i = 0; i < 60 && s.host->board().currentplayer != 1; ++i)
        s.run(1000);
    ASSERT_EQ(s.host->board().currentplayer, 1);
    ASSERT_EQ(s.host->board().dice.die1, kAwaitingRoll);
    s.outbox.clear();
    s.hangUp(1);
    s.run(3000);
    EXPECT_GE(countPrefix(s.outbox.to(2), "CMD_threwdice+1+"), 1);
}

TEST(HostWindowed, TheHostsOwnWindowLeavingEndsNothingForTheOthers) {
    // In a windowed host seat 1 is the program itself; its departure means the program ends.
    Sim s;
    s.join("Host");
    s.join("Bob");
    s.send(1, msg::startgame("Host", "120", "0"));
    s.settle();
    s.random.script = {4, 2};
    s.send(1, msg::pressstart(1));
    s.send(2, msg::pressstart(2));
    s.settle();
    s.outbox.clear();
    s.hangUp(1);
    s.run(5000);
    EXPECT_EQ(movesOf(s.outbox.to(2), 1), 0);
}
