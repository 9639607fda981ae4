#pragma once
// How good a position is for the player who just moved, with the opponent to throw next:
// the strong bot's judgement (strongbot.h).
//
// It judges a Sketch (sketch.h), so one evaluation serves both players.
//
// Once contact is over, the race decides: pips, plus what a crowded low point or gaps on the
// high ones waste, turned into winning chances. With contact the strong bot asks its trained
// network (positionnet.h), which takes some of its inputs from here; the hand-made judgement
// below remains for comparison: the pip lead adjusted by what the position is worth: the
// opponent's shots at our lone pieces (counted over all 36 throws, with the points
// they must land on), the points we hold, the longest row of them in front of opposing
// pieces, anchors in the opponent's home board, our home board (worth more with opposing
// pieces on the bar), pieces on the bar, stuck far back or piled deep, and borne off. Both
// sides are scored alike and the difference counts.

#include "sketch.h"

#include <array>
#include <cstdint>

namespace bg {

// Tunable weights, in pips. The defaults are the result of self-play against the host's
// standard bot (bench/strong_bot_bench.cpp).
struct Weights {
    double hitBase = 12.0;      // being hit, beyond the pips lost
    double hitPerPip = 1.0;     // per pip the hit piece had already travelled
    double oppBoardHit = 0.075; // a hit costs more against each point of the opponent's board
    double looseBlot = 1.0;     // a lone piece, shot or not
    double targetBlot = 1.5;    // an opposing lone piece within our direct reach
    double point = 5.0;         // a held point in front of opposing pieces
    double homePoint = 3.0;     // a held point of the home board, more with pieces on the bar
    double anchor = 0.5;        // a held point in the opponent's home board
    double primeStep = 2.5;     // the prime bonus grows with the square of its length
    double bar = 10.0;          // a piece on the bar
    double off = 1.0;           // a piece borne off while there is contact
    double stack = 1.0;         // each piece beyond three on one point
    double raceLeft = 0.0;      // in the race, each piece not yet borne off
    double deep = 2.0;          // a piece on the 1-, 2- or 3-point while there is contact
    double back = 3.0;          // a piece still in the opponent's home board or on the bar
    double backAhead = 0.3;     // the same, per pip we lead: ahead, it is time to come home
    double homeBoard = 8.0;     // the home board's strength, pieces on the bar or not
    double combination = 0.35;  // a hit that needs both dice, against one with a single die
};

// Winning chances (0..1) of the player judged.
double evaluate(const Sketch& s, const Weights& w = Weights{});

// Whether a piece of either side still has to pass one of the other's.
bool hasContact(const Sketch& s);
// Winning chances once contact is over, from the pip counts.
double raceChance(const Sketch& s, const Weights& w = Weights{});
// The pips `side` still has to go, with what its gaps and stacks at home will waste.
double raceCountOf(const Sketch& s, int side);

// The share of the 36 throws with which side 1 hits a lone piece of side 0.
int shotsAt(const Sketch& s);
// Those throws, and what the hits cost side 0 on average in pips (by the default weights).
struct Shots {
    int throws = 0;
    double loss = 0;
};
Shots shotsOf(const Sketch& s);
// The longest row of points `side` holds in front of the other side's last piece.
int primeOf(const Sketch& s, int side);
// The points `side` holds in its home board.
int homeBoardOf(const Sketch& s, int side);

} // namespace bg
