#pragma once
// The shape of the strong bot's networks: one hidden layer of sigmoid units and one sigmoid
// output, the winning chances. Most inputs of a position are zero, so a position is given as
// the list of inputs that are not (SparseInputs), and the hidden sums only add the rows of
// those. The contact network (contactnet.h) is one size of it.

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace bg {

template <int Inputs, int Hidden>
struct SparseNet {
    static constexpr int kInputs = Inputs;
    static constexpr int kHidden = Hidden;
    // Every weight in one array: input to hidden (by input, then hidden unit), hidden
    // biases, hidden to output, output bias.
    static constexpr int kWeightCount = Inputs * Hidden + 2 * Hidden + 1;
    static constexpr int hiddenBiasAt = Inputs * Hidden;
    static constexpr int hiddenOutAt = (Inputs + 1) * Hidden;

    std::array<float, kWeightCount> w{};

    float& inHidden(int input, int hidden) { return w[input * Hidden + hidden]; }
    float& hiddenBias(int hidden) { return w[hiddenBiasAt + hidden]; }
    float& hiddenOut(int hidden) { return w[hiddenOutAt + hidden]; }
    float& outBias() { return w[kWeightCount - 1]; }
    float inHidden(int input, int hidden) const { return w[input * Hidden + hidden]; }
    float hiddenBias(int hidden) const { return w[hiddenBiasAt + hidden]; }
    float hiddenOut(int hidden) const { return w[hiddenOutAt + hidden]; }
    float outBias() const { return w[kWeightCount - 1]; }
};

// Ties generated weights to a layout: changes with either size.
constexpr uint32_t sparseLayout(int inputs, int hidden) {
    return uint32_t(inputs) * 100003u + uint32_t(hidden) * 101u + 3u;
}

// The inputs that are not zero. Only the first `count` entries are set (the arrays are left
// uninitialised: this runs in the inner loop).
template <int Inputs>
struct SparseInputs {
    std::array<int16_t, Inputs> index;
    std::array<float, Inputs> value;
    int count = 0;

    void add(int at, float v) {
        if (v == 0) return;
        index[count] = int16_t(at);
        value[count] = v;
        ++count;
    }
};

// The network's answer, with the hidden layer kept for learning.
template <int Hidden>
struct SparseOutput {
    std::array<float, Hidden> hidden;
    double value = 0.5;
};

inline float sparseSigmoid(float x) {
    return 1.0f / (1.0f + std::exp(-x));
}

// Most of the strong bot's thinking time is spent here. The hidden sums stay in vector
// registers while the inputs are added in; each sum keeps its order, so nothing rounds
// differently from the plain loop.
template <int Inputs, int Hidden>
SparseOutput<Hidden> runSparseNet(const SparseNet<Inputs, Hidden>& net,
                                  const SparseInputs<Inputs>& in) {
    using Lane = float __attribute__((vector_size(16)));
    constexpr int kWidth = sizeof(Lane) / sizeof(float);
    constexpr int kLanes = Hidden / kWidth;
    static_assert(Hidden % kWidth == 0);
    using Net = SparseNet<Inputs, Hidden>;
    Lane sum[kLanes];
    std::memcpy(sum, &net.w[Net::hiddenBiasAt], sizeof sum);
    for (int i = 0; i < in.count; ++i) {
        const float x = in.value[i];
        const Lane xs = {x, x, x, x};
        const float* row = &net.w[in.index[i] * Hidden];
        for (int l = 0; l < kLanes; ++l) {
            Lane w;
            std::memcpy(&w, row + l * kWidth, sizeof w);
            sum[l] += xs * w;
        }
    }
    SparseOutput<Hidden> out;
    float o = net.outBias();
    for (int h = 0; h < Hidden; ++h) {
        out.hidden[h] = sparseSigmoid(sum[h / kWidth][h % kWidth]);
        o += out.hidden[h] * net.hiddenOut(h);
    }
    out.value = sparseSigmoid(o);
    return out;
}

// Adds the gradient of the output by each weight to `trace` (one entry per weight).
template <int Inputs, int Hidden>
void addSparseGradient(const SparseNet<Inputs, Hidden>& net, const SparseInputs<Inputs>& in,
                       const SparseOutput<Hidden>& out, std::vector<float>& trace) {
    using Net = SparseNet<Inputs, Hidden>;
    const float v = float(out.value);
    const float dOut = v * (1 - v);
    trace[Net::kWeightCount - 1] += dOut;
    float dHidden[Hidden];
    for (int h = 0; h < Hidden; ++h) {
        const float hidden = out.hidden[h];
        dHidden[h] = dOut * net.hiddenOut(h) * hidden * (1 - hidden);
        trace[Net::hiddenOutAt + h] += dOut * hidden;
        trace[Net::hiddenBiasAt + h] += dHidden[h];
    }
    for (int i = 0; i < in.count; ++i) {
        float* row = &trace[in.index[i] * Hidden];
        const float x = in.value[i];
        for (int h = 0; h < Hidden; ++h)
            row[h] += dHidden[h] * x;
    }
}

// Moves every weight by `step` times the gradient of the output by it, at once: a lesson with
// no traces. Only the rows of the inputs that are set change. The gradient is taken before
// any weight moves, so the result is the one adding the full gradient would give.
template <int Inputs, int Hidden>
void stepSparseNet(SparseNet<Inputs, Hidden>& net, const SparseInputs<Inputs>& in,
                   const SparseOutput<Hidden>& out, float step) {
    const float v = float(out.value);
    const float dOut = v * (1 - v);
    float dHidden[Hidden];
    for (int h = 0; h < Hidden; ++h) {
        const float hidden = out.hidden[h];
        dHidden[h] = dOut * net.hiddenOut(h) * hidden * (1 - hidden);
    }
    for (int i = 0; i < in.count; ++i) {
        float* row = &net.w[in.index[i] * Hidden];
        const float x = in.value[i];
        for (int h = 0; h < Hidden; ++h)
            row[h] += step * (dHidden[h] * x);
    }
    for (int h = 0; h < Hidden; ++h) {
        net.hiddenBias(h) += step * dHidden[h];
        net.hiddenOut(h) += step * (dOut * out.hidden[h]);
    }
    net.outBias() += step * dOut;
}

} // namespace bg
