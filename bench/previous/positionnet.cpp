#include "positionnet.h"

#include <cmath>
#include <cstring>

namespace bg::previous {

namespace {

constexpr float kPipScale = 1.0f / 100;
constexpr float kPieceScale = 1.0f / kPieces;
constexpr float kExtraScale = 0.5f; // pieces beyond three on a point
constexpr float kHitLossScale = 1.0f / 20;
constexpr float kHomeBoardPoints = 6;

float sigmoid(float x) {
    return 1.0f / (1.0f + std::exp(-x));
}

void add(NetInputs& in, int index, float value) {
    if (value == 0) return;
    in.index[in.count] = index;
    in.value[in.count] = value;
    ++in.count;
}

void addSide(NetInputs& in, const Sketch& s, int k) {
    const int base = k * kNetSideInputs;
    int pips = 0;
    for (int d = 1; d <= kLastPoint; ++d) {
        const int n = s.n[k][d];
        pips += d * n;
        if (n == 0) continue;
        const int at = base + (d - 1) * kNetUnitsPerPoint;
        add(in, at, 1);
        if (n >= 2) add(in, at + 1, 1);
        if (n >= 3) add(in, at + 2, 1);
        if (n > 3) add(in, at + 3, kExtraScale * float(n - 3));
    }
    const int entry = base + kLastPoint * kNetUnitsPerPoint;
    const int onBar = s.bar[k];
    const int onPile = s.n[k][kFullDistance] - onBar;
    pips += kFullDistance * s.n[k][kFullDistance];
    if (onBar > 0) add(in, entry, 1);
    add(in, entry + 1, kExtraScale * float(onBar));
    add(in, entry + 2, kPieceScale * float(onPile));
    add(in, entry + 3, kPieceScale * float(s.off[k]));
    add(in, entry + 4, kPipScale * float(pips));
}

} // namespace

NetInputs netInputsOf(const Sketch& s) {
    NetInputs in;
    addSide(in, s, 0);
    addSide(in, s, 1);
    const Sketch theirs = flipped(s);
    const int at = 2 * kNetSideInputs;
    const Shots atUs = shotsOf(s);
    const Shots atThem = shotsOf(theirs);
    add(in, at, float(atUs.throws) / 36);
    add(in, at + 1, float(atThem.throws) / 36);
    add(in, at + 2, float(atUs.loss) * kHitLossScale);
    add(in, at + 3, float(atThem.loss) * kHitLossScale);
    for (int k = 0; k < 2; ++k) {
        add(in, at + 4 + k, float(primeOf(s, k)) / kHomeBoardPoints);
        add(in, at + 6 + k, float(homeBoardOf(s, k)) / kHomeBoardPoints);
    }
    return in;
}

// Most of the strong bot's thinking time is spent here. The hidden sums stay in vector
// registers while the inputs are added in; each sum keeps its order, so nothing rounds
// differently from the plain loop.
NetOutput runNet(const NetWeights& net, const NetInputs& in) {
    using Lane = float __attribute__((vector_size(16)));
    constexpr int kWidth = sizeof(Lane) / sizeof(float);
    constexpr int kLanes = kNetHidden / kWidth;
    static_assert(kNetHidden % kWidth == 0);
    Lane sum[kLanes];
    std::memcpy(sum, &net.w[kNetInputs * kNetHidden], sizeof sum); // the hidden biases
    for (int i = 0; i < in.count; ++i) {
        const float x = in.value[i];
        const Lane xs = {x, x, x, x};
        const float* row = &net.w[in.index[i] * kNetHidden];
        for (int l = 0; l < kLanes; ++l) {
            Lane w;
            std::memcpy(&w, row + l * kWidth, sizeof w);
            sum[l] += xs * w;
        }
    }
    NetOutput out;
    float o = net.outBias();
    for (int h = 0; h < kNetHidden; ++h) {
        out.hidden[h] = sigmoid(sum[h / kWidth][h % kWidth]);
        o += out.hidden[h] * net.hiddenOut(h);
    }
    out.value = sigmoid(o);
    return out;
}

double netValue(const NetWeights& net, const Sketch& s) {
    return runNet(net, netInputsOf(s)).value;
}

} // namespace bg::previous
