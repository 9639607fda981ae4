// The text record a hosting copy announces, read back as a joining copy reads whatever the
// network sends; and the check of a player's name before it goes to a host's log-in.

#include "gamenotice.h"
#include "loginname.h"

#include <gtest/gtest.h>

using namespace bg::discovery;

TEST(GameNotice, RecordReadsBackAsItWasAnnounced) {
    const GameNotice notice{"Ann+Lee", GameType::AceyDeucey, 3};
    const auto record = textRecord(notice);
    EXPECT_EQ(record, (std::vector<std::string>{"name=Ann+Lee", "game=acey", "seats=3"}));
    EXPECT_EQ(readTextRecord(record), notice);
    const GameNotice plain{"Bob", GameType::Backgammon, 1};
    EXPECT_EQ(readTextRecord(textRecord(plain)), plain);
    // Other keys and any order are fine: the record is another program's to extend.
    EXPECT_EQ(readTextRecord({"seats=1", "extra=1", "game=backgammon", "name=Bob"}), plain);
}

TEST(GameNotice, RecordsThatDoNotReadAreNoGame) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"name=Bob", "game=backgammon"},
        {"name=Bob", "game=chess", "seats=1"},
        {"name=Bob", "game=backgammon", "seats=10"},
        {"name=Bob", "game=backgammon", "seats=-1"},
        {"name=Bob", "game=backgammon", "seats="},
        {"name=Bob", "game=backgammon", "seats=1x"},
    };
    for (const auto& record : bad)
        EXPECT_FALSE(readTextRecord(record).has_value()) << testing::PrintToString(record);
}

TEST(GameNotice, UntrustedTextIsPlainAndShort) {
    EXPECT_EQ(plainText("Bob\r\n<b>\x1b[31mred"), "Bob<b>[31mred"); // shown as plain text
    EXPECT_EQ(plainText("\xe2\x80\xae" "evil\xe2\x80\x8b" "name"), "evilname"); // no bidi tricks
    EXPECT_EQ(plainText("bad\xff\xc0\xafutf8\xed\xa0\x80"), "badutf8");
    EXPECT_EQ(plainText("  Zoë  "), "Zoë");
    EXPECT_EQ(plainText(std::string(300, 'x')), std::string(kMaxShownBytes, 'x'));
    // Cut at a character boundary, never inside one.
    std::string accents;
    for (int i = 0; i < 40; ++i)
        accents += "é";
    EXPECT_EQ(plainText(accents, 9), "éééé");
    const auto read = readTextRecord({"name=" + std::string(250, 'n') + "\n", "game=acey", "seats=2"});
    ASSERT_TRUE(read);
    EXPECT_EQ(read->hostName, std::string(kMaxShownBytes, 'n'));
}

TEST(LoginName, TakesWhatTheHostsLogInCarries) {
    EXPECT_EQ(bg::loginNameProblem("Alice"), "");
    EXPECT_EQ(bg::loginNameProblem("A+B C"), ""); // the name is the rest of the line, "+" and all
    EXPECT_EQ(bg::loginNameProblem("Zoë"), "");
    EXPECT_EQ(bg::loginNameProblem(""), "Please enter your name.");
    EXPECT_EQ(bg::loginNameProblem("   "), "Please enter your name.");
    EXPECT_EQ(bg::loginNameProblem("Ann\nBob"),
              "A name cannot hold line breaks or other control characters.");
    EXPECT_EQ(bg::loginNameProblem(std::string("Ann\xff", 4)), "That name cannot be sent to the host.");
    EXPECT_EQ(bg::loginNameProblem(std::string(40, 'a')), "");
    EXPECT_EQ(bg::loginNameProblem(std::string(41, 'a')), "A name can have at most 40 characters.");
    std::string wide;
    for (int i = 0; i < 40; ++i)
        wide += "é";
    EXPECT_EQ(bg::loginNameProblem(wide), ""); // characters, not bytes
}
