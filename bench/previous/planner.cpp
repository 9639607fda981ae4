#include "planner.h"

#include "moverules.h"

#include <cstring>

namespace bg::previous {

namespace {

constexpr int kMaxMoves = 4;         // the most dice one throw (or one double choice) gives
constexpr int kDoubleCandidates = 1; // 1-2 endings whose doubles are searched in full

uint64_t keyOf(const Sketch& sketch, const Dice& dice, uint64_t extra) {
    static_assert(sizeof(Sketch) == 56, "a sketch hashes as seven words");
    uint64_t words[7];
    std::memcpy(words, &sketch, sizeof sketch);
    auto byte = [](int32_t v) { return static_cast<uint64_t>(static_cast<uint8_t>(v)); };
    uint64_t h = byte(dice.die1) | byte(dice.die2) << 8 | byte(dice.double1) << 16 |
                 byte(dice.double2) << 24 | extra << 32;
    for (uint64_t w : words) {
        h ^= w;
        h *= 0xff51afd7ed558ccdull;
        h ^= h >> 32;
    }
    return h;
}

} // namespace

struct StrongPlanner::Search {
    int player = 0;
    std::array<PlannedStep, kMaxPlanSteps> path{};
    Plan best;
    // Endings that still wait for the Acey-Deucey double, the best few by their look now.
    struct Pending {
        Board board;
        int count = 0;
        double score = -1;
        std::array<PlannedStep, kMaxPlanSteps> path{};
    };
    std::array<Pending, kDoubleCandidates> pending{};
    int pendingCount = 0;
    long positions = 0;
};

Plan StrongPlanner::plan(const Board& b) {
    Search s;
    s.player = b.currentplayer;
    forgetSeen();
    if (isPlayer(s.player)) expand(s, b, 0);
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

void StrongPlanner::expand(Search& s, const Board& b, int depth) {
    const int p = s.player;
    const Side& mine = b.side[p];
    int values[2];
    int n = 0;
    if (b.dice.die1 != 0) values[n++] = b.dice.die1;
    if (b.dice.die2 != 0 && b.dice.die2 != b.dice.die1) values[n++] = b.dice.die2;

    auto tryMove = [&](int piece, int to) {
        const MoveCheck c = checkMove(b, p, piece, to);
        if (c.error) return;
        Board next = b;
        applyMove(next, p, c, to);
        visit(s, next, {PlannedStep::Kind::Move, c.piece, to}, depth);
    };

    if (!mine.barEmpty()) {
        // Pieces on the bar are all alike: the first one stands for them.
        int piece = 0;
        for (int i = 1; i <= kPieces && !piece; ++i)
            piece = mine.bar[i];
        for (int k = 0; k < n; ++k)
            tryMove(piece, entryPoint(p, values[k]));
        return;
    }
    uint32_t pointsTried = 0;
    for (int id = 1; id <= kPieces; ++id) {
        const int from = mine.pawns[id].point;
        if (!isGridPoint(from) || (pointsTried & (1u << from))) continue;
        pointsTried |= 1u << from; // the host moves the top piece of a point anyway
        for (int k = 0; k < n; ++k) {
            const int to = targetPoint(p, from, values[k]);
            if (isBoardPoint(to)) {
                tryMove(id, to);
                continue;
            }
            if (!isBoardPoint(from)) continue;
            const BearOffCheck c = checkBearOff(b, p, id, values[k]);
            if (c.error) continue;
            Board next = b;
            applyBearOff(next, p, c);
            visit(s, next, {PlannedStep::Kind::BearOff, c.piece, values[k]}, depth);
        }
    }
}

void StrongPlanner::visit(Search& s, Board& next, const PlannedStep& step, int depth) {
    s.path[depth] = step;
    const Sequel sequel = sequelOf(next, nullptr);
    const Sketch sketch = sketchOf(next, s.player);
    const uint64_t extra = static_cast<uint64_t>(sequel) + (next.aceypending ? 4u : 0u);
    if (!firstSight(keyOf(sketch, next.dice, extra))) return;
    ++s.positions;
    if (sequel == Sequel::MoreMoves && depth + 1 < kMaxMoves) {
        expand(s, next, depth + 1);
        return;
    }
    const double score = judge(sketch);
    if (sequel == Sequel::ChooseDouble) {
        // Keep the best few; the double decides later what they are really worth.
        int slot = s.pendingCount < kDoubleCandidates ? s.pendingCount++ : -1;
        if (slot < 0) {
            slot = 0;
            for (int i = 1; i < kDoubleCandidates; ++i)
                if (s.pending[i].score < s.pending[slot].score) slot = i;
            if (s.pending[slot].score >= score) return;
        }
        auto& keep = s.pending[slot];
        keep.board = next;
        keep.score = score;
        keep.count = depth + 1;
        keep.path = s.path;
        return;
    }
    if (score <= s.best.score) return;
    s.best.score = score;
    s.best.count = depth + 1;
    s.best.steps = s.path;
}

void StrongPlanner::refineDoubles(Search& s) {
    for (int i = 0; i < s.pendingCount; ++i) {
        const auto& ending = s.pending[i];
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

bool StrongPlanner::firstSight(uint64_t key) {
    if (m_seenCount >= kSeenSlots / 4 * 3) return true; // full: judge repeats again
    uint32_t slot = static_cast<uint32_t>(key) & (kSeenSlots - 1);
    while (m_seen[slot].stamp == m_stamp) {
        if (m_seen[slot].key == key) return false;
        slot = (slot + 1) & (kSeenSlots - 1);
    }
    m_seen[slot] = {key, m_stamp};
    ++m_seenCount;
    return true;
}

void StrongPlanner::forgetSeen() {
    m_seenCount = 0;
    if (++m_stamp == 0) {
        m_seen.fill({});
        m_stamp = 1;
    }
}

} // namespace bg::previous
