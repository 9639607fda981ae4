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

#include "chatsending.h"
#include "chattersounds.h"
#include "weblink.h"

namespace {

TEST(ChatSending, TypedLinesSlashMeAndOtherSlashes) {
    EXPECT_EQ(bg::typedLineMessage(3, "hi there", "clLime"), "CMD_chat+3+hi there|clLime");
    // Sent as typed: "+" and "|" are not escaped.
    EXPECT_EQ(bg::typedLineMessage(1, "a+b|c", "$00102030"), "CMD_chat+1+a+b|c|$00102030");
    EXPECT_EQ(bg::typedLineMessage(1, "/me waves", "clBlack"), "CMD_action+1+waves|clBlack");
    // The first four characters go whatever the fourth is.
    EXPECT_EQ(bg::typedLineMessage(1, "/mewaves", "clBlack"), "CMD_action+1+aves|clBlack");
    EXPECT_EQ(bg::typedLineMessage(1, "/me", "clBlack"), "CMD_action+1+|clBlack");
    EXPECT_EQ(bg::typedLineMessage(1, "/quit", "clBlack"), std::nullopt);
    EXPECT_EQ(bg::typedLineMessage(1, "/", "clBlack"), std::nullopt);
    EXPECT_EQ(bg::typedLineMessage(1, "", "clBlack"), std::nullopt);
}

TEST(ChatSending, PhrasesAndChatterSounds) {
    EXPECT_EQ(bg::phraseMessage(2, "Way To Go!", "clRed"), "CMD_action+2+says: Way To Go!|clRed");
    EXPECT_EQ(bg::phraseMessage(2, "/me bows", "clRed"), "CMD_action+2+bows|clRed");
    EXPECT_EQ(bg::phraseMessage(2, "/meh", "clRed"), "CMD_action+2+says: /meh|clRed");
    const std::string fifty(50, 'x');
    EXPECT_EQ(bg::phraseMessage(1, fifty, "clRed"), "CMD_action+1+says: " + fifty + "|clRed");
    EXPECT_EQ(bg::chatterMessage(true, true, 1, 13), "CMD_playasound+1+wave13+");
    EXPECT_EQ(bg::chatterMessage(true, true, 2, 20), "CMD_playasound+2+wave20+");
    EXPECT_EQ(bg::chatterMessage(true, true, 1, 0), std::nullopt);  // "<Cancel>"
    EXPECT_EQ(bg::chatterMessage(true, false, 3, 5), std::nullopt); // a spectator
    EXPECT_EQ(bg::chatterMessage(false, true, 1, 5), std::nullopt);
    EXPECT_EQ(bg::chatterMessage(true, true, 1, 21), std::nullopt);
}

TEST(ChatterSounds, NamesCaptionsAndTheStore) {
    EXPECT_EQ(bg::chatterCaption(1), "Doh");
    EXPECT_EQ(bg::chatterCaption(5), "Where have you been?");
    EXPECT_EQ(bg::chatterCaption(13), "Applause");
    EXPECT_EQ(bg::chatterCaption(20), "Crying");
    EXPECT_EQ(bg::chatterCaption(0), "");
    EXPECT_EQ(bg::chatterCaption(21), "");
    EXPECT_EQ(bg::chatterTag("wave13"), 13);
    EXPECT_EQ(bg::chatterTag("WAVE1"), 1);
    for (const char* bad : {"wave0", "wave21", "wave013", "wave+1", "wave", "wav13", "wave13x"})
        EXPECT_EQ(bg::chatterTag(bad), std::nullopt) << bad;
    EXPECT_EQ(bg::storedSoundName("dice"), "DICE");
    EXPECT_EQ(bg::storedSoundName("turnnew"), "TURNNEW");
    EXPECT_EQ(bg::storedSoundName("wave20"), "WAVE20");
    EXPECT_EQ(bg::storedSoundName("wave21"), std::nullopt);
    EXPECT_EQ(bg::storedSoundName("../dice"), std::nullopt);
    EXPECT_EQ(bg::allStoredSounds().size(), 35u);
}

TEST(ChatterSounds, ReceivedPlaysOrReads) {
    const auto names = [](int seat) -> std::optional<std::string> {
        if (seat == 1) return "Ann";
        if (seat == 2) return "Zobo";
        return std::nullopt;
    };
    bg::ChatterReceipt r = bg::receiveChatter("1+wave13+", true, names);
    EXPECT_EQ(r.play, "wave13");
    EXPECT_EQ(r.line, "");
    r = bg::receiveChatter("1+wave13+", false, names);
    EXPECT_EQ(r.play, "");
    EXPECT_EQ(r.line, "0+Ann: <Chatter Sound> Applause");
    EXPECT_EQ(bg::receiveChatter("2+wave3+", false, names).line, "0+Zobo: <Chatter Sound> Hello");
    // No label for the sender, no such item, no number: nothing at all.
    for (const char* body : {"3+wave13+", "1+wave99+", "x+wave1+", "1", ""}) {
        r = bg::receiveChatter(body, false, names);
        EXPECT_EQ(r.play, "") << body;
        EXPECT_EQ(r.line, "") << body;
    }
    // Played by name; a name the store lacks is then simply silent.
    EXPECT_EQ(bg::receiveChatter("1+wave99+", true, names).play, "wave99");
}

TEST(WebLink, OnlyWebAddressesOpen) {
    EXPECT_EQ(bg::webAddressForLink("www.example.com "), "http://www.example.com");
    EXPECT_EQ(bg::webAddressForLink("http://a.b/c?d=1 "), "http://a.b/c?d=1");
    EXPECT_EQ(bg::webAddressForLink("see:http://a.b/"), "http://a.b/");
    EXPECT_EQ(bg::webAddressForLink("xhttps://a.b/http://c.d"), "https://a.b/http://c.d");
    EXPECT_EQ(bg::webAddressForLink("(http://a.b)"), "http://a.b)");
    for (const char* bad :
         {"file:///etc/passwd ", "xwww.evil ", "/usr/bin/www.x", "javascript:www.x", "http:// ",
          "http:///etc/passwd", "http://@evil", "http://user@evil.com/", "smb://www.host/share",
          "http://a.b/\"x", "", " "})
        EXPECT_EQ(bg::webAddressForLink(bad), std::nullopt) << bad;
}

} // namespace
