#pragma once
// What the chat sends: a typed line, a phrase button's phrase, a chatter sound. Each function
// gives the message to send (without its terminator), or nothing when nothing goes out.
//
// A typed line goes out whole as a chat line; one that starts with "/me" is an action with its
// first four characters dropped, whatever the fourth is; any other "/" line sends nothing. A
// phrase is an action "says: <phrase>", or, starting with "/me ", an action of the rest.

#include <optional>
#include <string>
#include <string_view>

namespace bg {

inline constexpr std::string_view kChatPrompt = "<Enter Chat Here>";

std::optional<std::string> typedLineMessage(int myplayer, std::string_view text,
                                            std::string_view colourText);
std::string phraseMessage(int myplayer, std::string_view phrase, std::string_view colourText);
// Chatter sound `tag` (0 is "<Cancel>"): only a logged-in seat player sends.
std::optional<std::string> chatterMessage(bool loggedin, bool seatPlayer, int myplayer, int tag);

} // namespace bg
