// Game records without a host: plays in notation, the record built from hand-made host
// messages (hits, entries, undo, the Acey-Deucey double, a late spectator), and the match
// file read back, or refused with its line when damaged.

#include "gamerecorder.h"
#include "matchfile.h"
#include "notation.h"
#include "protocol.h"

#include <gtest/gtest.h>

using namespace bg;
using namespace bg::rec;

namespace {

Step pt(int from, int to, bool hit = false) {
    return Step{Origin::Point, from, to, hit, 0};
}
Step entry(Origin o, int to, bool hit = false) {
    return Step{o, 0, to, hit, 0};
}
Turn turn(int mover, int d1, int d2, std::vector<Step> steps) {
    Turn t;
    t.mover = mover;
    t.die1 = d1;
    t.die2 = d2;
    t.steps = std::move(steps);
    return t;
}

// Host messages for a piece of `mover` leaving (fromPoint, fromLevel) for (toPoint, toLevel).
std::string moved(int mover, int piece, int fp, int fl, int tp, int tl) {
    return msg::movehispiece({mover, mover, 1, 100, piece, fp, fl, tp, tl}, Dice{}, true);
}
std::string hitting(int mover, int piece, int fp, int fl, int tp, int hitPiece) {
    return msg::pounce({mover, mover, 1, 100, piece, fp, fl, tp, 1}, Dice{}, opponentOf(mover),
                       hitPiece, 100, 1, 1);
}
std::string threw(int player, int d1, int d2) {
    const Dice d{d1, d2, d1 == d2 ? d1 : 0, d1 == d2 ? d1 : 0};
    return msg::threwdice(player, d, true);
}

} // namespace

TEST(Notation, PlaysAsPlayersWriteThem) {
    // Player 1 travels up: its 24 point is board point 1, its 6 point is board point 19.
    EXPECT_EQ(turnText(turn(1, 3, 1, {pt(17, 20), pt(19, 20)}), true), "31: 8/5 6/5");
    EXPECT_EQ(turnText(turn(2, 1, 3, {pt(8, 5), pt(6, 5)}), false), "31: 8/5 6/5");
    // A hit, and an entry from the bar that hits.
    EXPECT_EQ(turnText(turn(2, 6, 4, {pt(13, 7, true), pt(24, 20)}), true), "64: 13/7* 24/20");
    EXPECT_EQ(turnText(turn(1, 5, 2, {entry(Origin::Bar, 2, true), pt(12, 17)}), true),
              "52: bar/23* 13/8");
    // Bearing off: player 2's 6 point with a 6, and a 4 off the 3 point.
    EXPECT_EQ(turnText(turn(2, 6, 4, {pt(6, kOff), pt(3, kOff)}), true), "64: 6/off 3/off");
    // A double of four steps: two checkers each twice, joined and counted; the file keeps
    // one step per die.
    const Turn dbl = turn(1, 3, 3, {pt(12, 15), pt(12, 15), pt(15, 18), pt(15, 18)});
    EXPECT_EQ(turnText(dbl, true), "33: 13/7(2)");
    EXPECT_EQ(turnText(dbl, false), "33: 13/10 13/10 10/7 10/7");
    // One checker twice, with a hit on the way that stays in view.
    EXPECT_EQ(turnText(turn(1, 6, 5, {pt(1, 7), pt(7, 12)}), true), "65: 24/13");
    EXPECT_EQ(turnText(turn(1, 6, 5, {pt(1, 7, true), pt(7, 12)}), true), "65: 24/18*/13");
    EXPECT_EQ(turnText(turn(1, 6, 5, {pt(1, 7, true), pt(7, 12)}), false), "65: 24/18* 18/13");
    // Acey-Deucey: entries from the start pile, then the double chosen after the 1-2.
    Turn acey = turn(
        1, 1, 2,
        {entry(Origin::Pile, 1), entry(Origin::Pile, 2), pt(1, 7), pt(1, 7), pt(2, 8), pt(2, 8)});
    acey.chosenDouble = 6;
    acey.stepsBeforeDouble = 2;
    EXPECT_EQ(turnText(acey, false), "21: pile/24 pile/23 [66] 24/18 24/18 23/17 23/17");
    EXPECT_EQ(turnText(acey, true), "21: pile/24 pile/23, chose 66: 24/18(2) 23/17(2)");
    EXPECT_EQ(turnText(turn(2, 5, 5, {}), true), "55: no move");
    EXPECT_EQ(turnText(turn(2, 5, 5, {}), false), "55:");
}

