#pragma once
// Temporal-difference learning, TD(lambda), for the strong bot's network (positionnet.h).
//
// The learner follows one side through a game: after each of its turns it is shown the
// position that side left. The value of the previous such position moves towards the value
// of the new one, and through the eligibility traces each earlier one a little less. A
// position without contact is not learned: the race formula judges it, and its value is the
// last lesson of the game; so is the result, when a game ends without a race.

#include "positionnet.h"

#include <vector>

namespace bg {

class TdLearner {
  public:
    TdLearner(NetWeights& net, double alpha, double lambda)
        : m_net(net), m_alpha(alpha), m_lambda(lambda) {}

    void startGame();
    // The position the learning side left at the end of its turn.
    void observe(const Sketch& s);
    // The value the last position turned out to have: 1 for a win, 0 for a loss.
    void finish(double value);
    void setAlpha(double alpha) { m_alpha = alpha; }
    const NetWeights& net() const { return m_net; }
    // The eligibility of each weight (for tests).
    const std::vector<float>& trace() const { return m_trace; }

  private:
    void update(double delta);
    void addGradient(const NetInputs& in, const NetOutput& out);

    NetWeights& m_net;
    double m_alpha;
    double m_lambda;
    std::vector<float> m_trace;
    bool m_havePrevious = false;
    bool m_learning = false;
    double m_previous = 0.5;
};

} // namespace bg
