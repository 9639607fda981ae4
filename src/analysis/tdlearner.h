#pragma once
// Temporal-difference learning, TD(lambda), for a network of sparsenet.h's shape.
//
// A learner follows one side through a game: after each of that side's turns it is shown the
// position the side left. The value of the previous such position moves towards the value of
// the new one, and through the eligibility traces each earlier one a little less. In
// self-play each side has its own learner, and both teach the same network. A position the
// network does not judge (`Beyond`: a race, for the contact network) ends the lesson with
// the value the judgement that knows it gives; so does the result, when the game ends first.

#include "sketch.h"
#include "sparsenet.h"

#include <functional>
#include <optional>
#include <vector>

namespace bg {

template <class Net, class Inputs>
class TdLearner {
  public:
    using Encode = std::function<Inputs(const Sketch&)>;
    // The value of a position beyond the network, or nothing when the network judges it.
    using Beyond = std::function<std::optional<double>(const Sketch&)>;

    TdLearner(Net& net, double alpha, double lambda, Encode encode, Beyond beyond)
        : m_net(net), m_alpha(alpha), m_lambda(lambda), m_encode(std::move(encode)),
          m_beyond(std::move(beyond)) {}

    void startGame() {
        m_trace.assign(Net::kWeightCount, 0.0f);
        m_havePrevious = false;
        m_learning = true;
    }

    // The position the learning side left at the end of its turn.
    void observe(const Sketch& s) {
        if (!m_learning) return;
        if (const std::optional<double> known = m_beyond(s)) {
            finish(*known);
            return;
        }
        const Inputs in = m_encode(s);
        const auto out = runSparseNet(m_net, in);
        if (m_havePrevious) update(out.value - m_previous);
        const float decay = float(m_lambda);
        for (float& e : m_trace)
            e *= decay;
        addSparseGradient(m_net, in, out, m_trace);
        m_previous = out.value;
        m_havePrevious = true;
    }

    // The value the last position turned out to have: 1 for a win, 0 for a loss.
    void finish(double value) {
        if (m_learning && m_havePrevious) update(value - m_previous);
        m_learning = false;
    }

    // Moves the value of `s` towards `target` at once, with no traces: a lesson from a
    // judgement that looks further ahead than the network alone.
    void teach(const Sketch& s, double target) {
        const Inputs in = m_encode(s);
        const auto out = runSparseNet(m_net, in);
        stepSparseNet(m_net, in, out, float(m_alpha * (target - out.value)));
    }

    void setAlpha(double alpha) { m_alpha = alpha; }
    bool learning() const { return m_learning; }
    // The eligibility of each weight (for tests).
    const std::vector<float>& trace() const { return m_trace; }

  private:
    void update(double delta) {
        const float step = float(m_alpha * delta);
        for (int i = 0; i < Net::kWeightCount; ++i)
            m_net.w[i] += step * m_trace[i];
    }

    Net& m_net;
    double m_alpha;
    double m_lambda;
    Encode m_encode;
    Beyond m_beyond;
    std::vector<float> m_trace;
    bool m_havePrevious = false;
    bool m_learning = false;
    double m_previous = 0.5;
};

} // namespace bg
