#include "tdlearner.h"

namespace bg {

void TdLearner::startGame() {
    m_trace.assign(kNetWeightCount, 0.0f);
    m_havePrevious = false;
    m_learning = true;
}

void TdLearner::observe(const Sketch& s) {
    if (!m_learning) return;
    if (!hasContact(s)) {
        finish(raceChance(s));
        return;
    }
    const NetInputs in = netInputsOf(s);
    const NetOutput out = runNet(m_net, in);
    if (m_havePrevious) update(out.value - m_previous);
    for (float& e : m_trace)
        e *= float(m_lambda);
    addGradient(in, out);
    m_previous = out.value;
    m_havePrevious = true;
}

void TdLearner::finish(double value) {
    if (m_learning && m_havePrevious) update(value - m_previous);
    m_learning = false;
}

void TdLearner::update(double delta) {
    const float step = float(m_alpha * delta);
    for (int i = 0; i < kNetWeightCount; ++i)
        m_net.w[i] += step * m_trace[i];
}

// Adds the gradient of the network's output by each weight to that weight's trace.
void TdLearner::addGradient(const NetInputs& in, const NetOutput& out) {
    const float v = float(out.value);
    const float dOut = v * (1 - v);
    m_trace[kNetWeightCount - 1] += dOut;
    for (int h = 0; h < kNetHidden; ++h) {
        const float hidden = out.hidden[h];
        const float dHidden = dOut * m_net.hiddenOut(h) * hidden * (1 - hidden);
        m_trace[(kNetInputs + 1) * kNetHidden + h] += dOut * hidden;
        m_trace[kNetInputs * kNetHidden + h] += dHidden;
        for (int i = 0; i < in.count; ++i)
            m_trace[in.index[i] * kNetHidden + h] += dHidden * in.value[i];
    }
}

} // namespace bg
