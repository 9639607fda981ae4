#include "racenet.h"

#include "bearofftable.h"

namespace bg {

namespace {

constexpr float kPipScale = 1.0f / 100;
constexpr float kPieceScale = 1.0f / kPieces;
constexpr float kExtraScale = 0.5f; // pieces beyond three on a point
constexpr float kTurnScale = 1.0f / 10;

void addSide(RaceInputs& in, const Sketch& s, int k, bool acey) {
    const int base = k * kRaceSideInputs;
    int pips = 0, outside = 0;
    BearOffTable::Home home{};
    for (int d = 1; d <= kLastPoint; ++d) {
        const int n = s.n[k][d];
        if (n == 0) continue;
        pips += d * n;
        if (d > BearOffTable::kHomePoints)
            outside += (d - BearOffTable::kHomePoints) * n;
        else
            home[d] = n;
        const int at = base + (d - 1) * kRaceUnitsPerPoint;
        in.add(at, 1);
        if (n >= 2) in.add(at + 1, 1);
        if (n >= 3) in.add(at + 2, 1);
        if (n > 3) in.add(at + 3, kExtraScale * float(n - 3));
    }
    const int rest = base + kLastPoint * kRaceUnitsPerPoint;
    in.add(rest, kPieceScale * float(s.off[k]));
    in.add(rest + 1, kPipScale * float(pips));
    in.add(rest + 2, kPipScale * float(outside));
    if (outside == 0)
        in.add(rest + 3,
               kTurnScale * bearOffTable(acey).meanTurns(BearOffTable::indexOf(home)));
}

} // namespace

RaceInputs raceInputsOf(const Sketch& s, bool acey) {
    RaceInputs in;
    addSide(in, s, 0, acey);
    addSide(in, s, 1, acey);
    if (acey) in.add(kRaceInputs - 1, 1);
    return in;
}

double raceNetValue(const RaceNet& net, const Sketch& s, bool acey) {
    return runSparseNet(net, raceInputsOf(s, acey)).value;
}

} // namespace bg
