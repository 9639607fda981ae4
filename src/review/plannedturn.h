#pragma once
// A plan of the analysis engine as a turn of a game record: the steps the pieces take, in the
// record's own terms (points, bar, start pile, off, hits), so that a hint and a review write
// the engine's play in the notation the move list uses ("13/9 24/23").

#include "gamerecord.h"
#include "planner.h"

#include <string>

namespace bg::review {

// `b`: the position the plan was made for, with the mover on turn and the throw in hand.
rec::Turn turnOfPlan(const Board& b, const Plan& plan);
// The play of a turn without its throw: "13/9 24/23", "24/23 24/22, chose 66: 8/2(4)",
// "no move".
std::string playText(const rec::Turn& turn);
// The chat's line for a hint: "Hint: 13/9 24/23".
std::string hintLine(const rec::Turn& turn);

} // namespace bg::review