TEST(Notation, ReadsEveryFormItWritesAndRefusesTheRest) {
    std::vector<Step> steps;
    EXPECT_EQ(parseSteps("13/7*/5(2)", 1, steps), "");
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(steps[0], pt(12, 18, true));
    EXPECT_EQ(steps[1], pt(18, 20));
    EXPECT_EQ(steps[3], pt(18, 20));
    steps.clear();
    EXPECT_EQ(parseSteps("bar/22", 2, steps), "");
    EXPECT_EQ(parseSteps("25/20", 2, steps), "");
    EXPECT_EQ(parseSteps("6/off", 2, steps), "");
    EXPECT_EQ(parseSteps("3/0", 2, steps), "");
    EXPECT_EQ(parseSteps("pile/23", 1, steps), "");
    ASSERT_EQ(steps.size(), 5u);
    EXPECT_EQ(steps[0], entry(Origin::Bar, 22));
    EXPECT_EQ(steps[1], entry(Origin::Bar, 20));
    EXPECT_EQ(steps[2], pt(6, kOff));
    EXPECT_EQ(steps[4], entry(Origin::Pile, 2));
    for (const char* bad : {"13", "13/", "/7", "26/20", "13/25", "off/3", "6/off/2", "13/7(9)",
                            "13/7(", "x/y", "13/7**", ""})
        EXPECT_NE(parseSteps(bad, 1, steps), "") << bad;
}

TEST(GameRecorder, FollowsTheHostsMessagesThroughHitsEntriesAndUndo) {
    GameRecorder r;
    r.feed(msg::newplayerinfo(1, "Alice"));
    r.feed(msg::startgame("Alice", "120", "0"));
    r.feed(msg::firstroll(6, 4, 1, true));
    // 24/18 13/9: pieces 14 (board 1) and 5 (board 12).
    r.feed(moved(1, 14, 1, 2, 7, 1));
    r.feed(moved(1, 5, 12, 5, 16, 1));
    EXPECT_EQ(r.lastPlay(), nullptr) << "the turn is still open";
    r.feed(msg::nextplayer(2));
    ASSERT_NE(r.lastPlay(), nullptr);
    EXPECT_EQ(turnText(*r.lastPlay(), true), "64: 24/18 13/9");
    EXPECT_EQ(r.lastPlay()->steps[0].piece, 14);
    // Zobo hits on board point 7 and then takes a step back that the host undoes.
    r.feed(threw(2, 6, 2));
    EXPECT_EQ(r.lastPlay(), nullptr) << "a throw clears the last play";
    r.feed(hitting(2, 5, 13, 5, 7, 14));
    r.feed(moved(2, 9, 6, 5, 4, 1));
    r.feed(moved(2, 9, 4, 1, 6, 5)); // the undo: backwards to where it came from
    EXPECT_EQ(turnText(r.record().turns.back(), true), "62: 13/7*");
    r.feed(moved(2, 9, 8, 3, 6, 5));
    r.feed(msg::nextplayer(1));
    EXPECT_EQ(turnText(r.record().turns.back(), true), "62: 13/7* 8/6");
    EXPECT_EQ(r.position().side[1].bar, 1);
    // Player 1 enters from the bar (the host's from-level 0) on board point 3.
    r.feed(threw(1, 3, 3));
    r.feed(moved(1, 14, 0, 0, 3, 1));
    r.feed(moved(1, 13, 19, 5, 22, 1));
    r.feed(moved(1, 12, 19, 4, 22, 2));
    r.feed(moved(1, 4, 12, 4, 15, 1));
    r.feed(msg::nextplayer(2));
    EXPECT_EQ(turnText(r.record().turns.back(), true), "33: bar/22 6/3(2) 13/10");

    // Alice concedes: the host names the winner first.
    r.feed(msg::winner("Zobo"));
    r.feed(msg::conceded(1));
    const GameRecord& g = r.record();
    EXPECT_EQ(g.names[1], "Alice");
    EXPECT_EQ(g.names[2], "Zobo");
    EXPECT_EQ(g.winner, 2);
    EXPECT_EQ(g.concededBy, 1);
    const std::vector<std::string> list = moveList(g);
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0], "1. Alice 64: 24/18 13/9");
    EXPECT_EQ(list[3], "Alice conceded; Zobo wins the game");
    std::string error;
    EXPECT_EQ(positionsOf(g, &error).back(), r.position()) << error;
}

