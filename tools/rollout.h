#pragma once
// Games played out to their end from a position, both sides playing by one planner: how the
// developer programs weigh a play or a position by how it turns out rather than by a judgement.

#include "bearofftable.h"
#include "moverules.h"
#include "playjudge.h"

#include <random>

namespace bg::training {

inline constexpr int kMaxRolloutTurns = 1000;

// 1 when `me`, who just made `end` (the opponent throws next), wins the game played out from
// there with `dice`, else 0. With `exactHome`, a race in which both sides are home is not
// played out: its exact chances are the answer. An Acey-Deucey 1-2 brings its double and
// another throw of the same player, as at the table.
inline double rollOut(Board b, int me, std::mt19937& dice, StrongPlanner& planner,
                      bool exactHome = false) {
    b.currentplayer = opponentOf(me);
    for (int turn = 0; turn < kMaxRolloutTurns; ++turn) {
        const int p = b.currentplayer;
        if (exactHome) {
            const int last = opponentOf(p);
            const Sketch s = sketchOf(b, last);
            if (!hasContact(s) && bothHome(s)) {
                const double chance = bearOffChance(s, b.acey);
                return last == me ? chance : 1 - chance;
            }
        }
        const int x = 1 + int(dice() % kDieSides), y = 1 + int(dice() % kDieSides);
        b.dice = {x, y, x == y ? x : 0, x == y ? y : 0};
        b.aceypending = b.acey && x + y == 3;
        bool again = false;
        Board probe = b;
        if (sequelOf(probe, nullptr) == Sequel::MoreMoves) {
            const Plan plan = planner.plan(b);
            again = takesDouble(plan);
            b = playedOut(b, plan);
        }
        if (b.side[p].homecount >= kPieces) return p == me ? 1 : 0;
        b.aceypending = false;
        b.currentplayer = again ? p : opponentOf(p);
    }
    return 0;
}

} // namespace bg::training
