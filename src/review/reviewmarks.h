#pragma once
// The marks a review puts on a costly play and the name it gives a player's whole game.
//
// A loss is counted in percent of winning chances, the one thing this game scores. The bands
// are the ones players rate each other by, an error rate per decision in thousandths of
// equity; here a game is only won or lost, so equity is 2p - 1 and a thousandth of equity is
// a twentieth of a percent of winning chances.

#include <string_view>

namespace bg::review {

// A play that gave away more than this many percent of winning chances earns its mark.
inline constexpr double kDubiousOver = 2.0; // "?!"
inline constexpr double kMistakeOver = 4.0; // "?"
inline constexpr double kBlunderOver = 8.0; // "??"

// "", "?!", "?" or "??".
std::string_view markFor(double lossPercent);
bool isBlunder(double lossPercent);

inline constexpr double kPercentPerMillipoint = 0.05; // (2p - 1) / 1000 as a share of p, in %

// Upper limits of the bands in thousandths of equity lost per decision; a rate at a limit
// falls in the band below it.
inline constexpr double kWorldClassBelow = 5;
inline constexpr double kExpertBelow = 8;
inline constexpr double kAdvancedBelow = 12;
inline constexpr double kIntermediateBelow = 18;
inline constexpr double kCasualBelow = 26;
inline constexpr double kBeginnerBelow = 35;

// "World class", "Expert", "Advanced", "Intermediate", "Casual", "Beginner" or "Awful" for an
// average loss per decision in percent of winning chances.
std::string_view bandFor(double averageLossPercent);

} // namespace bg::review