TEST(GameRecorder, KeepsTheAceyDeuceyDoubleAndTheExtraTurn) {
    GameRecorder r;
    r.feed(msg::startgame("You", "120", "1"));
    r.feed(msg::firstroll(1, 2, 1, true));
    r.feed(moved(1, 15, 0, 15, 1, 1));
    r.feed(moved(1, 14, 0, 14, 2, 1));
    r.feed(msg::threwdice(1, Dice{4, 4, 4, 4}, true)); // the chosen double: no turn passed on
    for (int id = 13; id >= 10; --id)
        r.feed(moved(1, id, 0, id, 4, 14 - id));
    r.feed(msg::nextplayer(1)); // the same player again
    r.feed(threw(1, 5, 3));
    ASSERT_EQ(r.record().turns.size(), 2u);
    EXPECT_EQ(turnText(r.record().turns[0], true), "21: pile/24 pile/23, chose 44: pile/21(4)");
    EXPECT_EQ(r.record().turns[1].mover, 1);
    EXPECT_EQ(r.position().side[1].pile, 9);

    const std::string file = writeMatch(r.record());
    EXPECT_TRUE(file.starts_with(std::string(kAceyVariantLine) + "\n")) << file;
    const ReadResult back = readMatch(file);
    ASSERT_TRUE(back.ok()) << back.error << "\n" << file;
    ASSERT_EQ(back.record.turns.size(), 2u);
    EXPECT_EQ(back.record.turns[0].chosenDouble, 4);
    EXPECT_TRUE(back.record.acey);
    EXPECT_EQ(positionsOf(back.record).back(), positionsOf(r.record()).back());
}

TEST(GameRecorder, ALateSpectatorStartsAtTheBoardItWasSent) {
    // The host's board in the middle of a turn: player 2 has thrown and played one step.
    Board b;
    b.setpawnstobeginning();
    b.currentplayer = 2;
    b.dice = {5, 0, 0, 0};
    for (int p = 1; p <= 2; ++p)
        b.side[p].pips = b.configpips(p);
    GameRecorder r;
    r.feed(msg::newplayerinfo(1, "Alice"));
    r.feed(msg::newplayerinfo(2, "Bob"));
    r.feed(msg::loadboard(3, b));
    ASSERT_TRUE(r.hasGame());
    EXPECT_TRUE(r.record().joinedMidGame);
    EXPECT_EQ(r.record().start, Position::start(false));
    // The rest of the turn under way goes into the start; the record's turns begin after it.
    r.feed(moved(2, 5, 13, 5, 8, 4));
    r.feed(msg::nextplayer(1));
    r.feed(threw(1, 2, 1));
    r.feed(moved(1, 14, 1, 2, 3, 1));
    ASSERT_EQ(r.record().turns.size(), 1u);
    EXPECT_EQ(r.record().start.side[2].point[8], 4);
    EXPECT_EQ(moveList(r.record()).front(), kJoinedLine);
    const ReadResult back = readMatch(writeMatch(r.record()));
    ASSERT_TRUE(back.ok()) << back.error;
    EXPECT_TRUE(back.record.joinedMidGame);
    EXPECT_EQ(back.record.start, r.record().start);
}

TEST(GameRecorder, IgnoresMessagesThatDoNotFit) {
    GameRecorder r;
    r.feed(msg::firstroll(3, 1, 1, true)); // no game yet
    EXPECT_FALSE(r.hasGame());
    r.feed(msg::startgame("A", "120", "0"));
    for (const char* junk :
         {"CMD_movehispiece+1+1+x", "CMD_pounce+9+0+0+0+0+0+1+1+99+1+1+1", "CMD_gothome+1",
          "CMD_threwdice+1+7+7+7+7+t+", "CMD_loadboard+1+1+normal+1+2+0+0+1+99+1",
          "CMD_winner+nobody+", "CMD_nextplayer+5+", "garbage", ""})
        r.feed(junk);
    EXPECT_TRUE(r.record().turns.empty());
    EXPECT_EQ(r.record().winner, 0);
    EXPECT_EQ(r.position(), Position::start(false));
}

TEST(MatchFile, WritesTheLayoutAnalysisProgramsRead) {
    GameRecord g;
    g.names = {"", "Alice", "Bob"};
    g.start = Position::start(false);
    g.turns.push_back(turn(1, 3, 1, {pt(17, 20), pt(19, 20)}));
    g.turns.push_back(turn(2, 5, 2, {pt(13, 8), pt(13, 11)}));
    g.turns.push_back(turn(1, 6, 4, {pt(1, 7), pt(7, 11)}));
    g.winner = 1;
    const std::string file = writeMatch(g, {"2026.12.09", "14.05"});
    EXPECT_NE(file.find("\n 1 point match\n\n Game 1\n Alice : 0"), std::string::npos) << file;
    EXPECT_NE(file.find("  1) 31: 8/5 6/5                  52: 13/8 13/11\n"), std::string::npos)
        << file;
    EXPECT_NE(file.find("  2) 64: 24/18 18/14\n     Wins 1 point\n"), std::string::npos) << file;
    EXPECT_NE(file.find("; [EventDate \"2026.12.09\"]"), std::string::npos);
    const ReadResult back = readMatch(file);
    ASSERT_TRUE(back.ok()) << back.error;
    EXPECT_EQ(back.record.names, g.names);
    EXPECT_EQ(back.record.winner, 1);
    EXPECT_EQ(back.record.concededBy, 2) << "Alice won with checkers still on the board";
    ASSERT_EQ(back.record.turns.size(), 3u);
    EXPECT_EQ(back.record.turns[1].steps, g.turns[1].steps);
}

