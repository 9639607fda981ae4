#pragma once
// The strong bot's judgement of races before both sides are home: a small network of
// sparsenet.h's shape, trained by temporal-difference learning in the races of its own games
// (tools/race_train.cpp writes the weights into raceweights.cpp). Once both sides are home the
// bear-off tables answer exactly, and those exact answers end every lesson it learns from.
//
// A count of pips with a few corrections for stacks and gaps ranks two ways of bringing pieces
// home by one number and cannot see how a distribution bears off; the network sees every
// point. It reads a Sketch as the player who just moved, with the opponent to throw, and
// answers that player's winning chances. The inputs, for each side: the pieces at each home
// distance as four units (as the contact network's), the pieces borne off, the pip count and
// the race count (evaluation.h); then the fitted race formula's judgement of the whole race
// as one input, and whether the game is Acey-Deucey, whose 1-2 makes races less sure.

#include "sketch.h"
#include "sparsenet.h"

#include <cstdint>

namespace bg {

inline constexpr int kRaceUnitsPerPoint = kPointUnits;
inline constexpr int kRaceSideInputs = kFullDistance * kRaceUnitsPerPoint + 3;
inline constexpr int kRaceInputs = 2 * kRaceSideInputs + 2; // the formula, and Acey-Deucey
inline constexpr int kRaceHidden = 32;
using RaceNet = SparseNet<kRaceInputs, kRaceHidden>;
using RaceInputs = SparseInputs<kRaceInputs>;
// Ties generated weights to this layout: changes with any of the sizes above.
inline constexpr uint32_t kRaceLayout = sparseLayout(kRaceInputs, kRaceHidden);

RaceInputs raceInputsOf(const Sketch& s, bool acey);
double raceNetValue(const RaceNet& net, const Sketch& s, bool acey);

// The weights the program ships with (raceweights.cpp).
const RaceNet& shippedRaceNet();

} // namespace bg
