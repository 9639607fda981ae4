#pragma once
// The chat view's line layout: one chat line ("<style>+<text>") in, the items to append out.
//
// A line opens a paragraph with its name part (the text up to its first ":" and a blank) in the
// sender's style; then come the words of the message, each keeping its trailing blank, and the
// smileys (":)#" and two digits 10 to 27) as pictures. A word holding "http://" or "www." is a
// link: it is drawn in the link style and remembered in the running link table, which wraps
// from 100 back to 1. The view that draws the items owns one LinkTable for its whole life.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bg {

inline constexpr int kChatStyles = 15;
inline constexpr int kSystemStyle = 0;
inline constexpr int kLinkStyle = 4;
inline constexpr int kSmileyCount = 18;
inline constexpr int kFirstSmileyCode = 10;
inline constexpr std::string_view kSmileyMark = ":)#";

// The running table of link words, indexes 0 to 100.
class LinkTable {
  public:
    static constexpr int kSize = 101;
    // Stores a word at the next index and returns that index.
    int store(std::string_view word);
    int linkcount() const { return m_linkcount; }
    // The word at `index`, or nothing for an index outside the table or never written.
    std::optional<std::string> at(int index) const;

  private:
    int m_linkcount = -1;
    std::array<std::optional<std::string>, kSize> m_table{};
};

struct ChatItem {
    enum class Kind { Text, Image };
    Kind kind = Kind::Text;
    int style = 0;      // text items
    std::string text;   // text items: the word with its trailing blank
    bool link = false;  // a link word: text is what a click opens
    int linkIndex = -1; // its index in the link table
    int image = 0;      // image items: 0 to 17

    static ChatItem word(int style, std::string text) {
        ChatItem i;
        i.style = style;
        i.text = std::move(text);
        return i;
    }
    static ChatItem picture(int image) {
        ChatItem i;
        i.kind = Kind::Image;
        i.image = image;
        return i;
    }
    friend bool operator==(const ChatItem&, const ChatItem&) = default;
};

// One laid-out line: the first item starts a paragraph, the others continue it. The sender's
// colour and bold go into `style` before the line is drawn.
struct ChatLine {
    int style = 0;
    std::vector<ChatItem> items;
};

// Lays out `line`; stores its link words in `links`. A line whose style number is not a number
// from 0 to 14 is nothing (a style the view does not have cannot be drawn).
std::optional<ChatLine> layoutChatLine(std::string_view line, LinkTable& links);

// A received "CMD_chat" or "CMD_action" body: the line to draw and its colour (0x00BBGGRR).
// The colour text follows the first "|"; a missing or unreadable one gives clRed.
struct ReceivedChat {
    std::string line;
    std::uint32_t colour = 0;
};
ReceivedChat splitReceivedChat(std::string_view body);

// True for a word the view turns into a link.
bool isLinkWord(std::string_view word);

} // namespace bg
