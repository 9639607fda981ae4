#pragma once
// The choice of a whole throw: the Strong ability's search.
//
// The standard bot picks each single move by a fixed list of preferences. The planner looks
// at every way the rules allow to play the dice (legalplays.h) and judges every final
// position: with contact by the contact network (contactnet.h), once contact is over by the
// race judgement (race.h: exact from the bear-off tables once both sides are home). After an
// Acey-Deucey 1-2 the best ending is followed through each of the six doubles and the moves
// of it, so the double is chosen by the same search.
//
// With look-ahead on (the default), the best few plays by that judgement are looked at once
// more: for each, over the 21 throws that may come next, the position after the opponent's
// best reply (or, after an Acey-Deucey double, after this player's own next throw) is judged,
// and the play whose average is best is taken. The look-ahead has a budget of time on the
// calling thread and looks at the candidates best first; when the budget is spent before
// every one is seen, the best average of those seen decides, or the judgement alone when
// fewer than two were. The budget holds to within a few positions judged: a reply being
// planned when it runs out stops where it is, and the candidate it belonged to is not counted.
// Races are looked at too: before both sides are home their judgement sees the next throw no
// better than a position with contact; once both are home the tables are exact and the
// look-ahead is left out.
//
// It reads a position and nothing else: the host's driver (strongbot.h) plays its plan, and
// any other caller may ask it about any position.

#include "contactnet.h"
#include "evaluation.h"
#include "legalplays.h"

#include <array>

namespace bg {

struct Plan {
    StepPath steps{};
    int count = 0;            // 0 when nothing can be played
    double score = -1;        // winning chances after the plan
    long positions = 0;       // positions looked at
    bool lookedAhead = false; // the score is the average after the next throw
};

// A judgement of final positions other than the shipped one: for training, and for comparing
// two judgements in one game. `player` is the one whose play is being chosen.
class PositionJudge {
  public:
    virtual ~PositionJudge() = default;
    virtual double judge(const Sketch& s, int player, bool acey) const = 0;
};

// Finds the best way to play the dice left to the player on turn.
class StrongPlanner {
  public:
    // Judges every final position by `judge` instead, when not null.
    void setJudge(const PositionJudge* judge) { m_judge = judge; }
    void setLookAhead(bool on) { m_lookAhead = on; }
    bool lookAhead() const { return m_lookAhead; }
    // The look-ahead's budget per throw, in milliseconds of this thread's CPU time.
    void setBudgetMs(double ms) { m_budgetMs = ms; }
    Plan plan(const Board& b);
    // The plan after an Acey-Deucey 1-2: the double to choose first, then its moves.
    Plan planDouble(const Board& b);
    // Throws whose look-ahead ran out of time before it saw every candidate.
    long fallbacks() const { return m_fallbacks; }
    // The winning chances of the player who made `end` (its currentplayer), judged as a plan
    // that looked ahead (or not) judges its own ending, so that a play the planner did not
    // choose can be set beside the one it did. `again`: an Acey-Deucey double was taken and
    // the same player throws next. Negative when the look-ahead ran out of time.
    double valueOf(const Board& end, bool again, bool lookedAhead);

    // Most plays of a throw looked at once more, and how far below the best by the judgement
    // alone one may be and still be looked at.
    static constexpr int kLookAheadPlays = 4;
    static constexpr double kLookAheadMargin = 0.08;

  private:
    struct Search;
    struct Ending;
    void refineDoubles(Search& s);
    Plan chooseDouble(Search& s, const Board& b, const StepPath& path, int count);
    void lookAheadOver(Search& s);
    double afterReplies(const Board& end, bool again, bool& inTime);
    double judge(const Sketch& sketch, int player, bool acey) const;
    bool timeUp();
    struct Timed;

    const PositionJudge* m_judge = nullptr;
    bool m_lookAhead = true;
    double m_budgetMs = 25;
    int m_depth = 0; // plans inside a plan (replies, doubles) keep no candidates
    long m_fallbacks = 0;
    double m_deadline = 0;
    // While the look-ahead runs, the plans inside it stop as soon as the budget is spent:
    // one reply (an Acey-Deucey 1-2 and its six doubles) may cost a good part of it.
    bool m_timed = false;
    bool m_outOfTime = false;
    unsigned m_tick = 0;
    PlayGenerator m_generator;
};

} // namespace bg
