#include "evaluation.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace bg {

namespace {

constexpr int kHomeBoardEnd = 6;        // distances 1..6 are the home board
constexpr int kOpponentBoardStart = 19; // distances 19..24 are the opponent's home board
constexpr int kStackSize = 3;
constexpr int kDeepEnd = 4; // distances below this are the deep points           // more than this
                            // on one point is wasted
constexpr double kOnRollPips = 4.0;    // the side to throw is about half a throw ahead
constexpr double kSpreadBase = 2.0;    // how fast a pip lead turns into winning chances,
constexpr double kSpreadPerPip = 0.11; // wider when many pips are still to go
// A race of 100 pips a side with a lead of 8 pips (on roll) wins about three in four.
constexpr double kRaceSpread = 0.78;
constexpr uint32_t kBoardBits = ((1u << kLastPoint) - 1) << 1; // bits 1..24
constexpr uint32_t kEntryBit = 1u << kFullDistance;

// What a held point is worth by its distance from home, relative to the best ones: the 5-,
// 4-, 6- and 7-points block most throws; points deep in the home board or far out little.
constexpr double kPointValue[kLastPoint + 1] = {0,   0.2, 0.4, 0.7, 1.0, 1.2, 1.1, 1.0, 0.8,
                                                0.6, 0.5, 0.4, 0.3, 0.3, 0.3, 0.3, 0.3, 0.3,
                                                0.3, 0.3, 0.4, 0.4, 0.3, 0.2, 0.1};

int pipsOf(const Sketch& s, int side) {
    int pips = 0;
    for (int d = 1; d <= kFullDistance; ++d)
        pips += d * s.n[side][d];
    return pips;
}

int backOf(const Sketch& s, int side) {
    for (int d = kFullDistance; d >= 1; --d)
        if (s.n[side][d] > 0) return d;
    return 0;
}

// A race count: the pips, plus what a side wastes bearing off from a crowded low point or
// with gaps on the high ones (in the spirit of the well-known Keith count).

double winChance(double lead, int totalPips) {
    return 1.0 / (1.0 + std::exp(-lead / (kSpreadBase + kSpreadPerPip * totalPips)));
}

// Side 1's view of side 0's pieces, as bit masks over side 1's distances.
struct Targets {
    uint32_t sources = 0; // side 1's pieces that may move (the bar apart)
    uint32_t blots = 0;   // side 0's lone pieces
    uint32_t open = 0;    // where side 1 may land
    int onBar = 0;
};

Targets targetsOf(const Sketch& s) {
    Targets t;
    uint32_t held = 0;
    for (int d = 1; d <= kLastPoint; ++d) {
        const uint32_t bit = 1u << (kFullDistance - d);
        if (s.n[0][d] == 1) t.blots |= bit;
        if (s.n[0][d] >= 2) held |= bit;
        if (s.n[1][d] > 0) t.sources |= 1u << d;
    }
    if (s.n[1][kFullDistance] > s.bar[1]) t.sources |= kEntryBit; // the start pile
    t.open = kBoardBits & ~held;
    t.onBar = s.bar[1];
    return t;
}

// The lone pieces side 1 hits with the throw a-b.
uint32_t hitsWith(const Targets& t, int a, int b) {
    uint32_t hit = 0;
    if (t.onBar == 0) {
        if (a != b) {
            hit = ((t.sources >> a) | (t.sources >> b)) & t.blots;
            hit |= (((t.sources >> a) & t.open) >> b) & t.blots;
            hit |= (((t.sources >> b) & t.open) >> a) & t.blots;
            return hit;
        }
        uint32_t reach = t.sources;
        for (int step = 0; step < 4 && reach; ++step) {
            reach = (reach >> a) & t.open;
            hit |= reach & t.blots;
        }
        return hit;
    }
    // Pieces on the bar must come in first.
    const uint32_t inA = (kEntryBit >> a) & t.open;
    const uint32_t inB = (kEntryBit >> b) & t.open;
    hit = (inA | inB) & t.blots;
    if (a != b) {
        if (t.onBar == 1) {
            if (inA) hit |= ((t.sources | inA) >> b) & t.blots;
            if (inB) hit |= ((t.sources | inB) >> a) & t.blots;
        }
        return hit;
    }
    if (!inA) return 0;
    uint32_t reach = t.sources | inA;
    for (int step = std::min(t.onBar, 4); step < 4; ++step) {
        reach = (reach >> a) & t.open;
        hit |= reach & t.blots;
    }
    return hit;
}

template <typename PerThrow> void forEachThrow(PerThrow perThrow) {
    for (int a = 1; a <= kDieSides; ++a)
        for (int b = a; b <= kDieSides; ++b)
            perThrow(a, b, a == b ? 1 : 2);
}

int homePointsOf(const Sketch& s, int side) {
    int held = 0;
    for (int d = 1; d <= kHomeBoardEnd; ++d)
        if (s.n[side][d] >= 2) ++held;
    return held;
}

// The home board as a wall for pieces on the bar: the high points count most.
double boardStrengthOf(const Sketch& s, int side) {
    double strength = 0;
    for (int d = 1; d <= kHomeBoardEnd; ++d)
        if (s.n[side][d] >= 2) strength += kPointValue[d];
    return strength;
}

// What side k's points, bar and borne-off pieces are worth, in pips.
double structureOf(const Sketch& s, int k, const Weights& w) {
    const int other = 1 - k;
    const int otherBack = backOf(s, other);
    // A point of ours blocks an opposing piece when that piece still has to pass it.
    const int firstBlocking = kFullDistance - otherBack + 1;
    double v = 0;
    int run = 0, bestRun = 0, anchors = 0;
    for (int d = 1; d <= kLastPoint; ++d) {
        const int here = s.n[k][d];
        if (here == 1) v -= w.looseBlot;
        if (here > kStackSize) v -= w.stack * (here - kStackSize);
        const bool held = here >= 2;
        if (held && d >= kOpponentBoardStart) ++anchors;
        if (held && d >= firstBlocking) {
            v += w.point * kPointValue[d];
            bestRun = std::max(bestRun, ++run);
        } else {
            run = 0;
        }
    }
    if (bestRun > 1) v += w.primeStep * (bestRun - 1) * (bestRun - 1);
    v += boardStrengthOf(s, k) * (w.homeBoard + w.homePoint * s.bar[other]);
    if (anchors > 0) v += w.anchor;
    v -= w.bar * s.bar[k] * (1 + 0.3 * homePointsOf(s, other));
    for (int d = 1; d < kDeepEnd; ++d)
        v -= w.deep * s.n[k][d] * (kDeepEnd - d);
    // Pieces still on the Acey-Deucey start pile are safe and wait for their chance to come
    // in; those on the bar or in the opponent's home board must find a way out.
    int behind = s.bar[k];
    for (int d = kOpponentBoardStart; d < kFullDistance; ++d)
        behind += s.n[k][d];
    const int lead = pipsOf(s, other) - pipsOf(s, k);
    v -= behind * (w.back + w.backAhead * std::max(0, lead));
    v += w.off * s.off[k];
    return v;
}

// Opposing lone pieces that our pieces reach with one die.
int targetsInReach(const Sketch& s) {
    int targets = 0;
    for (int e = 1; e <= kLastPoint; ++e) {
        if (s.n[1][e] != 1) continue;
        const int d = kFullDistance - e; // the blot at our distance d
        for (int from = d + 1; from <= std::min(d + kDieSides, kFullDistance); ++from)
            if (s.n[0][from] > 0) {
                ++targets;
                break;
            }
    }
    return targets;
}

// Side 1's throws that hit side 0's lone pieces, and what they cost side 0 on average.
Shots shotsWith(const Sketch& s, const Weights& w) {
    const Targets t = targetsOf(s);
    Shots shots;
    if (!t.blots) return shots;
    double loss = 0;
    forEachThrow([&](int a, int b, int ways) {
        const uint32_t hit = hitsWith(t, a, b);
        if (!hit) return;
        shots.throws += ways;
        // A hit with one die is seen by anybody; one that needs both dice is often missed.
        const uint32_t from = t.onBar ? t.sources | kEntryBit : t.sources;
        const uint32_t direct = ((from >> a) | (from >> b)) & hit;
        const double seen = direct ? 1.0 : w.combination;
        // The dearest piece hit: the one that had come farthest, sent back the most pips.
        const int e = 31 - std::countl_zero(direct ? direct : hit);
        loss += ways * seen * (w.hitBase + w.hitPerPip * e);
    });
    shots.loss = loss / 36.0 * (1.0 + w.oppBoardHit * homePointsOf(s, 1));
    return shots;
}

} // namespace

