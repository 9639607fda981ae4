#pragma once
// The strong bot's judgement of races before both sides are home: a small network of
// sparsenet.h's shape, trained by temporal-difference learning in races of this program's
// own games, whose lessons end where the exact bear-off tables take over
// (tools/race_train.cpp writes raceweights.cpp).
//
// It reads a Sketch without contact as the player who just moved, the opponent to throw, and
// answers that player's winning chances. The inputs, for each side: the pieces at each home
// distance as four units (as the contact network has them), the pieces borne off, the pip
// count, the pips still to bring home, and, once the side is home, the mean number of turns
// its bear-off takes by the table; and whether the game is Acey-Deucey.

#include "sketch.h"
#include "sparsenet.h"

namespace bg {

inline constexpr int kRaceUnitsPerPoint = 4;
inline constexpr int kRaceSideInputs = kLastPoint * kRaceUnitsPerPoint + 4;
inline constexpr int kRaceInputs = 2 * kRaceSideInputs + 1;
inline constexpr int kRaceHidden = 40;
using RaceNet = SparseNet<kRaceInputs, kRaceHidden>;
using RaceInputs = SparseInputs<kRaceInputs>;
inline constexpr int kRaceWeightCount = RaceNet::kWeightCount;
inline constexpr uint32_t kRaceLayout = sparseLayout(kRaceInputs, kRaceHidden);

RaceInputs raceInputsOf(const Sketch& s, bool acey);
double raceNetValue(const RaceNet& net, const Sketch& s, bool acey);

// The weights the program ships with (raceweights.cpp).
const RaceNet& shippedRaceNet();

} // namespace bg
