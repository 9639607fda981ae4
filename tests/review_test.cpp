// Hints and game review: the engine's preferred play written as the records write plays, the
// review of a recorded game, the marks and the bands.

#include "gamerecorder.h"
#include "gamereview.h"
#include "notation.h"
#include "plannedturn.h"
#include "playjudge.h"
#include "reviewmarks.h"
#include "strong_duel.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace bg;
using namespace bg::review;

namespace {

// A position written as the mover counts points (24 where its back checkers start): `mine`
// and `theirs` list (mover's point, checkers); what is not placed is borne off.
rec::Position positionFor(int mover, std::initializer_list<std::pair<int, int>> mine,
                          std::initializer_list<std::pair<int, int>> theirs) {
    rec::Position pos;
    // Each side's points are given from that side's own view.
    auto fill = [](rec::SideCount& side, int owner,
                   std::initializer_list<std::pair<int, int>> list) {
        int placed = 0;
        for (const auto& [point, count] : list) {
            side.point[static_cast<std::size_t>(rec::boardPoint(owner, point))] += count;
            placed += count;
        }
        side.off = kPieces - placed;
    };
    fill(pos.side[static_cast<std::size_t>(mover)], mover, mine);
    fill(pos.side[static_cast<std::size_t>(opponentOf(mover))], opponentOf(mover), theirs);
    return pos;
}

rec::Turn turnOf(int mover, int d1, int d2, const std::string& play) {
    rec::Turn t;
    t.mover = mover;
    t.die1 = d1;
    t.die2 = d2;
    std::istringstream in(play);
    std::string token;
    while (in >> token) {
        const std::string problem = rec::parseSteps(token, mover, t.steps);
        EXPECT_EQ(problem, "") << token;
    }
    return t;
}

StrongPlanner deterministicPlanner() {
    StrongPlanner p;
    p.setBudgetMs(PlayJudge::kNoTimeLimitMs);
    return p;
}

} // namespace

TEST(Hint, IsThePlannersPlayWrittenInTheRecordsNotation) {
    struct Case {
        const char* what;
        int mover, d1, d2;
        rec::Position pos;
    };
    const Case cases[] = {
        {"the opening 3-1 of player 1", 1, 3, 1, rec::Position::start(false)},
        {"the opening 6-4 of player 2", 2, 6, 4, rec::Position::start(false)},
        {"a double in the middle game", 1, 4, 4,
         positionFor(1, {{24, 2}, {13, 4}, {8, 3}, {6, 4}, {5, 2}},
                     {{24, 1}, {18, 2}, {13, 4}, {8, 2}, {6, 4}, {4, 2}})},
        {"a bear-off", 2, 6, 2, positionFor(2, {{6, 2}, {5, 3}, {3, 2}, {1, 1}}, {{2, 3}, {1, 2}})},
    };
    for (const Case& c : cases) {
        rec::Turn t;
        t.mover = c.mover;
        t.die1 = c.d1;
        t.die2 = c.d2;
        const Board b = rec::boardBefore(c.pos, false, t);
        const Plan expected = deterministicPlanner().plan(b);
        ASSERT_GT(expected.count, 0) << c.what;
        PlayJudge judge;
        const Plan hint = judge.preferred(b);
        EXPECT_EQ(hint.count, expected.count) << c.what;
        for (int i = 0; i < expected.count; ++i)
            EXPECT_EQ(hint.steps[i], expected.steps[i]) << c.what << ", step " << i;

        // Written out and read back, the hint's steps lead where the plan leads.
        const rec::Turn written = turnOfPlan(b, hint);
        const std::string line = hintLine(written);
        ASSERT_TRUE(line.starts_with("Hint: ")) << line;
        rec::Turn reread = turnOf(c.mover, c.d1, c.d2, rec::stepsText(c.mover, written.steps));
        rec::GameRecord game;
        game.start = c.pos;
        game.turns = {reread};
        std::string error;
        const auto positions = rec::positionsOf(game, &error);
        ASSERT_EQ(error, "") << c.what << ": " << line;
        EXPECT_EQ(positions.back(), rec::Position::of(playedOut(b, expected))) << c.what;
    }
}

