#include "gamenotice.h"

#include <cstdint>

namespace bg::discovery {

namespace {

constexpr std::string_view kNameKey = "name=";
constexpr std::string_view kGameKey = "game=";
constexpr std::string_view kSeatsKey = "seats=";
constexpr std::string_view kBackgammonWord = "backgammon";
constexpr std::string_view kAceyWord = "acey";

// The length of the UTF-8 sequence starting at text[i] and its code point, or 0 when the bytes
// there are no valid sequence (overlong forms and surrogates included).
std::size_t utf8Sequence(std::string_view text, std::size_t i, char32_t& code) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        code = lead;
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

// Characters that would move, hide or reorder what is around them in a list.
bool invisibleOrControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c < 0xA0) || c == 0xAD || (c >= 0x200B && c <= 0x200F) ||
           (c >= 0x2028 && c <= 0x202E) || (c >= 0x2060 && c <= 0x206F) || c == 0xFEFF ||
           (c >= 0xFFF9 && c <= 0xFFFB);
}

std::optional<std::string_view> valueOf(const std::vector<std::string>& strings,
                                        std::string_view key) {
    for (const std::string& s : strings)
        if (s.size() >= key.size() && std::string_view(s).substr(0, key.size()) == key)
            return std::string_view(s).substr(key.size());
    return std::nullopt;
}

} // namespace

std::string plainText(std::string_view untrusted, std::size_t maxBytes) {
    std::string out;
    for (std::size_t i = 0; i < untrusted.size();) {
        char32_t code = 0;
        const std::size_t length = utf8Sequence(untrusted, i, code);
        if (length == 0) {
            ++i;
            continue;
        }
        if (!invisibleOrControl(code)) {
            if (out.size() + length > maxBytes) break;
            out.append(untrusted.substr(i, length));
        }
        i += length;
    }
    // Spaces at either end only push the text about.
    const auto first = out.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return out.substr(first, out.find_last_not_of(' ') - first + 1);
}

std::string_view gameTypeName(GameType type) {
    return type == GameType::AceyDeucey ? "Acey-Deucey" : "Backgammon";
}

std::vector<std::string> textRecord(const GameNotice& notice) {
    return {std::string(kNameKey) + plainText(notice.hostName),
            std::string(kGameKey) +
                std::string(notice.type == GameType::AceyDeucey ? kAceyWord : kBackgammonWord),
            std::string(kSeatsKey) + std::to_string(notice.seatsTaken)};
}

std::optional<GameNotice> readTextRecord(const std::vector<std::string>& strings) {
    const auto name = valueOf(strings, kNameKey);
    const auto game = valueOf(strings, kGameKey);
    const auto seats = valueOf(strings, kSeatsKey);
    if (!name || !game || !seats) return std::nullopt;
    GameNotice notice;
    notice.hostName = plainText(*name);
    if (*game == kAceyWord)
        notice.type = GameType::AceyDeucey;
    else if (*game == kBackgammonWord)
        notice.type = GameType::Backgammon;
    else
        return std::nullopt;
    if (seats->empty() || seats->size() > 1 || (*seats)[0] < '0' || (*seats)[0] > '9')
        return std::nullopt;
    notice.seatsTaken = (*seats)[0] - '0';
    return notice;
}

} // namespace bg::discovery
