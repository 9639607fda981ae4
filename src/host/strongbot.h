#pragma once
// The host's "Strong" ability: plays, through the host's own handlers, the plan the analysis
// engine's planner (planner.h) makes for the whole throw.
//
// Each host owns one StrongBot (TServer::strongBot()), made when the ability first acts. It
// plays the best plan one move per firing of the bot timer, like any other ability; the plan
// is kept between firings as long as the position is the one its next step expects, and made
// afresh otherwise. Two hosts in one process never share a plan.

#include "planner.h"

#include <cstdint>

namespace bg {

class TServer;

class StrongBot {
  public:
    // One step for the player on turn: the next move of the plan, through the host's
    // handlers. False when the plan has nothing to play or the host refused it (the caller
    // falls back).
    bool move(TServer& host);
    // The double to take after an Acey-Deucey 1-2.
    int chooseDouble(const Board& b);

    // The planner of the seats without a planner of their own.
    StrongPlanner& planner() { return m_planner; }
    // Plans for `seat` in place of the planner: a yardstick to play against (not owned;
    // null: the planner again).
    class SeatPlanner {
      public:
        virtual ~SeatPlanner() = default;
        virtual Plan plan(const Board& b) = 0;
        virtual Plan planDouble(const Board& b) = 0;
    };
    void setSeatPlanner(int seat, SeatPlanner* planner);
    // Planned steps the host refused: each one would be a plan outside the host's rules.
    long refusals() const { return m_refusals; }

    StrongBot();

  private:
    bool expects(const Board& b, PlannedStep::Kind kind) const;
    Plan planFor(const Board& b, bool afterOneTwo);

    StrongPlanner m_planner;
    SeatPlanner* m_seatPlanner[3] = {};
    long m_refusals = 0;
    Plan m_plan;
    int m_next = 0;
    uint64_t m_expect = 0;
};

} // namespace bg