TEST(Hint, AfterAnAceyOneTwoChoosesTheDoubleAndPlaysIt) {
    rec::Turn t;
    t.mover = 1;
    t.die1 = 1;
    t.die2 = 2;
    const Board b = rec::boardBefore(rec::Position::start(true), true, t);
    PlayJudge judge;
    const rec::Turn written = turnOfPlan(b, judge.preferred(b));
    EXPECT_TRUE(isDieValue(written.chosenDouble));
    EXPECT_EQ(written.stepsBeforeDouble, 2u);
    EXPECT_EQ(written.steps.size(), 6u);
    EXPECT_NE(hintLine(written).find(", chose "), std::string::npos) << hintLine(written);
}

TEST(Review, ASeededGameListsEveryTurnAndTheEnginesOwnPlaysLoseNothing) {
    // The strong bot in seat 1 plans without a time limit, as the review does: its plays are
    // the engine's own choice. Seat 2 is the standard bot.
    rec::GameRecorder recorder;
    sim::Sim s(11, sim::DuelSettings::kDuelBotDelayMs, true);
    sim::DuelSettings settings;
    settings.strongSeat = 1;
    s.host = std::make_unique<TServer>(s.outbox, s.clock, s.random, settings);
    settings.host = s.host.get();
    s.host->strongBot().planner().setBudgetMs(PlayJudge::kNoTimeLimitMs);
    const sim::GameResult game =
        sim::playBotGame(s, false, false, [&](std::string_view m) { recorder.feed(m); });
    ASSERT_TRUE(game.finished);
    const rec::GameRecord& record = recorder.record();

    const std::vector<ReviewRow> rows = reviewGame(record);
    ASSERT_EQ(rows.size(), record.turns.size());
    int strongDecisions = 0;
    double standardLoss = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ReviewRow& r = rows[i];
        SCOPED_TRACE("turn " + std::to_string(i + 1) + " " + r.throwText + ": " + r.played);
        EXPECT_EQ(r.turn, int(i) + 1);
        EXPECT_EQ(r.mover, record.turns[i].mover);
        EXPECT_GE(r.loss, 0);
        EXPECT_EQ(r.mark, markFor(r.loss));
        EXPECT_NEAR(r.chances[1] + r.chances[2], 100, 1e-9);
        if (r.mover == 1) {
            EXPECT_EQ(r.loss, 0);
            EXPECT_EQ(r.preferred, r.played);
            if (r.decision) ++strongDecisions;
        } else {
            standardLoss += r.loss;
            if (r.loss > 0) {
                EXPECT_NE(r.preferred, r.played);
            }
        }
    }
    EXPECT_GT(strongDecisions, 5);
    EXPECT_GT(standardLoss, 0) << "the standard bot played every throw as the engine would";
    const Summary strong = summaryOf(rows, 1);
    EXPECT_EQ(strong.decisions, strongDecisions);
    EXPECT_EQ(strong.totalLoss, 0);
    EXPECT_EQ(strong.band(), "World class");
    EXPECT_GT(summaryOf(rows, 2).averageLoss(), 0);
}

TEST(Review, ThePreferredPlayJudgedAsIfMadeLosesExactlyNothing) {
    // Every throw of a game between standard bots: the engine's play, taken as the one made.
    sim::Sim s(5, 500, true);
    rec::GameRecorder recorder;
    ASSERT_TRUE(sim::playBotGame(s, false, false, [&](std::string_view m) {
                    recorder.feed(m);
                }).finished);
    const rec::GameRecord& record = recorder.record();
    const auto positions = rec::positionsOf(record);
    PlayJudge judge;
    for (std::size_t t = 0; t < record.turns.size(); t += 3) {
        const Board before = rec::boardBefore(positions[t], false, record.turns[t], rec::isOpening(record, t));
        const Plan plan = judge.preferred(before);
        const bool again = false;
        const PlayVerdict v = judge.judge(before, playedOut(before, plan), again);
        EXPECT_EQ(v.loss(), 0) << "turn " << t + 1;
        EXPECT_TRUE(v.playedIsBest);
    }
}

