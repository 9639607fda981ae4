#include "board.h"
#include "protocol.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace bg;

TEST(Splitter, CutsAtEveryTerminatorAndKeepsTheRest) {
    LineSplitter s;
    std::vector<std::string> lines;
    EXPECT_TRUE(s.feed("CMD_roll", lines));
    EXPECT_TRUE(lines.empty());
    EXPECT_TRUE(s.feed("dice+2+\xFF"
                       "CMD_undo+2+\xFF"
                       "CMD_ch",
                       lines));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "CMD_rolldice+2+");
    EXPECT_EQ(lines[1], "CMD_undo+2+");
    EXPECT_EQ(s.rest(), "CMD_ch");
    lines.clear();
    EXPECT_TRUE(s.feed("\xFF\xFF", lines));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "CMD_ch");
    EXPECT_EQ(lines[1], ""); // an empty message is a line of its own
}

TEST(Splitter, RefusesAnEndlessLine) {
    LineSplitter s;
    std::vector<std::string> lines;
    EXPECT_TRUE(s.feed(std::string(kMaxPendingLine, 'a'), lines));
    EXPECT_FALSE(s.feed("a", lines));
    LineSplitter t;
    EXPECT_TRUE(t.feed(std::string(kMaxPendingLine + 10, 'a') + "\xFF", lines));
}

TEST(Fields, CuttingAndNumbers) {
    int v = 0;
    EXPECT_TRUE(toInt("12", v));
    EXPECT_EQ(v, 12);
    EXPECT_TRUE(toInt("-3", v));
    EXPECT_EQ(v, -3);
    for (const char* bad : {"", "12a", " 1", "+3", "-", "0x10", "99999999999"})
        EXPECT_FALSE(toInt(bad, v)) << bad;

    Fields f("2+Bob+x+y");
    EXPECT_EQ(f.number(), 2);
    EXPECT_EQ(f.text(), "Bob");
    EXPECT_EQ(f.remaining(), "x+y"); // free text keeps its "+"
    Fields g("abc");
    EXPECT_EQ(g.text(), "");
    EXPECT_EQ(g.remaining(), "abc");
    Fields h("7a+");
    EXPECT_THROW(h.number(), FieldError);

    EXPECT_EQ(splitCommand("CMD_chat+3+a+b").word, "CMD_chat");
    EXPECT_EQ(splitCommand("CMD_chat+3+a+b").rest, "3+a+b");
    EXPECT_EQ(splitCommand("CMD_full").word, "");
}

TEST(Messages, ExactTexts) {
    EXPECT_EQ(msg::sendlogininfo(1), "CMD_sendlogininfo+1");
    EXPECT_EQ(msg::logininfo(2, "1.0.4", "A+B"), "CMD_logininfo+2+1.0.4+A+B");
    EXPECT_EQ(msg::full(), "CMD_full+");
    EXPECT_EQ(msg::rolldice(2), "CMD_rolldice+2+");
    EXPECT_EQ(msg::justwatch(2, 1), "CMD_justwatch+2+1");
    EXPECT_EQ(msg::chat(3, "a+b", "clRed"), "CMD_chat+3+a+b|clRed");
    EXPECT_EQ(msg::chatRelay("3", "Guest", "a+b|clRed"), "CMD_chat+3+Guest chats: a+b|clRed");
    EXPECT_EQ(msg::actionRelay("3", "Guest", "waves|clRed"), "CMD_action+3+Guest waves|clRed");
    EXPECT_EQ(msg::playasound(4, 12), "CMD_playasound+4+wave12+");
    EXPECT_EQ(msg::playasoundRelay(4, "wave12+"), "CMD_playasound+4+wave12+");
    EXPECT_EQ(msg::firstroll(5, 3, 1, true), "CMD_firstroll+5+3+1+t+");
    EXPECT_EQ(msg::threwdice(2, Dice{3, 3, 3, 3}, false), "CMD_threwdice+2+3+3+3+3+f+");
    EXPECT_EQ(msg::startgame("Al", "120", "0"), "CMD_startgame+Al+120+0+");
    EXPECT_EQ(msg::playerdisconnected(3, "Guest"), "CMD_playerdisconnected+3+Guest");
    EXPECT_EQ(msg::winner("Zobo"), "CMD_winner+Zobo+");
    msg::MoveReport m{2, 2, 1, 160, 13, 13, 5, 10, 1};
    EXPECT_EQ(msg::movehispiece(m, Dice{0, 4, 0, 0}, true),
              "CMD_movehispiece+2+2+0+4+0+0+1+160+13+13+5+10+1+t+");
    EXPECT_EQ(msg::pounce(m, Dice{0, 4, 0, 0}, 1, 7, 170, 1, 1),
              "CMD_pounce+2+2+0+4+0+0+1+160+13+13+5+10+1+1+7+170+1+1+");
    EXPECT_EQ(msg::gothome(1, 0, Dice{}, 2, 9, 15, 24, 1, 0),
              "CMD_gothome+1+0+0+0+0+0+2+9+15+24+1+0+");
    EXPECT_EQ(frame("CMD_full+"), std::string("CMD_full+\xFF"));
}

TEST(Messages, LoadboardListsBarPiecesTwice) {
    Board b;
    b.clearForNewGame();
    b.setpawnstobeginning();
    b.currentplayer = 2;
    b.dice = {3, 5, 0, 0};
    b.boardgrid[1][2] = {};
    b.side[1].bar[1] = 15; // hit on point 1 level 2
    const std::string text = msg::loadboard(4, b);
    EXPECT_EQ(text.rfind("CMD_loadboard+4+2+normal+3+5+0+0+1+1+12+1+1+2+12+2+", 0), 0u);
    EXPECT_NE(text.find("+1+15+1+2+2+1+13+1+"), std::string::npos);
    const std::string tail = "+2+15+24+2+1+15+26+1";
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail); // no "+" after the last tuple
}

TEST(Messages, MoveFieldsReadBackAsWritten) {
    const msg::MoveReport m{2, 0, 1, 47, 14, 25, 14, 23, 1};
    const Dice dice{0, 5, 0, 0};
    Fields f(splitCommand(msg::pounce(m, dice, 1, 7, 170, 1, 3)).rest);
    Dice read;
    const msg::MoveReport back = msg::readMoveReport(f, read);
    EXPECT_EQ(read, dice);
    EXPECT_EQ(std::tie(back.mover, back.next, back.slot, back.pips, back.piece, back.fromPoint,
                       back.fromLevel, back.toPoint, back.toLevel),
              std::tie(m.mover, m.next, m.slot, m.pips, m.piece, m.fromPoint, m.fromLevel,
                       m.toPoint, m.toLevel));
    EXPECT_EQ(f.number(), 1); // the pounce's own fields follow
    Fields broken("2+0+1+x+");
    EXPECT_THROW(msg::readMoveReport(broken, read), FieldError);
}
