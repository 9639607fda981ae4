#pragma once
// The rules of one move and one bear-off, apart from who asked and who is told.
//
// The host's handlers (moveit, placehome) check a request here, then announce what happened;
// the analysis engine tries the very same checks on copies of the position to find every way
// to play a throw (legalplays.h). So there is one rule book, and a plan the Strong ability
// makes is a plan the host takes.
//
// checkMove/checkBearOff read the position and say whether the step is allowed (error 0) or
// which error code refuses it, and which piece, point, level and die it would use;
// applyMove/applyBearOff carry out a step that passed its check. Neither touches seats,
// undo records or connections: those stay with the host.

#include "board.h"
#include "codes.h"

namespace bg {

struct MoveCheck {
    int error = 0;        // 0 = allowed
    bool blocked = false; // refused only because two opposing pieces hold the target
    int piece = 0;        // the piece that actually moves (the top of its stack)
    int from = 0;         // its point, or the entry side for a piece on the bar
    int fromLevel = 0;    // 0 for a piece on the bar
    bool fromBar = false;
    int slot = 0;      // die index used
    int dieValue = 0;  // its value before it is consumed
    int occupants = 0; // opposing pieces on the target (1 = a hit)
};

struct MoveOutcome {
    int toLevel = 0;
    int hitPiece = 0;
    int hitLevel = 0;
    int barSlot = 0;
};

// Moving `piece` of `seat` to point `to`. The host ignores requests for an unknown piece
// without an answer; that case reports kErrorInvalidMove with piece 0.
MoveCheck checkMove(const Board& b, int seat, int piece, int to);
MoveOutcome applyMove(Board& b, int seat, const MoveCheck& c, int to);

struct BearOffCheck {
    int error = 0;
    int piece = 0;
    int from = 0;
    int fromLevel = 0;
    int slot = 0;
};

// Bearing `piece` of `seat` off with the die showing `value`.
BearOffCheck checkBearOff(const Board& b, int seat, int piece, int value);
void applyBearOff(Board& b, int seat, const BearOffCheck& c);

// What follows a step: the Acey-Deucey doubles choice, more moves, or the end of the turn.
// Asking may tell `listener` that a piece on the bar cannot enter.
enum class Sequel { ChooseDouble, MoreMoves, TurnOver };
Sequel sequelOf(Board& b, BoardListener* listener);

} // namespace bg