TEST(Review, BreakingAnAnchorToLeaveADoubleShotIsABlunder) {
    // Player 1 holds the opponent's 5 point against a strong home board and has a quiet play
    // of its 6-4 at home; running both anchor checkers out leaves two blots in direct range of
    // the three checkers on the opponent's mid-point and the two behind them.
    const rec::Position pos =
        positionFor(1, {{20, 2}, {13, 4}, {8, 4}, {6, 5}},
                    {{15, 2}, {13, 3}, {10, 2}, {8, 2}, {6, 3}, {4, 2}, {3, 1}});
    rec::GameRecord record;
    record.names = {"", "Learner", "Zobo"};
    record.start = pos;
    record.turns = {turnOf(1, 6, 4, "20/14 20/16")};
    const std::vector<ReviewRow> rows = reviewGame(record);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_TRUE(rows[0].decision);
    EXPECT_GT(rows[0].loss, kBlunderOver) << rows[0].preferred;
    EXPECT_EQ(rows[0].mark, "??");
    EXPECT_NE(rows[0].preferred, rows[0].played);
    const Summary s = summaryOf(rows, 1);
    EXPECT_EQ(s.blunders, 1);
    EXPECT_EQ(s.band(), "Awful");

    // The play the engine prefers, made instead, earns no mark.
    record.turns = {rows[0].preferredTurn};
    const std::vector<ReviewRow> better = reviewGame(record);
    EXPECT_EQ(better[0].loss, 0);
    EXPECT_EQ(better[0].mark, "");
}

TEST(ReviewMarks, MarksStartJustOverTheirThresholds) {
    EXPECT_EQ(markFor(0), "");
    EXPECT_EQ(markFor(kDubiousOver), "");
    EXPECT_EQ(markFor(kDubiousOver + 0.01), "?!");
    EXPECT_EQ(markFor(kMistakeOver), "?!");
    EXPECT_EQ(markFor(kMistakeOver + 0.01), "?");
    EXPECT_EQ(markFor(kBlunderOver), "?");
    EXPECT_EQ(markFor(kBlunderOver + 0.01), "??");
    EXPECT_FALSE(isBlunder(kBlunderOver));
    EXPECT_TRUE(isBlunder(kBlunderOver + 0.01));
}

TEST(ReviewMarks, BandsChangeAtTheirThresholdsScaledToWinningChances) {
    // A thousandth of equity is a twentieth of a percent of winning chances.
    EXPECT_DOUBLE_EQ(kWorldClassBelow * kPercentPerMillipoint, 0.25);
    const struct {
        double below;
        const char* under;
        const char* at;
    } limits[] = {{kWorldClassBelow, "World class", "Expert"},
                  {kExpertBelow, "Expert", "Advanced"},
                  {kAdvancedBelow, "Advanced", "Intermediate"},
                  {kIntermediateBelow, "Intermediate", "Casual"},
                  {kCasualBelow, "Casual", "Beginner"},
                  {kBeginnerBelow, "Beginner", "Awful"}};
    double previous = 0;
    for (const auto& l : limits) {
        const double at = l.below * kPercentPerMillipoint;
        EXPECT_GT(at, previous);
        previous = at;
        EXPECT_EQ(bandFor(at - 1e-9), l.under) << at;
        EXPECT_EQ(bandFor(at), l.at) << at;
    }
    EXPECT_EQ(bandFor(0), "World class");
    EXPECT_EQ(bandFor(50), "Awful");
    EXPECT_EQ(Summary{}.band(), "World class"); // no decisions: nothing given away
}
