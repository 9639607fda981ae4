#pragma once
// Plays written as players write them: points 24 to 1 seen from the mover's side, "bar" for
// a checker entering from the bar, "pile" for an Acey-Deucey checker entering from its start
// pile, "off" for one borne off, and "*" after a point where a checker was hit.
//
// The move list joins the steps of one checker ("24/18 18/13" is "24/13", a hit on the way
// stays in view: "24/18*/13") and counts repeats ("13/7(2)"); the match file writes one step
// per die, which is what the reader expects back.

#include "gamerecord.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace bg::rec {

// A board point as the mover numbers it: 24 where the mover starts, 1 next to its home.
int moverPoint(int mover, int boardPoint);
int boardPoint(int mover, int moverPoint);

// "13/8", "13/8*", "bar/22", "pile/23", "6/off".
std::string stepText(int mover, const Step& step);
// One step per die, joined by spaces.
std::string stepsText(int mover, std::span<const Step> steps);
// The steps with each checker's steps joined and repeats counted.
std::string joinedText(int mover, std::span<const Step> steps);
// "31": the higher die first.
std::string throwText(int die1, int die2);
// A whole turn: "31: 8/5 6/5", an Acey-Deucey choice as "21: 24/23 24/22 [66] 8/2 8/2 8/2 8/2"
// (file) or "21: 24/23 24/22, chose 66: 8/2(4)" (joined); a turn without a move is "31:" in
// the file and "31: no move" joined.
std::string turnText(const Turn& turn, bool joined);

// The move list: a line per turn ("3. Alice 64: 24/18 13/9"), a first line when the record
// starts in the middle of a game, and the result once the game is over.
std::vector<std::string> moveList(const GameRecord& record);
std::string resultText(const GameRecord& record);
inline constexpr const char* kJoinedLine = "Joined during the game: the record starts here";

// Reads one play token of `mover` ("13/8*", "24/18/13", "6/5(2)", "bar/20", "25/20", "6/0")
// into steps. Returns what is wrong, or an empty text.
std::string parseSteps(std::string_view token, int mover, std::vector<Step>& out);
// Reads "31:" into two dice; false when it is not a throw.
bool parseThrow(std::string_view token, int& die1, int& die2);

} // namespace bg::rec
