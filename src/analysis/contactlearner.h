#pragma once
// Temporal-difference learning, TD(lambda), for the contact network (contactnet.h).
//
// A learner follows one side through a game: after each of that side's turns it is shown the
// position the side left. The value of the previous such position moves towards the value of
// the new one, and through the eligibility traces each earlier one a little less. In
// self-play each side has its own learner, and both teach the same network. A position
// without contact is not learned: the race evaluator judges it, and its value is the last
// lesson of the game; so is the result, when a game ends without a race.

#include "contactnet.h"

#include <functional>
#include <vector>

namespace bg {

class ContactLearner {
  public:
    using RaceJudge = std::function<double(const Sketch&)>;
    ContactLearner(ContactNet& net, double alpha, double lambda, RaceJudge race)
        : m_net(net), m_alpha(alpha), m_lambda(lambda), m_race(std::move(race)) {}

    void startGame();
    // The position the learning side left at the end of its turn.
    void observe(const Sketch& s);
    // The value the last position turned out to have: 1 for a win, 0 for a loss.
    void finish(double value);
    // Moves the value of `s` towards `target` at once, with no traces: a lesson from a
    // judgement that looks further ahead than the network alone.
    void teach(const Sketch& s, double target);
    void setAlpha(double alpha) { m_alpha = alpha; }
    bool learning() const { return m_learning; }
    // The eligibility of each weight (for tests).
    const std::vector<float>& trace() const { return m_trace; }

  private:
    void update(double delta);
    void addGradient(const ContactInputs& in, const ContactOutput& out);

    ContactNet& m_net;
    double m_alpha;
    double m_lambda;
    RaceJudge m_race;
    std::vector<float> m_trace;
    bool m_havePrevious = false;
    bool m_learning = false;
    double m_previous = 0.5;
};

} // namespace bg
