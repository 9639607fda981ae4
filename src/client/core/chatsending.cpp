#include "chatsending.h"

#include "chattersounds.h"
#include "protocol.h"

namespace bg {

namespace {
constexpr std::string_view kMe = "/me";
constexpr std::string_view kMeBlank = "/me ";
constexpr std::size_t kMeDropped = 4;
constexpr std::string_view kSays = "says: ";
} // namespace

std::optional<std::string> typedLineMessage(int myplayer, std::string_view text,
                                            std::string_view colourText) {
    if (text.empty()) return std::nullopt;
    if (text.front() != '/') return msg::chat(myplayer, text, colourText);
    if (text.substr(0, kMe.size()) != kMe) return std::nullopt;
    const std::string_view rest = text.size() > kMeDropped ? text.substr(kMeDropped) : "";
    return msg::action(myplayer, rest, colourText);
}

std::string phraseMessage(int myplayer, std::string_view phrase, std::string_view colourText) {
    if (phrase.substr(0, kMeBlank.size()) == kMeBlank)
        return msg::action(myplayer, phrase.substr(kMeBlank.size()), colourText);
    return msg::action(myplayer, std::string(kSays) + std::string(phrase), colourText);
}

std::optional<std::string> chatterMessage(bool loggedin, bool seatPlayer, int myplayer, int tag) {
    if (tag < 1 || tag > kChatterSounds || !loggedin || !seatPlayer) return std::nullopt;
    return msg::playasound(myplayer, tag);
}

} // namespace bg
