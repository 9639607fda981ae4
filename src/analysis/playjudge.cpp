#include "playjudge.h"

#include "moverules.h"

namespace bg {

namespace {

// Counts the distinct endings, up to two: enough to tell a choice from a forced play.
struct EndingCounter : PlayGenerator::Sink {
    int endings = 0;
    bool awaitsDouble = false;
    void ending(const PlayEnding& e) override {
        ++endings;
        if (e.awaitsDouble) awaitsDouble = true;
    }
};

} // namespace

Board playedOut(const Board& b, const Plan& plan) {
    Board out = b;
    const int p = out.currentplayer;
    for (int i = 0; i < plan.count; ++i) {
        const PlannedStep& step = plan.steps[static_cast<std::size_t>(i)];
        switch (step.kind) {
        case PlannedStep::Kind::Move: {
            const MoveCheck c = checkMove(out, p, step.piece, step.value);
            if (!c.error) applyMove(out, p, c, step.value);
            break;
        }
        case PlannedStep::Kind::BearOff: {
            const BearOffCheck c = checkBearOff(out, p, step.piece, step.value);
            if (!c.error) applyBearOff(out, p, c);
            break;
        }
        case PlannedStep::Kind::Double:
            out.aceypending = false;
            out.dice.setAll(step.value);
            break;
        }
    }
    return out;
}

bool takesDouble(const Plan& plan) {
    for (int i = 0; i < plan.count; ++i)
        if (plan.steps[static_cast<std::size_t>(i)].kind == PlannedStep::Kind::Double) return true;
    return false;
}

PlayJudge::PlayJudge() {
    m_planner.setLookAhead(true);
    m_planner.setBudgetMs(kNoTimeLimitMs);
}

Plan PlayJudge::preferred(const Board& b) {
    const bool doubleFirst = b.aceypending && b.dice.die1 == 0 && b.dice.die2 == 0;
    return doubleFirst ? m_planner.planDouble(b) : m_planner.plan(b);
}

PlayVerdict PlayJudge::judge(const Board& before, const Board& after, bool again) {
    PlayVerdict v;
    const int mover = before.currentplayer;
    EndingCounter counter;
    m_generator.generate(before, counter);
    v.choice = counter.endings > 1 || counter.awaitsDouble;
    v.best = preferred(before);
    Board made = after;
    made.currentplayer = mover;
    if (v.best.count == 0) {
        // Nothing could be played: the position stands as it was, with nothing to compare.
        v.bestValue = v.playedValue = m_planner.valueOf(made, again, false);
        v.playedIsBest = true;
        return v;
    }
    v.bestValue = v.best.score;
    const Board planned = playedOut(before, v.best);
    if (sketchOf(planned, mover) == sketchOf(made, mover)) {
        v.playedValue = v.bestValue;
        v.playedIsBest = true;
        return v;
    }
    v.playedValue = m_planner.valueOf(made, again, v.best.lookedAhead);
    if (v.playedValue >= v.bestValue) {
        // The search keeps only the likeliest plays for its look-ahead (and the likeliest 1-2
        // for its doubles); a play it left aside may come out better.
        v.bestValue = v.playedValue;
        v.playedIsBest = true;
    }
    return v;
}

} // namespace bg
