#pragma once
// How much a play gave away: the planner's preferred play of a throw set beside the play that
// was made, both judged at the same depth.
//
// A hint and a review must agree with the engine, and a loss must mean something: the play
// the planner chooses has a loss of exactly zero, and no play has a negative one. So the
// planner looks ahead with no time limit (a busy machine never makes it judge more shallowly),
// and the play made is judged the way the preferred one was: after the next throw when the
// plan looked ahead, by the judgement alone when it did not (a race, a single candidate). When
// the play made comes out at least as well, it is the preferred play.
//
// One PlayJudge per thread: the planner inside it keeps scratch state. The weights and tables
// it reads are shared.
//
//   PlayJudge judge;
//   Plan hint = judge.preferred(board);               // board: dice thrown, player on turn
//   PlayVerdict v = judge.judge(board, after, again); // after: the position the play left

#include "planner.h"

namespace bg {

struct PlayVerdict {
    Plan best;              // the planner's play (the one made is preferred when playedIsBest)
    double bestValue = 0;   // the mover's winning chances after the preferred play
    double playedValue = 0; // ... after the play made
    bool choice = false;    // the throw could be played more than one way: a decision
    bool playedIsBest = false;
    double loss() const { return bestValue - playedValue; }
};

class PlayJudge {
  public:
    PlayJudge();
    // The play the engine prefers for the dice the player on turn holds (after an Acey-Deucey
    // 1-2 and its 1 and 2, the double and its moves).
    Plan preferred(const Board& b);
    // `before`: the position with the throw, the mover on turn; `after`: the position the mover
    // left; `again`: the mover took an Acey-Deucey double and throws next.
    PlayVerdict judge(const Board& before, const Board& after, bool again);

    // Long enough never to end a look-ahead: the depth must not depend on the machine's load.
    static constexpr double kNoTimeLimitMs = 1e12;

  private:
    StrongPlanner m_planner;
    PlayGenerator m_generator;
};

// The position `plan` leads to from `b` (the steps the rules refuse are left out).
Board playedOut(const Board& b, const Plan& plan);
// Whether `plan` takes an Acey-Deucey double: the same player then throws again.
bool takesDouble(const Plan& plan);

} // namespace bg
