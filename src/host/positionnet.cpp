#include "positionnet.h"

#include <cmath>

namespace bg {

namespace {

constexpr float kPipScale = 1.0f / 100;
constexpr float kPieceScale = 1.0f / kPieces;
constexpr float kExtraScale = 0.5f; // pieces beyond three on a point

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
    add(in, 2 * kNetSideInputs, float(shotsAt(s)) / 36);
    add(in, 2 * kNetSideInputs + 1, float(shotsAt(flipped(s))) / 36);
    return in;
}

NetOutput runNet(const NetWeights& net, const NetInputs& in) {
    NetOutput out;
    std::array<float, kNetHidden> sum;
    for (int h = 0; h < kNetHidden; ++h)
        sum[h] = net.hiddenBias(h);
    for (int i = 0; i < in.count; ++i) {
        const float x = in.value[i];
        const float* row = &net.w[in.index[i] * kNetHidden];
        for (int h = 0; h < kNetHidden; ++h)
            sum[h] += x * row[h];
    }
    float o = net.outBias();
    for (int h = 0; h < kNetHidden; ++h) {
        out.hidden[h] = sigmoid(sum[h]);
        o += out.hidden[h] * net.hiddenOut(h);
    }
    out.value = sigmoid(o);
    return out;
}

double netValue(const NetWeights& net, const Sketch& s) {
    return runNet(net, netInputsOf(s)).value;
}

} // namespace bg
