// The exact bear-off tables: distributions worked out by hand, the steps checked against the
// move rules themselves, and races decided from two distributions.

#include "bearofftable.h"
#include "board_setup.h"
#include "moverules.h"
#include "race.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace bg;

namespace {

using Home = BearOffTable::Home;

Home home(std::initializer_list<std::pair<int, int>> pieces) {
    Home h{};
    for (auto [distance, n] : pieces)
        h[distance] += n;
    return h;
}

double chance(const BearOffTable& t, const Home& h, int turns) {
    return t.probability(BearOffTable::indexOf(h), turns);
}

// Both sides home: side 0's pieces and side 1's at the given distances, the rest off.
Sketch race(const Home& mine, const Home& theirs) {
    Sketch s;
    for (int d = 1; d <= BearOffTable::kHomePoints; ++d) {
        s.n[0][d] = int8_t(mine[d]);
        s.n[1][d] = int8_t(theirs[d]);
    }
    for (int k = 0; k < 2; ++k) {
        int on = 0;
        for (int d = 1; d <= BearOffTable::kHomePoints; ++d)
            on += s.n[k][d];
        s.off[k] = int8_t(kPieces - on);
    }
    return s;
}

} // namespace

TEST(BearOff, IndexCoversEveryPositionOnce) {
    std::set<int> seen;
    int count = 0;
    for (int i = 0; i < BearOffTable::kPositions; ++i) {
        const Home h = BearOffTable::homeOf(i);
        int pieces = 0;
        for (int d = 1; d <= BearOffTable::kHomePoints; ++d)
            pieces += h[d];
        EXPECT_LE(pieces, kPieces);
        ASSERT_EQ(BearOffTable::indexOf(h), i);
        ++count;
    }
    EXPECT_EQ(count, 54264);
    EXPECT_EQ(BearOffTable::indexOf(Home{}), 0);
}

TEST(BearOff, SmallPositionsMatchDistributionsWorkedByHand) {
    const BearOffTable& normal = bearOffTable(false);
    const BearOffTable& acey = bearOffTable(true);
    // One piece on the 1-point, or two: any throw takes them off.
    EXPECT_FLOAT_EQ(chance(normal, home({{1, 1}}), 1), 1.0f);
    EXPECT_FLOAT_EQ(chance(normal, home({{1, 2}}), 1), 1.0f);
    // One piece on the 6-point: a 6, two dice of six pips or more, or 2-2 and up take it off;
    // 1-2, 1-3, 1-4, 2-3 (both ways) and 1-1 leave it for the next turn.
    EXPECT_NEAR(chance(normal, home({{6, 1}}), 1), 27.0 / 36, 1e-6);
    EXPECT_NEAR(chance(normal, home({{6, 1}}), 2), 9.0 / 36, 1e-6);
    EXPECT_NEAR(normal.meanTurns(BearOffTable::indexOf(home({{6, 1}}))), 1.25, 1e-6);
    // In Acey-Deucey the 1-2 brings it to the 3-point and the 3-3 chosen after it takes it off.
    EXPECT_NEAR(chance(acey, home({{6, 1}}), 1), 29.0 / 36, 1e-6);
    // Two on the 6-point: only 3-3, 4-4, 5-5 and 6-6 bear both off at once.
    EXPECT_NEAR(chance(normal, home({{6, 2}}), 1), 4.0 / 36, 1e-6);
    // Two on the 2-point: a 1 with any other die only brings one down to the 1-point, but
    // 1-1 plays four times and takes both.
    EXPECT_NEAR(chance(normal, home({{2, 2}}), 1), 26.0 / 36, 1e-6);
    // Three on the 1-point: only a double takes all three at once.
    EXPECT_NEAR(chance(normal, home({{1, 3}}), 1), 6.0 / 36, 1e-6);
    EXPECT_NEAR(chance(normal, home({{1, 3}}), 2), 30.0 / 36, 1e-6);
    // Fifteen on the 6-point, the longest bear-off: every distribution sums to one.
    for (int i : {1, 500, 20000, BearOffTable::kPositions - 1}) {
        double sum = 0;
        for (int t = 0; t < BearOffTable::kMaxTurns; ++t)
            sum += normal.probability(i, t);
        EXPECT_NEAR(sum, 1.0, 1e-4) << i;
    }
    const int all = BearOffTable::indexOf(home({{6, 15}}));
    EXPECT_GT(normal.meanTurns(all), acey.meanTurns(all));
    EXPECT_LT(normal.probability(all, BearOffTable::kMaxTurns - 1), 1e-9);
}

