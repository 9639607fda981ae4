#pragma once
// The strong bot's judgement of races, positions where no piece can meet another: exact from
// the bear-off tables (bearofftable.h) once both sides are home, and before that from the race
// network (racenet.h). Seen, like every judgement, by the player who just moved.

#include "evaluation.h"

namespace bg {

double raceValue(const Sketch& s, bool acey);

// The race counts of both sides (evaluation.h) turned into chances by constants fitted to the
// bot's own races: one of the race network's inputs, and its starting point in training.
double raceFormula(const Sketch& s, bool acey);

// The tables take most of a second each to compute. A program that must not stall starts
// them early on a thread of their own; a race judged before they are ready waits for them.
// Without this call the first race that needs a table computes it on the spot.
void prepareRaceTables();
// Waits until the tables started by prepareRaceTables are ready.
void waitForRaceTables();

} // namespace bg
