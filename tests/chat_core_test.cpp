// Colour texts and the chat line layout, without a window.

#include "chatlayout.h"
#include "colortext.h"

#include <gtest/gtest.h>

namespace {

using bg::ChatItem;
using bg::colorFromText;
using bg::colorToText;

TEST(ColorText, StandardNamesAnyCaseAndBack) {
    EXPECT_EQ(colorFromText("clBlack"), 0x000000u);
    EXPECT_EQ(colorFromText("clblack"), 0x000000u);
    EXPECT_EQ(colorFromText("CLRED"), 0x0000FFu);
    EXPECT_EQ(colorFromText("clLime"), 0x00FF00u);
    EXPECT_EQ(colorFromText("clBlue"), 0xFF0000u);
    EXPECT_EQ(colorFromText("clMaroon"), 0x000080u);
    EXPECT_EQ(colorFromText("clNavy"), 0x800000u);
    EXPECT_EQ(colorFromText("clMoneyGreen"), 0xC0DCC0u);
    EXPECT_EQ(colorFromText("clLtGray"), 0xC0C0C0u);
    for (const char* name :
         {"clBlack", "clMaroon", "clGreen",      "clOlive",   "clNavy",   "clPurple", "clTeal",
          "clGray",  "clSilver", "clRed",        "clLime",    "clYellow", "clBlue",   "clFuchsia",
          "clAqua",  "clWhite",  "clMoneyGreen", "clSkyBlue", "clCream",  "clMedGray"})
        EXPECT_EQ(colorToText(colorFromText(name).value()), name);
    // An alias writes back as the first name of its value.
    EXPECT_EQ(colorToText(colorFromText("clDkGray").value()), "clGray");
}

TEST(ColorText, SystemNamesResolveToThePalette) {
    EXPECT_EQ(colorFromText("clWindowText"), 0x000000u);
    EXPECT_EQ(colorFromText("clwindow"), 0xFFFFFFu);
    EXPECT_EQ(colorFromText("clBtnFace"), 0xC8D0D4u);
    EXPECT_EQ(colorFromText("clHighlight"), 0x6A240Au);
    EXPECT_EQ(colorFromText("clInfoBk"), 0xE1FFFFu);
    EXPECT_TRUE(colorFromText("cl3DDkShadow").has_value());
    EXPECT_TRUE(colorFromText("clMenuBar").has_value());
    // The toolkit's own number for clWindowText (system colour 8) reads the same.
    EXPECT_EQ(colorFromText("$FF000008"), 0x000000u);
    EXPECT_EQ(colorFromText("$FF000005"), 0xFFFFFFu);
    // A system index that has no colour is no colour.
    EXPECT_FALSE(colorFromText("$FF000019").has_value());
}

TEST(ColorText, HexFormExactlyEightDigits) {
    EXPECT_EQ(colorFromText("$00FF8040"), 0xFF8040u);
    EXPECT_EQ(colorFromText("$00ff8040"), 0xFF8040u);
    EXPECT_EQ(colorToText(0xFF8040), "$00FF8040");
    EXPECT_EQ(colorToText(0x0000FF), "clRed");
    EXPECT_EQ(colorToText(0x123456), "$00123456");
    EXPECT_EQ(colorFromText(colorToText(0xC0D5E2)), 0xC0D5E2u);
    for (const char* bad :
         {"", "$", "$00FF804", "$00FF80400", "$00GG8040", "$0x00FF80", "$12000000", "red", "clRedd",
          "clRe", "#FF0000", "255", " clRed", "clRed "})
        EXPECT_FALSE(colorFromText(bad).has_value()) << bad;
}

TEST(ReceivedChat, ColourAfterTheFirstBarElseRed) {
    bg::ReceivedChat c = bg::splitReceivedChat("7+Bob chats: hi|clLime");
    EXPECT_EQ(c.line, "7+Bob chats: hi");
    EXPECT_EQ(c.colour, 0x00FF00u);
    // A "|" typed inside the line cuts it there, and what follows is no colour.
    c = bg::splitReceivedChat("7+Bob chats: a|b|clLime");
    EXPECT_EQ(c.line, "7+Bob chats: a");
    EXPECT_EQ(c.colour, bg::kColorRed);
    c = bg::splitReceivedChat("7+Bob chats: no colour");
    EXPECT_EQ(c.line, "7+Bob chats: no colour");
    EXPECT_EQ(c.colour, bg::kColorRed);
    EXPECT_EQ(bg::splitReceivedChat("3+x|$00102030").colour, 0x102030u);
}

ChatItem text(int style, const char* t) {
    return ChatItem::word(style, t);
}

ChatItem link(const char* t, int index) {
    ChatItem i = ChatItem::word(bg::kLinkStyle, t);
    i.link = true;
    i.linkIndex = index;
    return i;
}

TEST(ChatLayout, RelayedLineOfSenderSevenWithABlankWord) {
    bg::LinkTable links;
    const auto line = bg::layoutChatLine("7+Bob chats: hello world", links);
    ASSERT_TRUE(line);
    EXPECT_EQ(line->style, 7);
    const std::vector<ChatItem> want = {text(7, "Bob chats: "), text(7, " "), text(7, "hello "),
                                        text(7, "world ")};
    EXPECT_EQ(line->items, want);
    EXPECT_EQ(links.linkcount(), -1);
}

TEST(ChatLayout, BlankWordBlankThenSmileyTwelve) {
    bg::LinkTable links;
    const auto line = bg::layoutChatLine("3+Ann chats: hi :)#12", links);
    ASSERT_TRUE(line);
    // After the name part: " hi " before the smiley, plus the blank each segment gets.
    const std::vector<ChatItem> want = {text(3, "Ann chats: "), text(3, " "), text(3, "hi "),
                                        text(3, " "), ChatItem::picture(2)};
    EXPECT_EQ(line->items, want);
}

TEST(ChatLayout, SmileyCodesOutsideTheRangeShowImageZero) {
    bg::LinkTable links;
    for (const char* code : {"09", "28", "ab", "1", "", "-1", "+1"}) {
        const auto line = bg::layoutChatLine(std::string("1+A: x:)#") + code, links);
        ASSERT_TRUE(line) << code;
        int images = 0;
        for (const ChatItem& i : line->items)
            if (i.kind == ChatItem::Kind::Image) {
                ++images;
                EXPECT_EQ(i.image, 0) << code;
            }
        EXPECT_EQ(images, 1) << code;
    }
    const auto last = bg::layoutChatLine("1+A: :)#27:)#10", links);
    ASSERT_TRUE(last);
    EXPECT_EQ(last->items.back(), ChatItem::picture(0));
    EXPECT_EQ(last->items[last->items.size() - 3], ChatItem::picture(17));
}

TEST(ChatLayout, SystemLineWhoseSmileyEndsTheNamePart) {
    bg::LinkTable links;
    const auto line = bg::layoutChatLine("0+Good game :)#10 all", links);
    ASSERT_TRUE(line);
    // The smiley's ":" ends the name part, so the smiley is drawn as text.
    const std::vector<ChatItem> want = {text(0, "Good game : "), text(0, ")#10 "), text(0, "all ")};
    EXPECT_EQ(line->items, want);
}

TEST(ChatLayout, NoNamePartGivesABlankFirstItem) {
    bg::LinkTable links;
    const auto line = bg::layoutChatLine("0+You are Connected.", links);
    ASSERT_TRUE(line);
    const std::vector<ChatItem> want = {text(0, " "), text(0, "You "), text(0, "are "),
                                        text(0, "Connected. ")};
    EXPECT_EQ(line->items, want);
}

TEST(ChatLayout, LinkWordsGoToTheLinkStyleAndTheTable) {
    bg::LinkTable links;
    const auto line =
        bg::layoutChatLine("2+Cy chats: see www.example.com and http://a.b/c nowww", links);
    ASSERT_TRUE(line);
    const std::vector<ChatItem> want = {text(2, "Cy chats: "), text(2, " "),
                                        text(2, "see "),       link("www.example.com ", 0),
                                        text(2, "and "),       link("http://a.b/c ", 1),
                                        text(2, "nowww ")};
    EXPECT_EQ(line->items, want);
    EXPECT_EQ(links.at(0), "www.example.com ");
    EXPECT_EQ(links.at(1), "http://a.b/c ");
    // Case matters, as does the dot.
    EXPECT_FALSE(bg::isLinkWord("WWW.example.com"));
    EXPECT_FALSE(bg::isLinkWord("HTTP://x"));
    EXPECT_TRUE(bg::isLinkWord("xhttp://y"));
    EXPECT_FALSE(bg::isLinkWord("https://y"));
}

TEST(ChatLayout, TheHundredAndSecondLinkIsStoredAtIndexOne) {
    bg::LinkTable links;
    for (int n = 0; n < 101; ++n) {
        const auto line = bg::layoutChatLine("1+A: www.n" + std::to_string(n), links);
        ASSERT_TRUE(line);
        EXPECT_EQ(line->items.back().linkIndex, n);
    }
    EXPECT_EQ(links.linkcount(), 100);
    const auto line = bg::layoutChatLine("1+A: www.last", links);
    ASSERT_TRUE(line);
    EXPECT_EQ(line->items.back().linkIndex, 1);
    EXPECT_EQ(links.at(1), "www.last ");
    EXPECT_EQ(links.at(0), "www.n0 ");
    EXPECT_EQ(links.at(101), std::nullopt);
    EXPECT_EQ(links.at(-1), std::nullopt);
    // Each item still carries its own word, whatever the table's index now holds.
    EXPECT_EQ(line->items.back().text, "www.last ");
}

TEST(ChatLayout, StyleMustBeAViewStyle) {
    bg::LinkTable links;
    for (const char* bad : {"15+x", "-1+x", "x+y", "+y", "no plus", "7 +x"})
        EXPECT_FALSE(bg::layoutChatLine(bad, links).has_value()) << bad;
    EXPECT_TRUE(bg::layoutChatLine("14+", links).has_value());
    const auto empty = bg::layoutChatLine("9+", links);
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->items, std::vector<ChatItem>{text(9, " ")});
}

} // namespace
