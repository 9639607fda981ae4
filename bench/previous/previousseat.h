#pragma once
// The frozen previous strong bot as the planner of one seat of today's strong bot: the
// yardstick the benchmark and the developer programs play against.

#include "previous/planner.h"
#include "strongbot.h"

namespace bg {

class PreviousSeat : public StrongBot::SeatPlanner {
  public:
    Plan plan(const Board& b) override { return converted(m_planner.plan(b)); }
    Plan planDouble(const Board& b) override { return converted(m_planner.planDouble(b)); }

  private:
    static Plan converted(const previous::Plan& p) {
        Plan plan;
        plan.count = p.count;
        plan.score = p.score;
        plan.positions = p.positions;
        for (int i = 0; i < p.count; ++i)
            plan.steps[i] = {PlannedStep::Kind(int(p.steps[i].kind)), p.steps[i].piece,
                             p.steps[i].value};
        return plan;
    }
    previous::StrongPlanner m_planner;
};

} // namespace bg
