#pragma once
// Exact bear-offs: for every way of having up to fifteen pieces on one side's six home points
// (54,264 of them), the distribution of the number of turns that side needs to bear them all
// off, playing each throw so as to need the fewest turns on average, under this program's
// rules of bearing off (a die bears off a piece from its own point; a higher die, when no
// piece stands there, only the farthest one back; moving inside the home board is allowed
// too). Acey-Deucey has its own table: its 1-2 brings a double of the player's choice and
// another throw in the same turn.
//
// When both sides are home and no piece can meet another, the race is decided exactly from
// the two distributions. Each table is computed on first use and then kept (bearOffTable()).

#include "evaluation.h"

#include <array>
#include <cstdint>
#include <vector>

namespace bg {

class BearOffTable {
  public:
    static constexpr int kHomePoints = 6;
    static constexpr int kPositions = 54264;
    static constexpr int kMaxTurns = 24; // fifteen pieces on the 6-point need 23 at worst

    using Home = std::array<int, kHomePoints + 1>; // pieces at distances 1..6 (0 unused)

    explicit BearOffTable(bool acey);

    static int indexOf(const Home& home);
    // Every position one die of `value` can leave (for checking against the move rules).
    static std::vector<Home> stepsOf(const Home& home, int value);
    static Home homeOf(int index);
    // The chance that bearing off from `index` takes exactly `turns` turns.
    float probability(int index, int turns) const { return m_dist[index * kMaxTurns + turns]; }
    float meanTurns(int index) const { return m_mean[index]; }
    const float* distribution(int index) const { return &m_dist[index * kMaxTurns]; }

  private:
    struct Partial;
    void solve(int index, Partial& partial);

    bool m_acey;
    std::vector<float> m_dist; // kPositions rows of kMaxTurns
    std::vector<float> m_mean;
    std::vector<int32_t> m_bestDouble; // the best position a double of any value leaves
};

// The table for the game kind, computed on first use.
const BearOffTable& bearOffTable(bool acey);
// Tells the tables still being computed to give up, for a program that ends before they are
// ready: it need not wait for tables nobody will read. A table given up on is left
// incomplete, so this is only for the way out.
void abandonBearOffTables();

// Whether both sides have every piece not yet borne off on their own six home points.
bool bothHome(const Sketch& s);
// With both sides home: the exact winning chances of side 0, side 1 throwing next.
double bearOffChance(const Sketch& s, bool acey);

} // namespace bg
