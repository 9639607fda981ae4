#pragma once
// The position as the analysis sees it: how many pieces each side has at each distance from
// its home, with the bar and the Acey-Deucey start pile both at the full distance 25. Piece
// ids, levels and the numbering of points drop out, so positions that differ only in which
// piece stands where look the same, and one judgement serves both players.

#include "board.h"

#include <array>
#include <cstdint>

namespace bg {

inline constexpr int kFullDistance = 25; // the bar and the start pile

struct Sketch {
    // n[s][d]: pieces of side s (0 = the player judged, 1 = the opponent) at home distance d
    // (1..24), and at 25 on the bar or the start pile. Index 0 is unused.
    std::array<std::array<int8_t, kFullDistance + 1>, 2> n{};
    std::array<int8_t, 2> bar{}; // how many of n[s][25] are on the bar
    std::array<int8_t, 2> off{};
    friend bool operator==(const Sketch&, const Sketch&) = default;
};

// The position seen from `player` (empty for anybody but player 1 or 2).
Sketch sketchOf(const Board& b, int player);

// The same position seen from the other side.
Sketch flipped(const Sketch& s);

} // namespace bg
