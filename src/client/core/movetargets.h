#pragma once
// Where a clicked checker may go, worked out from the client's own copy of the position.
//
// These are hints for the player: the host checks every move again. For each die that is not
// used, the checker may move to the point that die reaches when that point is empty, holds
// the player's own checkers, or holds a single opposing checker (a hit); two or more opposing
// checkers block it. With every checker of the player home (or borne off), a die at least as
// high as the checker's distance to the edge offers bearing it off. A die that would carry the
// checker off the board offers no move: bearing off has its own targets.

#include "board.h"
#include "clientstate.h"

#include <array>

namespace bg {

struct MoveTarget {
    bool shown = false;
    int point = 0; // the target point, 1..24
    bool blocked = false;
};

struct BearOffTarget {
    bool shown = false;
    int die = 0; // the die value it uses
};

struct CheckerTargets {
    std::array<MoveTarget, 3> move{};    // [1], [2]: with die 1, die 2
    std::array<BearOffTarget, 3> home{}; // [1], [2]
    // Both dice lead onto blocked points: "Unable to move that chip."
    bool bothBlocked() const { return move[1].blocked && move[2].blocked; }
};

// Whether every checker of `player` is in its home board or borne off. A checker of player 1
// waiting at point 0 counts as home, one of player 2 at point 25 does not.
bool allHome(const ClientState& s, int player);

// The targets of checker `piece` of `player` with the client's current dice. Asks nothing
// about whose turn it is; the caller decides whether a selection counts.
CheckerTargets targetsFor(const ClientState& s, int player, int piece);

} // namespace bg
