// The strong bot's judgement: the contact network, its inputs, the race formula and the
// learning rule.

#include "contactlearner.h"
#include "contactnet.h"
#include "race.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <memory>
#include <utility>

using namespace bg;

namespace {

using Pile = std::initializer_list<std::pair<int, int>>; // home distance, pieces

// A sketch with the pieces of both sides at the given distances (25: on the bar); every
// piece not placed is borne off.
Sketch sketch(Pile mine, Pile theirs, int myBar = 0, int theirBar = 0) {
    Sketch s;
    int k = 0;
    for (const Pile& side : {mine, theirs}) {
        int placed = 0;
        for (auto [distance, pieces] : side) {
            s.n[k][distance] = int8_t(s.n[k][distance] + pieces);
            placed += pieces;
        }
        s.off[k] = int8_t(kPieces - placed);
        ++k;
    }
    s.bar = {int8_t(myBar), int8_t(theirBar)};
    return s;
}

// The normal start, as each side sees it.
const Pile kStart = {{6, 5}, {8, 3}, {13, 5}, {24, 2}};

} // namespace

TEST(StrongNet, TrainedWeightsJudgeClosedBoardsAndShots) {
    const ContactNet& net = shippedContactNet();
    // Our closed board with two of theirs on the bar, and the same the other way round.
    const Pile closedBoard = {{1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 2}, {6, 2}, {8, 3}};
    const Pile waiting = {{6, 3}, {7, 3}, {12, 2}, {13, 5}, {25, 2}};
    const double closingOut = contactValue(net, sketch(closedBoard, waiting, 0, 2));
    const double closedOut = contactValue(net, sketch(waiting, closedBoard, 2, 0));
    EXPECT_GT(closingOut, 0.85);
    EXPECT_LT(closedOut, closingOut - 0.3);

    // Bearing in against their anchor on our 1-point and their closed board: a lone piece 6
    // pips in front of the anchor may cost the game; one pip further on, it is safe.
    const Pile theirs = {{1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 3}, {6, 2}, {24, 2}};
    const Pile exposed = {{2, 2}, {3, 3}, {4, 3}, {5, 3}, {6, 3}, {7, 1}};
    const Pile safe = {{2, 2}, {3, 3}, {4, 3}, {5, 3}, {6, 4}};
    EXPECT_GT(shotsAt(sketch(exposed, theirs)), 10);
    EXPECT_EQ(shotsAt(sketch(safe, theirs)), 0);
    EXPECT_GT(contactValue(net, sketch(safe, theirs)), contactValue(net, sketch(exposed, theirs)) + 0.01);
}

TEST(StrongNet, RaceChancesFollowThePipLead) {
    const Pile even = {{1, 3}, {2, 3}, {3, 3}, {4, 2}, {5, 2}, {6, 2}};
    const double evenRace = raceChance(sketch(even, even));
    EXPECT_FALSE(hasContact(sketch(even, even)));
    EXPECT_LT(evenRace, 0.5) << "the opponent throws first";
    EXPECT_GT(evenRace, 0.2);

    // Ahead by more pips, more chances; all borne off, a sure win.
    double previous = 0;
    for (int far : {12, 11, 10, 9, 8, 7}) {
        const double chance =
            raceChance(sketch({{1, 3}, {2, 3}, {3, 3}, {4, 2}, {5, 2}, {far, 2}}, even));
        EXPECT_GT(chance, previous) << "last two pieces at " << far;
        previous = chance;
    }
    EXPECT_EQ(raceChance(sketch({}, even)), 1.0);
    EXPECT_EQ(raceChance(sketch(even, {})), 0.0);

    // The same pips piled on the low points bear off slower than spread over the board.
    const Pile spread = {{4, 3}, {5, 3}, {6, 3}};                // 45 pips
    const Pile piled = {{1, 4}, {2, 3}, {6, 4}, {4, 1}, {5, 1}}; // 43 pips, crowded
    EXPECT_GT(raceChance(sketch(spread, even)), raceChance(sketch(piled, even)));
}

TEST(StrongNet, HandMadeInputsSeeBlockingPointsAndCostlyShots) {
    // Two rows of points; only those in front of their last piece block it. Their piece at
    // their distance 17 stands on our 8-point, one at 24 on our 1-point.
    const Pile rows = {{4, 2}, {5, 2}, {6, 2}, {7, 2}, {9, 2}, {10, 2}, {11, 2}};
    EXPECT_EQ(primeOf(sketch(rows, {{17, 1}, {1, 14}}), 0), 3);
    EXPECT_EQ(primeOf(sketch(rows, {{24, 1}, {1, 14}}), 0), 4);
    EXPECT_EQ(primeOf(sketch(rows, {{1, 15}}), 0), 0);
    EXPECT_EQ(homeBoardOf(sketch(rows, {{1, 15}}), 0), 3);

    // The same one-pip shot costs more at a piece that has nearly come home than at one
    // that has just set out; no shot costs nothing.
    const Shots nearHome = shotsOf(sketch({{2, 1}}, {{24, 1}, {1, 14}}));
    const Shots justOut = shotsOf(sketch({{22, 1}}, {{4, 1}, {1, 14}}));
    EXPECT_EQ(nearHome.throws, justOut.throws);
    EXPECT_GT(justOut.loss, 0);
    EXPECT_GT(nearHome.loss, justOut.loss);
    const Shots none = shotsOf(sketch({{22, 2}}, {{4, 1}, {1, 14}}));
    EXPECT_EQ(none.throws, 0);
    EXPECT_EQ(none.loss, 0);

    // Escapes of a back piece on our 24-point: none behind their six-point prime, every
    // throw on an open board, and past a single point six pips ahead the throws of seven
    // pips or more whose first step lands (18 of them) and 4-4 and 5-5.
    const Pile prime = {{2, 2}, {3, 2}, {4, 2}, {5, 2}, {6, 2}, {7, 2}, {1, 3}};
    EXPECT_EQ(escapesOf(sketch({{24, 1}, {1, 14}}, prime), 0), 0);
    EXPECT_EQ(escapesOf(sketch({{24, 1}, {1, 14}}, {{1, 15}}), 0), 36);
    EXPECT_EQ(escapesOf(sketch({{24, 1}, {1, 14}}, {{7, 2}, {1, 13}}), 0), 20);
    // The inputs name each unit once, inside the layout.
    const ContactInputs in = contactInputsOf(sketch(prime, {{24, 2}, {13, 5}, {6, 8}}));
    for (int i = 0; i < in.count; ++i) {
        EXPECT_GE(in.index[i], 0);
        EXPECT_LT(in.index[i], kContactInputs);
        for (int j = 0; j < i; ++j)
            EXPECT_NE(in.index[i], in.index[j]);
    }
}

