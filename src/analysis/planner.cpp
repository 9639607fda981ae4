#include "planner.h"

#include "bearofftable.h"
#include "moverules.h"
#include "race.h"

#include <algorithm>
#include <ctime>

namespace bg {

namespace {

constexpr int kDoubleCandidates = 1; // 1-2 endings whose doubles are searched in full

double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Plays `plan` on `b` with the move rules (the plan was made for this very position).
void play(Board& b, const Plan& plan) {
    const int p = b.currentplayer;
    for (int i = 0; i < plan.count; ++i) {
        const PlannedStep& step = plan.steps[i];
        if (step.kind == PlannedStep::Kind::Move) {
            const MoveCheck c = checkMove(b, p, step.piece, step.value);
            if (!c.error) applyMove(b, p, c, step.value);
        } else if (step.kind == PlannedStep::Kind::BearOff) {
            const BearOffCheck c = checkBearOff(b, p, step.piece, step.value);
            if (!c.error) applyBearOff(b, p, c);
        }
    }
}

} // namespace

// A final position kept for the look-ahead, with the steps that reach it.
struct StrongPlanner::Ending {
    Board board;
    double score = -1;
    int count = 0;
    bool again = false; // an Acey-Deucey double was taken: the same player throws next
    StepPath path{};
};

struct StrongPlanner::Search : PlayGenerator::Sink {
    Search(StrongPlanner& p, int mover, bool keep) : planner(p), player(mover), keepEndings(keep) {}
    StrongPlanner& planner;
    int player = 0;
    bool keepEndings = false;
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
    // The best endings by the judgement alone, for the look-ahead.
    std::array<Ending, kLookAheadPlays> endings{};
    int endingCount = 0;
    long positions = 0;

    bool stopped() const override { return planner.m_outOfTime; }

    void ending(const PlayEnding& e) override {
        if (planner.timeUp()) return;
        const double score = planner.judge(e.sketch, player, e.board.acey);
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
        if (keepEndings) keep(e.board, score, e.steps, e.count, false);
        if (score <= best.score) return;
        best.score = score;
        best.count = e.count;
        best.steps = e.steps;
    }