double raceCountOf(const Sketch& s, int k) {
    const auto& n = s.n[k];
    double count = pipsOf(s, k);
    count += 2 * std::max(0, n[1] - 1) + std::max(0, n[2] - 1) + std::max(0, n[3] - 3);
    for (int d = 4; d <= kHomeBoardEnd; ++d)
        if (n[d] == 0) count += 1;
    return count;
}

Shots shotsOf(const Sketch& s) {
    return shotsWith(s, Weights{});
}

int primeOf(const Sketch& s, int side) {
    const int firstBlocking = kFullDistance - backOf(s, 1 - side) + 1;
    int run = 0, best = 0;
    for (int d = std::max(1, firstBlocking); d <= kLastPoint; ++d) {
        run = s.n[side][d] >= 2 ? run + 1 : 0;
        best = std::max(best, run);
    }
    return best;
}

int homeBoardOf(const Sketch& s, int side) {
    return homePointsOf(s, side);
}

int shotsAt(const Sketch& s) {
    return shotsOf(s).throws;
}

bool hasContact(const Sketch& s) {
    return backOf(s, 0) + backOf(s, 1) > kFullDistance;
}

double raceChance(const Sketch& s, const Weights& w) {
    if (s.off[1] == kPieces) return 0;
    if (s.off[0] == kPieces) return 1;
    const double count0 = raceCountOf(s, 0) + w.raceLeft * (kPieces - s.off[0]);
    const double count1 = raceCountOf(s, 1) + w.raceLeft * (kPieces - s.off[1]);
    const double spread = kRaceSpread * std::sqrt(count0 + count1);
    return 1.0 / (1.0 + std::exp(-(count1 - count0 - kOnRollPips) / spread));
}

double evaluate(const Sketch& s, const Weights& w) {
    if (!hasContact(s)) return raceChance(s, w);
    double lead = pipsOf(s, 1) - pipsOf(s, 0);
    lead += structureOf(s, 0, w) - structureOf(s, 1, w);

    // The opponent throws next: what our lone pieces are likely to cost.
    lead -= shotsWith(s, w).loss;
    lead += w.targetBlot * targetsInReach(s);
    return winChance(lead - kOnRollPips, pipsOf(s, 0) + pipsOf(s, 1));
}

} // namespace bg