// The steps the table follows are exactly the ones the move rules allow: every position of up
// to five pieces, every die, tried on a real board through the host's checks.
TEST(BearOff, StepsAreTheMoveRulesSteps) {
    for (int i = 1; i < BearOffTable::kPositions; ++i) {
        const Home h = BearOffTable::homeOf(i);
        int pieces = 0;
        for (int d = 1; d <= BearOffTable::kHomePoints; ++d)
            pieces += h[d];
        if (pieces > 5) continue;
        Board b;
        setup::clearToHome(b);
        int id = 1;
        for (int d = 1; d <= BearOffTable::kHomePoints; ++d)
            for (int n = 0; n < h[d]; ++n)
                setup::put(b, 1, id++, kLastPoint + 1 - d);
        b.currentplayer = 1;
        for (int value = 1; value <= kDieSides; ++value) {
            b.dice = {value, 0, 0, 0};
            std::set<Home> byRules;
            for (int piece = 1; piece < id; ++piece) {
                const int from = b.side[1].pawns[piece].point;
                Board next = b;
                const int to = targetPoint(1, from, value);
                if (isBoardPoint(to)) {
                    const MoveCheck c = checkMove(b, 1, piece, to);
                    if (c.error) continue;
                    applyMove(next, 1, c, to);
                } else {
                    const BearOffCheck c = checkBearOff(b, 1, piece, value);
                    if (c.error) continue;
                    applyBearOff(next, 1, c);
                }
                Home after{};
                for (int p = 1; p < id; ++p)
                    if (isBoardPoint(next.side[1].pawns[p].point))
                        ++after[homeDistance(1, next.side[1].pawns[p].point)];
                byRules.insert(after);
            }
            const std::vector<Home> steps = BearOffTable::stepsOf(h, value);
            const std::set<Home> byTable(steps.begin(), steps.end());
            EXPECT_EQ(byTable, byRules) << "position " << i << ", die " << value;
            EXPECT_EQ(steps.size(), byTable.size()) << "a step listed twice";
        }
    }
}

TEST(BearOff, RacesOfBothSidesHomeAreDecidedFromTheTables) {
    // Our last piece on the 1-point, theirs on the 6-point, theirs to throw: they win at once
    // with 27 throws in 36, and we win with the rest.
    const Sketch close = race(home({{1, 1}}), home({{6, 1}}));
    ASSERT_TRUE(bothHome(close));
    EXPECT_NEAR(bearOffChance(close, false), 9.0 / 36, 1e-6);
    EXPECT_NEAR(raceValue(close, false), 9.0 / 36, 1e-6);
    // Their two on the 6-point need a big double: we win unless they throw one.
    EXPECT_NEAR(raceValue(race(home({{1, 1}}), home({{6, 2}})), false), 32.0 / 36, 1e-6);
    // One piece each on the 6-point: we win when they miss and we do not; a piece that missed
    // is at most four pips out and comes off the turn after.
    EXPECT_NEAR(raceValue(race(home({{6, 1}}), home({{6, 1}})), false), 9.0 / 36 * 27.0 / 36,
                1e-6);
    // The same pips, but six pieces against four: the pieces decide, not the pips.
    const Sketch many = race(home({{1, 2}, {2, 2}, {3, 2}}), home({{3, 4}}));
    EXPECT_LT(raceValue(many, false), 0.25);
    EXPECT_GT(raceValue(flipped(many), false), raceValue(many, false) + 0.1);
    // Nobody left to bear off: the game is decided.
    EXPECT_DOUBLE_EQ(raceValue(race(Home{}, home({{1, 1}})), false), 1.0);
}