    void keep(const Board& end, double score, const StepPath& path, int count, bool again) {
        int slot = endingCount < kLookAheadPlays ? endingCount++ : -1;
        if (slot < 0) {
            slot = 0;
            for (int i = 1; i < kLookAheadPlays; ++i)
                if (endings[i].score < endings[slot].score) slot = i;
            if (endings[slot].score >= score) return;
        }
        Ending& kept = endings[slot];
        kept.board = end;
        kept.score = score;
        kept.count = count;
        kept.again = again;
        kept.path = path;
    }
};

Plan StrongPlanner::plan(const Board& b) {
    Search s(*this, b.currentplayer, m_lookAhead && m_depth == 0);
    if (s.keepEndings) m_deadline = cpuMs() + m_budgetMs;
    ++m_depth;
    s.positions = m_generator.generate(b, s);
    if (s.pendingCount) refineDoubles(s);
    if (s.keepEndings) lookAheadOver(s);
    --m_depth;
    s.best.positions += s.positions;
    return s.best;
}

Plan StrongPlanner::planDouble(const Board& b) {
    Search s(*this, b.currentplayer, m_lookAhead && m_depth == 0);
    if (s.keepEndings) m_deadline = cpuMs() + m_budgetMs;
    ++m_depth;
    s.best = chooseDouble(s, b, {}, 0);
    if (s.keepEndings) lookAheadOver(s);
    --m_depth;
    s.best.positions += s.positions;
    return s.best;
}

// Each double after the 1-2 ending `path`, played in full. The best by the judgement becomes
// the plan, and each is kept for the look-ahead, which may prefer another.
Plan StrongPlanner::chooseDouble(Search& s, const Board& b, const StepPath& path, int count) {
    Plan best;
    for (int value = 1; value <= kDieSides && !m_outOfTime; ++value) {
        Board chosen = b;
        chosen.aceypending = false;
        chosen.dice.setAll(value);
        Plan after;
        if (sequelOf(chosen, nullptr) == Sequel::MoreMoves) {
            after = plan(chosen);
        } else {
            after.score = judge(sketchOf(chosen, b.currentplayer), b.currentplayer, b.acey);
            after.positions = 1;
        }
        s.positions += after.positions;
        StepPath steps = path;
        int n = count;
        if (n < kMaxPlanSteps) steps[n++] = {PlannedStep::Kind::Double, 0, value};
        for (int i = 0; i < after.count && n < kMaxPlanSteps; ++i)
            steps[n++] = after.steps[i];
        if (s.keepEndings) {
            play(chosen, after);
            s.keep(chosen, after.score, steps, n, true);
        }
        if (after.score <= best.score) continue;
        best.score = after.score;
        best.steps = steps;
        best.count = n;
    }
    return best;
}

void StrongPlanner::refineDoubles(Search& s) {
    // The pending endings are copied out: planning their doubles walks the generator again.
    const auto pending = s.pending;
    for (int i = 0; i < s.pendingCount; ++i) {
        const auto& ending = pending[i];
        const Plan after = chooseDouble(s, ending.board, ending.path, ending.count);
        if (after.score <= s.best.score) continue;
        s.best.score = after.score;
        s.best.steps = after.steps;
        s.best.count = after.count;
    }
}

// The look-ahead's time: from its start to its end, the plans inside it watch the clock.
struct StrongPlanner::Timed {
    explicit Timed(StrongPlanner& p) : planner(p) {
        planner.m_timed = true;
        planner.m_outOfTime = false;
    }
    ~Timed() { planner.m_timed = planner.m_outOfTime = false; }
    StrongPlanner& planner;
};

// The clock is read once every few endings: reading it costs about what judging one does.
bool StrongPlanner::timeUp() {
    if (m_timed && !m_outOfTime && (++m_tick & 7) == 0) m_outOfTime = cpuMs() > m_deadline;
    return m_outOfTime;
}

// The look-ahead over the endings kept: the best by their average after the next throw.
void StrongPlanner::lookAheadOver(Search& s) {
    const double floor = s.best.score - kLookAheadMargin;
    bool exact = true;
    std::array<const Ending*, kLookAheadPlays> order{};
    int n = 0;
    for (int i = 0; i < s.endingCount; ++i) {
        const Ending& e = s.endings[i];
        if (e.score < floor) continue;
        order[n++] = &e;
        if (!bothHome(sketchOf(e.board, s.player))) exact = false;
    }
    // One play, or races the tables already judge exactly: nothing to look at.
    if (n < 2 || exact) return;
    // The best by the judgement first: when time runs out, those looked at are the likeliest.
    std::stable_sort(order.begin(), order.begin() + n,
                     [](const Ending* a, const Ending* b) { return a->score > b->score; });
    const Timed timed(*this);
    double bestValue = -1;
    const Ending* chosen = nullptr;
    int seen = 0;
    for (int i = 0; i < n; ++i) {
        const Ending& e = *order[i];
        bool inTime = true;
        const double value = e.score >= 1.0 ? 1.0 : afterReplies(e.board, e.again, inTime);
        if (!inTime) {
            ++m_fallbacks;
            // Out of time: the best of two or more looked at, or else the judgement alone.
            if (seen < 2) return;
            break;
        }
        ++seen;
        if (value > bestValue) {
            bestValue = value;
            chosen = &e;
        }
    }
    if (!chosen) return;
    s.best.lookedAhead = true;
    s.best.score = bestValue;
    s.best.count = chosen->count;
    s.best.steps = chosen->path;
}

double StrongPlanner::valueOf(const Board& end, bool again, bool lookedAhead) {
    const int me = end.currentplayer;
    const double now = judge(sketchOf(end, me), me, end.acey);
    if (!lookedAhead) return now;
    if (now >= 1.0) return 1.0; // as the look-ahead takes a won ending
    m_deadline = cpuMs() + m_budgetMs;
    const Timed timed(*this);
    ++m_depth; // the replies are planned without a look-ahead of their own, as in plan()
    bool inTime = true;
    const double value = afterReplies(end, again, inTime);
    --m_depth;
    return inTime ? value : -1;
}

// The value of `end` for the player who made it, averaged over the next throw: the
// opponent's, who replies as well as the judgement says, or after an Acey-Deucey double the
// player's own.
double StrongPlanner::afterReplies(const Board& end, bool again, bool& inTime) {
    const int me = end.currentplayer;
    const int next = again ? me : opponentOf(me);
    Board r = end;
    r.currentplayer = next;
    double sum = 0;
    for (int a = 1; a <= kDieSides; ++a)
        for (int b = a; b <= kDieSides; ++b) {
            if (!m_outOfTime) m_outOfTime = cpuMs() > m_deadline;
            if (m_outOfTime) {
                inTime = false;
                return 0;
            }
            r.giveThrow(a, b);
            double v = -1;
            Board probe = r;
            if (sequelOf(probe, nullptr) == Sequel::MoreMoves) {
                const Plan p = plan(r);
                if (m_outOfTime) {
                    inTime = false;
                    return 0;
                }
                if (p.count > 0) v = p.score;
            }
            if (v < 0) v = judge(sketchOf(r, next), next, r.acey); // nothing to play
            sum += (a == b ? 1 : 2) * (again ? v : 1 - v);
        }
    return sum / 36;
}

double StrongPlanner::judge(const Sketch& sketch, int player, bool acey) const {
    if (m_judge) return m_judge->judge(sketch, player, acey);
    if (!hasContact(sketch)) return raceValue(sketch, acey);
    return contactValue(shippedContactNet(), sketch);
}

} // namespace bg