TEST(StrongNet, LearningRuleFollowsTheNetworksGradient) {
    auto owned = std::make_unique<ContactNet>(shippedContactNet());
    ContactNet& net = *owned;
    const Sketch s = sketch({{6, 4}, {7, 1}, {8, 3}, {13, 5}, {24, 2}}, kStart);
    // With no decay, the trace after one position is the gradient of the value.
    ContactLearner learner(net, 0.0, 0.0, [](const Sketch& r) { return raceChance(r); });
    learner.startGame();
    learner.observe(s);
    const ContactInputs in = contactInputsOf(s);
    const int probes[] = {in.index[0] * kContactHidden + 3,
                          in.index[in.count - 1] * kContactHidden,
                          ContactNet::hiddenBiasAt + 7, ContactNet::hiddenOutAt + 11,
                          kContactWeightCount - 1};
    for (int i : probes) {
        const float kept = net.w[i];
        const float step = 1e-2f;
        net.w[i] = kept + step;
        const double up = contactValue(net, s);
        net.w[i] = kept - step;
        const double down = contactValue(net, s);
        net.w[i] = kept;
        const double numeric = (up - down) / (2 * step);
        EXPECT_NEAR(learner.trace()[i], numeric, 1e-3 + 0.02 * std::abs(numeric)) << "weight " << i;
    }
}

TEST(StrongNet, ASparseStepIsTheFullGradientStep) {
    // The step by the rows of the inputs set must move every weight exactly as adding the
    // whole gradient does: the gradient of the hidden units is taken before any weight moves.
    for (const Sketch& s : {sketch({{6, 4}, {7, 1}, {8, 3}, {13, 5}, {24, 2}}, kStart),
                            sketch({{1, 3}, {2, 2}, {5, 1}, {20, 1}}, {{3, 4}, {9, 1}})}) {
        auto stepped = std::make_unique<ContactNet>(shippedContactNet());
        auto full = std::make_unique<ContactNet>(shippedContactNet());
        const ContactInputs in = contactInputsOf(s);
        const ContactOutput out = runContactNet(*full, in);
        const float step = 0.3f;
        std::vector<float> gradient(kContactWeightCount, 0.0f);
        addSparseGradient(*full, in, out, gradient);
        for (int i = 0; i < kContactWeightCount; ++i)
            full->w[i] += step * gradient[i];
        stepSparseNet(*stepped, in, out, step);
        EXPECT_EQ(stepped->w, full->w);
        EXPECT_NE(stepped->w, shippedContactNet().w);
    }
}

TEST(StrongNet, LessonsMoveEarlierPositionsTowardsTheResult) {
    const Sketch first = sketch({{6, 4}, {7, 1}, {8, 3}, {13, 5}, {24, 2}}, kStart);
    const Sketch second = sketch({{5, 2}, {6, 4}, {8, 3}, {13, 4}, {24, 2}}, kStart);
    for (double result : {0.0, 1.0}) {
        auto owned = std::make_unique<ContactNet>(shippedContactNet());
        ContactNet& net = *owned;
        const double before = contactValue(net, first);
        ContactLearner learner(net, 0.5, 0.7, [](const Sketch& r) { return raceValue(r, false); });
        learner.startGame();
        learner.observe(first);
        learner.observe(second);
        learner.finish(result);
        const double after = contactValue(net, first);
        if (result == 1.0)
            EXPECT_GT(after, before);
        else
            EXPECT_LT(after, before);
        // A race ends the lesson: the learner takes nothing more from that game.
        const auto taught = std::make_unique<ContactNet>(net);
        learner.startGame();
        learner.observe(sketch({{1, 15}}, {{1, 15}}));
        learner.observe(first);
        learner.finish(result);
        EXPECT_EQ(net.w, taught->w);
    }
}

TEST(StrongNet, TeachingMovesAValueTowardsItsTargetWithoutPassingIt) {
    const Sketch s = sketch({{6, 4}, {7, 1}, {8, 3}, {13, 5}, {24, 2}}, kStart);
    for (double target : {0.05, 0.95}) {
        auto owned = std::make_unique<ContactNet>(shippedContactNet());
        const double before = contactValue(*owned, s);
        ContactLearner learner(*owned, 0.5, 0.0, [](const Sketch& r) { return raceChance(r); });
        learner.teach(s, target);
        const double after = contactValue(*owned, s);
        EXPECT_LT(std::abs(after - target), std::abs(before - target)) << target;
        EXPECT_EQ(after > target, before > target) << "a small step does not overshoot";
    }
}
