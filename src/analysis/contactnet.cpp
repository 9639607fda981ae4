#include "contactnet.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace bg {

namespace {

constexpr float kPipScale = 1.0f / 100;
constexpr float kPieceScale = 1.0f / kPieces;
constexpr float kExtraScale = 0.5f; // pieces beyond three on a point
constexpr float kHitLossScale = 1.0f / 20;
constexpr float kHomeBoardPoints = 6;
constexpr float kLeadScale = 1.0f / 50;
constexpr int kHomeEnd = 6;
constexpr int kOtherHomeStart = 19;
constexpr int kEscapeReach = 12;

void add(ContactInputs& in, int index, float value) {
    in.add(index, value);
}

int addSide(ContactInputs& in, const Sketch& s, int k) {
    const int base = k * kContactSideInputs;
    int pips = 0;
    for (int d = 1; d <= kLastPoint; ++d) {
        const int n = s.n[k][d];
        if (n == 0) continue;
        pips += d * n;
        const int at = base + (d - 1) * kContactUnitsPerPoint;
        add(in, at, 1);
        if (n >= 2) add(in, at + 1, 1);
        if (n >= 3) add(in, at + 2, 1);
        if (n > 3) add(in, at + 3, kExtraScale * float(n - 3));
    }
    const int entry = base + kLastPoint * kContactUnitsPerPoint;
    const int onBar = s.bar[k];
    const int onPile = s.n[k][kFullDistance] - onBar;
    pips += kFullDistance * s.n[k][kFullDistance];
    if (onBar > 0) add(in, entry, 1);
    add(in, entry + 1, kExtraScale * float(onBar));
    add(in, entry + 2, kPieceScale * float(onPile));
    add(in, entry + 3, kPieceScale * float(s.off[k]));
    add(in, entry + 4, kPipScale * float(pips));
    return pips;
}

void addLaterFeatures(ContactInputs& in, const Sketch& s, int k) {
    const int at = kContactLaterFeatureStart + k * kContactSideFeatures;
    int back = s.bar[k], anchors = 0, outside = 0, blots = 0;
    for (int d = 1; d <= kLastPoint; ++d) {
        const int n = s.n[k][d];
        if (d >= kOtherHomeStart) {
            back += n;
            if (n >= 2) ++anchors;
        }
        if (d > kHomeEnd) outside += (d - kHomeEnd) * n;
        if (n == 1) ++blots;
    }
    outside += (kFullDistance - kHomeEnd) * s.n[k][kFullDistance];
    add(in, at, kPieceScale * float(back));
    add(in, at + 1, float(escapesOf(s, k)) / 36);
    add(in, at + 2, float(anchors) / 3);
    add(in, at + 3, kPipScale * float(outside));
    add(in, at + 4, float(blots) / 4);
}

} // namespace

int escapesOf(const Sketch& s, int side) {
    const int other = 1 - side;
    int from = 0;
    for (int d = kFullDistance; d >= 1 && !from; --d)
        if (s.n[side][d] > 0) from = d;
    if (from == 0) return 0;
    // The other side's points as this side counts distances.
    uint32_t held = 0;
    for (int d = 1; d <= kLastPoint; ++d)
        if (s.n[other][kFullDistance - d] >= 2) held |= 1u << d;
    int wall = 0; // the nearest-home point held within reach in front; below it is free
    for (int d = std::max(1, from - kEscapeReach); d < from; ++d)
        if (held & (1u << d)) {
            wall = d;
            break;
        }
    auto open = [&](int d) { return d <= 0 || !(held & (1u << d)); };
    auto escapes = [&](int d) { return open(d) && (wall == 0 || d < wall); };
    int ways = 0;
    for (int a = 1; a <= kDieSides; ++a)
        for (int b = a; b <= kDieSides; ++b) {
            bool out = false;
            if (a != b) {
                out = escapes(from - a) || escapes(from - b) ||
                      ((open(from - a) || open(from - b)) && escapes(from - a - b));
            } else {
                for (int step = 1, d = from - a; step <= 4 && !out && open(d);
                     ++step, d -= a)
                    out = escapes(d);
            }
            if (out) ways += a == b ? 1 : 2;
        }
    return ways;
}

ContactInputs contactInputsOf(const Sketch& s) {
    ContactInputs in;
    const int pips0 = addSide(in, s, 0);
    const int pips1 = addSide(in, s, 1);
    const Sketch theirs = flipped(s);
    const int at = kContactFeatureStart;
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
    addLaterFeatures(in, s, 0);
    addLaterFeatures(in, s, 1);
    add(in, kContactInputs - 1, kLeadScale * float(pips1 - pips0));
    return in;
}

ContactOutput runContactNet(const ContactNet& net, const ContactInputs& in) {
    return runSparseNet(net, in);
}

double contactValue(const ContactNet& net, const Sketch& s) {
    return runContactNet(net, contactInputsOf(s)).value;
}

} // namespace bg
