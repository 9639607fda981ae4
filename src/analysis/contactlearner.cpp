#include "contactlearner.h"

namespace bg {

void ContactLearner::startGame() {
    m_trace.assign(kContactWeightCount, 0.0f);
    m_havePrevious = false;
    m_learning = true;
}

void ContactLearner::observe(const Sketch& s) {
    if (!m_learning) return;
    if (!hasContact(s)) {
        finish(m_race(s));
        return;
    }
    const ContactInputs in = contactInputsOf(s);
    const ContactOutput out = runContactNet(m_net, in);
    if (m_havePrevious) update(out.value - m_previous);
    const float decay = float(m_lambda);
    for (float& e : m_trace)
        e *= decay;
    addGradient(in, out);
    m_previous = out.value;
    m_havePrevious = true;
}

void ContactLearner::finish(double value) {
    if (m_learning && m_havePrevious) update(value - m_previous);
    m_learning = false;
}

void ContactLearner::teach(const Sketch& s, double target) {
    const ContactInputs in = contactInputsOf(s);
    const ContactOutput out = runContactNet(m_net, in);
    m_trace.assign(kContactWeightCount, 0.0f);
    addGradient(in, out);
    update(target - out.value);
}

void ContactLearner::update(double delta) {
    const float step = float(m_alpha * delta);
    for (int i = 0; i < kContactWeightCount; ++i)
        m_net.w[i] += step * m_trace[i];
}

// Adds the gradient of the network's output by each weight to that weight's trace.
void ContactLearner::addGradient(const ContactInputs& in, const ContactOutput& out) {
    const float v = float(out.value);
    const float dOut = v * (1 - v);
    m_trace[kContactWeightCount - 1] += dOut;
    float dHidden[kContactHidden];
    for (int h = 0; h < kContactHidden; ++h) {
        const float hidden = out.hidden[h];
        dHidden[h] = dOut * m_net.hiddenOut(h) * hidden * (1 - hidden);
        m_trace[ContactNet::hiddenOutAt + h] += dOut * hidden;
        m_trace[ContactNet::hiddenBiasAt + h] += dHidden[h];
    }
    for (int i = 0; i < in.count; ++i) {
        float* row = &m_trace[in.index[i] * kContactHidden];
        const float x = in.value[i];
        for (int h = 0; h < kContactHidden; ++h)
            row[h] += dHidden[h] * x;
    }
}

} // namespace bg
