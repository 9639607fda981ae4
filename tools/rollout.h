#pragma once
// Games played out to their end from a position, both sides playing by one planner: how the
// developer programs weigh a play or a position by how it turns out rather than by a judgement.

#include "bearofftable.h"
#include "moverules.h"
#include "playjudge.h"

#include <random>

namespace bg::training {

inline constexpr int kMaxRolloutTurns = 1000;

// `b` once its player has played the thrown dice by `planner` (as it stands when nothing can
// be played); `again` when the play took an Acey-Deucey double, so the same player throws next.
inline Board playedBy(StrongPlanner& planner, const Board& b, bool& again) {
    again = false;
    Board probe = b;
    if (sequelOf(probe, nullptr) != Sequel::MoreMoves) return b;
    const Plan plan = planner.plan(b);
    again = takesDouble(plan);
    return playedOut(b, plan);
}

// 1 when `me`, who just made `end` (the opponent throws next), wins the game played out from
// there with `dice`, else 0. With `exactHome`, a race in which both sides are home is not
// played out: its exact chances are the answer. An Acey-Deucey 1-2 brings its double and
// another throw of the same player, as at the table. With a `horizon`, the game stops after
// that many throws and the planner's judgement of the position it reached is the answer: far
// less noise from the dice of a long game, at the price of trusting the judgement there.
inline double rollOut(Board b, int me, std::mt19937& dice, StrongPlanner& planner,
                      bool exactHome = false, int horizon = kMaxRolloutTurns) {
    b.currentplayer = opponentOf(me);
    int last = me; // who made the position; after a double the same player throws again
    for (int turn = 0; turn < kMaxRolloutTurns; ++turn) {
        const int p = b.currentplayer;
        const bool settled = p != last; // no double of `last` still to be followed
        if (settled && turn >= horizon) {
            Board end = b;
            end.currentplayer = last;
            const double chance = planner.valueOf(end, false, false);
            return last == me ? chance : 1 - chance;
        }
        if (settled && exactHome) {
            const Sketch s = sketchOf(b, last);
            if (!hasContact(s) && bothHome(s)) {
                const double chance = bearOffChance(s, b.acey);
                return last == me ? chance : 1 - chance;
            }
        }
        const int x = 1 + int(dice() % kDieSides), y = 1 + int(dice() % kDieSides);
        b.giveThrow(x, y);
        bool again = false;
        b = playedBy(planner, b, again);
        if (b.side[p].homecount >= kPieces) return p == me ? 1 : 0;
        b.aceypending = false;
        last = p;
        b.currentplayer = again ? p : opponentOf(p);
    }
    return 0;
}

} // namespace bg::training
