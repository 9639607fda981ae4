#pragma once
// What a screen reader says for each control of the board, following the position: the names
// a blind player (or an outside tool on the accessibility bus) finds the controls by.
// Player 1 plays the white checkers, player 2 the black ones.

#include "clientstate.h"

#include <string>

namespace bg {

inline constexpr const char* kCupName = "Throw the dice";
inline constexpr const char* kDirectionName = "Ready to roll for the first move";
inline constexpr const char* kConcedeName = "Concede the game";

// "White checker on point 13", "Black checker on the bar", "White checker borne off", ...
std::string checkerName(const ClientState& s, int player, int piece);
std::string moveTargetName(int point);   // "Move to point 8"
std::string bearOffName(int die);        // "Bear off with 5"
std::string dieName(int value);          // "Die: 4", "Die used"
std::string doubleChoiceName(int value); // "Double 1"

} // namespace bg