TEST(MatchFile, SaysWhatIsWrongAndOnWhichLine) {
    GameRecord g;
    g.names = {"", "Alice", "Bob"};
    g.start = Position::start(false);
    g.turns.push_back(turn(2, 5, 2, {pt(13, 8), pt(13, 11)}));
    g.turns.push_back(turn(1, 3, 1, {pt(17, 20), pt(19, 20)}));
    const std::string good = writeMatch(g);
    ASSERT_TRUE(readMatch(good).ok()) << readMatch(good).error << good;
    auto lineOf = [&](const std::string& text) { return readMatch(text).line; };
    auto errorOf = [&](const std::string& text) { return readMatch(text).error; };

    EXPECT_EQ(errorOf("hello\n"),
              "line 1: not a game record: the file should begin with \"1 point match\"");
    EXPECT_EQ(errorOf(""), "line 1: not a game record: no \"1 point match\" line");
    // Cut short before the moves.
    const std::size_t game = good.find(" Game 1");
    EXPECT_NE(errorOf(good.substr(0, game)), "");
    // A step from a point where the mover has no checker: reported on its own line.
    std::string wrong = good;
    wrong.replace(wrong.find("13/8"), 4, "14/8");
    const int movesLine = lineOf(wrong);
    EXPECT_GT(movesLine, 5);
    EXPECT_NE(errorOf(wrong).find("line " + std::to_string(movesLine) + ": turn 1: 14/8"),
              std::string::npos)
        << errorOf(wrong);
    // A play that uses no die of the throw.
    std::string noDie = good;
    noDie.replace(noDie.find("13/11"), 5, "13/10");
    EXPECT_NE(errorOf(noDie).find("no die"), std::string::npos) << errorOf(noDie);
    // Move lines out of order, a garbled throw, an unknown word.
    std::string order = good;
    order.replace(order.find("  2)"), 4, "  5)");
    EXPECT_NE(errorOf(order).find("comes where 2 belongs"), std::string::npos);
    std::string throwBad = good;
    throwBad.replace(throwBad.find("31:"), 3, "71:");
    EXPECT_NE(errorOf(throwBad).find("'71:'"), std::string::npos) << errorOf(throwBad);
    std::string word = good;
    word.replace(word.find("13/8"), 4, "Doubles");
    EXPECT_NE(errorOf(word).find("'Doubles' is not a play"), std::string::npos);
    // Every cut of the file either reads or says why; none throws.
    for (std::size_t n = 0; n < good.size(); ++n) {
        const ReadResult r = readMatch(good.substr(0, n));
        EXPECT_EQ(r.ok(), r.line == 0) << n;
    }
}

TEST(MatchFile, NamesThatLookLikeScoresStillReadBack) {
    GameRecord g;
    g.names = {"", " : 0 x", "Bob : 3"};
    g.start = Position::start(false);
    g.turns.push_back(turn(1, 3, 1, {pt(17, 20), pt(19, 20)}));
    const ReadResult back = readMatch(writeMatch(g));
    ASSERT_TRUE(back.ok()) << back.error << "\n" << writeMatch(g);
    EXPECT_EQ(back.record.names[1], ": 0 x"); // only the spaces around a name are lost
    EXPECT_EQ(back.record.names[2], "Bob : 3");
    EXPECT_EQ(readMatch(writeMatch(back.record)).record.names, back.record.names);

    // The players' line of a name that begins with ';' (or with quotes or control characters,
    // which are written as spaces) must not be taken for a comment.
    for (const char* first : {"; 0 [x", "\"\"; rest", "\x01;semi"}) {
        g.names = {"", first, "Bob"};
        const ReadResult semi = readMatch(writeMatch(g));
        ASSERT_TRUE(semi.ok()) << semi.error << "\n" << writeMatch(g);
        EXPECT_EQ(semi.record.turns.size(), 1u);
        EXPECT_EQ(semi.record.names[2], "Bob");
        EXPECT_EQ(semi.record.names[1].front(), ';');
    }
}
