#pragma once
// The numbers with a meaning that host and client exchange, named once for both.

namespace bg {

// CMD_error: why a move or bear-off request was refused.
inline constexpr int kErrorInvalidMove = 1;
inline constexpr int kErrorNotAllHome = 2;
inline constexpr int kErrorNotIntoHome = 3;
inline constexpr int kErrorOffTheBarFirst = 4;
inline constexpr int kErrorExactFirst = 5;
inline constexpr int kErrorHighestFirst = 6;

// CMD_thetime: the turn clock's news.
inline constexpr int kTimeWarning = 1; // fifteen seconds left
inline constexpr int kTimeUp = 2;      // the bot plays the rest of the turn

} // namespace bg
