#pragma once
// The strong bot's judgement of a normal game's race before both sides are home: a network of
// the contact network's layout (contactnet.h: its inputs describe a race as well, the contact
// features simply stand at zero), fitted to how races of the bot's own games turned out when
// played out to the end, both sides home deciding exactly (tools/lesson_make --race,
// tools/lesson_fit --race write the weights into raceweights.cpp).
//
// A formula of the race counts judged every play of a race the same whenever the counts came
// out the same; the network sees where the pieces stand: a piece left far outside, a point
// piled up, a gap that a six will waste.

#include "contactnet.h"

namespace bg {

using RaceNet = ContactNet;
// Ties generated weights to this layout.
inline constexpr uint32_t kRaceLayout = kContactLayout;

// The weights the program ships with (raceweights.cpp).
const RaceNet& shippedRaceNet();

} // namespace bg
