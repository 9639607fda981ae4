#include "racenet.h"

#include "evaluation.h"
#include "race.h"

#include <algorithm>
#include <cmath>

namespace bg {

namespace {

constexpr float kPipScale = 1.0f / 100;
constexpr float kPieceScale = 1.0f / kPieces;
constexpr float kLogitScale = 0.25f;
constexpr double kLogitLimit = 12;

void addSide(RaceInputs& in, const Sketch& s, int k) {
    const int base = k * kRaceSideInputs;
    int pips = 0;
    for (int d = 1; d <= kFullDistance; ++d) {
        const int n = s.n[k][d];
        if (n == 0) continue;
        pips += d * n;
        addPointUnits(in, base + (d - 1) * kRaceUnitsPerPoint, n);
    }
    const int after = base + kFullDistance * kRaceUnitsPerPoint;
    in.add(after, kPieceScale * float(s.off[k]));
    in.add(after + 1, kPipScale * float(pips));
    in.add(after + 2, kPipScale * float(raceCountOf(s, k)));
}

} // namespace

RaceInputs raceInputsOf(const Sketch& s, bool acey) {
    RaceInputs in;
    addSide(in, s, 0);
    addSide(in, s, 1);
    const double p = std::clamp(raceFormula(s, acey), 1e-5, 1 - 1e-5);
    const double logit = std::clamp(std::log(p / (1 - p)), -kLogitLimit, kLogitLimit);
    in.add(2 * kRaceSideInputs, kLogitScale * float(logit));
    if (acey) in.add(2 * kRaceSideInputs + 1, 1);
    return in;
}

double raceNetValue(const RaceNet& net, const Sketch& s, bool acey) {
    return runSparseNet(net, raceInputsOf(s, acey)).value;
}

} // namespace bg
