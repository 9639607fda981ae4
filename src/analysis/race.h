#pragma once
// The strong bot's judgement of races, positions where no piece can meet another: exact from
// the bear-off tables (bearofftable.h) once both sides are home, and before that by the race
// network (racenet.h) in a normal game, by a formula of the race counts (evaluation.h) in
// Acey-Deucey. Seen, like every judgement, by the player who just moved.

#include "evaluation.h"

namespace bg {

double raceValue(const Sketch& s, bool acey);

// The tables take most of a second each to compute. A program that must not stall starts
// them early on a thread of their own; a race judged before they are ready waits for them.
// Without this call the first race that needs a table computes it on the spot.
void prepareRaceTables();
// Waits until the tables started by prepareRaceTables are ready.
void waitForRaceTables();

} // namespace bg
