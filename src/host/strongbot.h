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
    // For tuning and training: the weights and the network the planner judges by from now on
    // (null: contact positions by the hand-made weights).
    void setWeights(const Weights& weights);
    void setNet(const NetWeights* net);

  private:
    bool expects(const Board& b, PlannedStep::Kind kind) const;

    StrongPlanner m_planner;
    Plan m_plan;
    int m_next = 0;
    uint64_t m_expect = 0;
};

} // namespace bg
