#include "chatlayout.h"

#include "colortext.h"

#include <charconv>

namespace bg {

namespace {

constexpr int kLastSmileyCode = kFirstSmileyCode + kSmileyCount - 1;
constexpr std::size_t kSmileyCodeLength = 2;

std::optional<int> parseInt(std::string_view s) {
    int v = 0;
    if (s.empty()) return std::nullopt;
    const char* end = s.data() + s.size();
    if (s.front() == '+') return std::nullopt;
    auto [p, ec] = std::from_chars(s.data(), end, v);
    if (ec != std::errc() || p != end) return std::nullopt;
    return v;
}

// Each word keeps its trailing blank; two blanks in a row give a word that is one blank. The
// text always ends in a blank here, so nothing is left over.
void emitWords(std::string_view text, int style, LinkTable& links, std::vector<ChatItem>& out) {
    while (!text.empty()) {
        const std::size_t blank = text.find(' ');
        const std::size_t len = blank == std::string_view::npos ? text.size() : blank + 1;
        const std::string_view word = text.substr(0, len);
        text.remove_prefix(len);
        if (isLinkWord(word)) {
            ChatItem item = ChatItem::word(kLinkStyle, std::string(word));
            item.link = true;
            item.linkIndex = links.store(word);
            out.push_back(std::move(item));
        } else {
            out.push_back(ChatItem::word(style, std::string(word)));
        }
    }
}

} // namespace

int LinkTable::store(std::string_view word) {
    ++m_linkcount;
    if (m_linkcount >= kSize) m_linkcount = 1;
    m_table[static_cast<std::size_t>(m_linkcount)] = std::string(word);
    return m_linkcount;
}

std::optional<std::string> LinkTable::at(int index) const {
    if (index < 0 || index >= kSize) return std::nullopt;
    return m_table[static_cast<std::size_t>(index)];
}

ReceivedChat splitReceivedChat(std::string_view body) {
    const std::size_t bar = body.find('|');
    if (bar == std::string_view::npos) return {std::string(body), kColorRed};
    return {std::string(body.substr(0, bar)),
            colorFromText(body.substr(bar + 1)).value_or(kColorRed)};
}

bool isLinkWord(std::string_view word) {
    return word.find("http://") != std::string_view::npos ||
           word.find("www.") != std::string_view::npos;
}

std::optional<ChatLine> layoutChatLine(std::string_view line, LinkTable& links) {
    const std::size_t plus = line.find('+');
    if (plus == std::string_view::npos) return std::nullopt;
    const std::optional<int> style = parseInt(line.substr(0, plus));
    if (!style || *style < 0 || *style >= kChatStyles) return std::nullopt;
    std::string_view m = line.substr(plus + 1);

    ChatLine out;
    out.style = *style;
    std::string name;
    if (const std::size_t colon = m.find(':'); colon != std::string_view::npos) {
        name = m.substr(0, colon + 1);
        m.remove_prefix(colon + 1);
    }
    out.items.push_back(ChatItem::word(out.style, name + ' '));

    for (std::size_t mark = m.find(kSmileyMark); mark != std::string_view::npos;
         mark = m.find(kSmileyMark)) {
        const std::string segment = std::string(m.substr(0, mark)) + ' ';
        m.remove_prefix(mark + kSmileyMark.size());
        const std::string_view code = m.substr(0, kSmileyCodeLength);
        m.remove_prefix(code.size());
        emitWords(segment, out.style, links, out.items);
        const std::optional<int> n = parseInt(code);
        const int image =
            n && *n >= kFirstSmileyCode && *n <= kLastSmileyCode ? *n - kFirstSmileyCode : 0;
        out.items.push_back(ChatItem::picture(image));
    }
    if (!m.empty()) emitWords(std::string(m) + ' ', out.style, links, out.items);
    return out;
}

} // namespace bg
