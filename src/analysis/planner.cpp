#include "planner.h"

#include "moverules.h"

#include <algorithm>

namespace bg {

namespace {
constexpr int kDoubleCandidates = 1; // 1-2 endings whose doubles are searched in full
} // namespace

struct StrongPlanner::Search : PlayGenerator::Sink {
    explicit Search(const StrongPlanner& p) : planner(p) {}
    const StrongPlanner& planner;
    Plan best;
    // Endings that still wait for the Acey-Deucey double, the best few by their look now.
    struct Pending {
        Board board;
        int count = 0;
        double score = -1;
        StepPath path{};
    };
    std::array<Pending, kDoubleCandidates> pending{};
    int pendingCount = 0;
    long positions = 0;

    void ending(const PlayEnding& e) override {
        const double score = planner.judge(e.sketch);
        if (e.awaitsDouble) {
            // Keep the best few; the double decides later what they are really worth.
            int slot = pendingCount < kDoubleCandidates ? pendingCount++ : -1;
            if (slot < 0) {
                slot = 0;
                for (int i = 1; i < kDoubleCandidates; ++i)
                    if (pending[i].score < pending[slot].score) slot = i;
                if (pending[slot].score >= score) return;
            }
            auto& keep = pending[slot];
            keep.board = e.board;
            keep.score = score;
            keep.count = e.count;
            keep.path = e.steps;
            return;
        }
        if (score <= best.score) return;
        best.score = score;
        best.count = e.count;
        best.steps = e.steps;
    }
};

Plan StrongPlanner::plan(const Board& b) {
    Search s(*this);
    s.positions = m_generator.generate(b, s);
    if (s.pendingCount) refineDoubles(s);
    s.best.positions += s.positions;
    return s.best;
}

Plan StrongPlanner::planDouble(const Board& b) {
    Plan best;
    for (int value = 1; value <= kDieSides; ++value) {
        Board chosen = b;
        chosen.aceypending = false;
        chosen.dice.setAll(value);
        Plan after;
        if (sequelOf(chosen, nullptr) == Sequel::MoreMoves) {
            after = plan(chosen);
        } else {
            after.score = judge(sketchOf(chosen, b.currentplayer));
            after.positions = 1;
        }
        best.positions += after.positions;
        if (after.score <= best.score) continue;
        best.score = after.score;
        best.steps[0] = {PlannedStep::Kind::Double, 0, value};
        for (int i = 0; i < after.count; ++i)
            best.steps[i + 1] = after.steps[i];
        best.count = after.count + 1;
    }
    return best;
}

void StrongPlanner::refineDoubles(Search& s) {
    // The pending endings are copied out: planning their doubles walks the generator again.
    const auto pending = s.pending;
    for (int i = 0; i < s.pendingCount; ++i) {
        const auto& ending = pending[i];
        const Plan after = planDouble(ending.board);
        s.positions += after.positions;
        if (after.score <= s.best.score) continue;
        s.best.score = after.score;
        s.best.steps = ending.path;
        for (int k = 0; k < after.count && ending.count + k < kMaxPlanSteps; ++k)
            s.best.steps[ending.count + k] = after.steps[k];
        s.best.count = std::min(ending.count + after.count, kMaxPlanSteps);
    }
}

double StrongPlanner::judge(const Sketch& sketch) const {
    if (!hasContact(sketch)) return raceChance(sketch, m_weights);
    return m_net ? netValue(*m_net, sketch) : evaluate(sketch, m_weights);
}

} // namespace bg
