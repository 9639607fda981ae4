#pragma once
// Whether a player name can go through the host's log-in. The host takes everything after the
// log-in request's second "+" as the name, unchecked, so what limits a name is the line that
// carries it: it cannot hold the terminator byte, a line break or other control byte ends up
// inside other players' chat lines and seat labels, and the whole request must fit what the
// host keeps of an unfinished line. An empty name would leave the seat looking free ("<Waiting>"
// or the bot's name), so the dialogs that start a game ask for one.

#include <string_view>

namespace bg {

// The longest name the dialogs take; far below what the host could hold.
inline constexpr int kMaxPlayerNameChars = 40;

// Why `name` (as sent: UTF-8) cannot log in, or empty when it can.
std::string_view loginNameProblem(std::string_view name);

} // namespace bg
