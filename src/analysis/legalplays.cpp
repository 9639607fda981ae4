#include "legalplays.h"

#include "moverules.h"

#include <cstring>
#include <memory>

namespace bg {

uint64_t sketchKey(const Sketch& sketch, const Dice& dice, uint64_t extra) {
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

struct PlayGenerator::Walk {
    int player = 0;
    Sink* sink = nullptr;
    StepPath path{};
    long positions = 0;
};

long PlayGenerator::generate(const Board& b, Sink& sink) {
    Walk w;
    w.player = b.currentplayer;
    w.sink = &sink;
    forgetSeen();
    if (isPlayer(w.player)) expand(w, b, 0);
    return w.positions;
}

void PlayGenerator::expand(Walk& w, const Board& b, int depth) {
    const int p = w.player;
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
        visit(w, next, {PlannedStep::Kind::Move, c.piece, to}, depth);
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
            visit(w, next, {PlannedStep::Kind::BearOff, c.piece, values[k]}, depth);
        }
    }
}

void PlayGenerator::visit(Walk& w, Board& next, const PlannedStep& step, int depth) {
    if (w.sink->stopped()) return;
    w.path[depth] = step;
    const Sequel sequel = sequelOf(next, nullptr);
    const Sketch sketch = sketchOf(next, w.player);
    const uint64_t extra = static_cast<uint64_t>(sequel) + (next.aceypending ? 4u : 0u);
    if (!firstSight(sketchKey(sketch, next.dice, extra))) return;
    ++w.positions;
    if (sequel == Sequel::MoreMoves && depth + 1 < kMaxMoves) {
        expand(w, next, depth + 1);
        return;
    }
    w.sink->ending({next, sketch, w.path, depth + 1, sequel == Sequel::ChooseDouble});
}

bool PlayGenerator::firstSight(uint64_t key) {
    if (m_seenCount >= kSeenSlots / 4 * 3) return true; // full: report repeats again
    uint32_t slot = static_cast<uint32_t>(key) & (kSeenSlots - 1);
    while (m_seen[slot].stamp == m_stamp) {
        if (m_seen[slot].key == key) return false;
        slot = (slot + 1) & (kSeenSlots - 1);
    }
    m_seen[slot] = {key, m_stamp};
    ++m_seenCount;
    return true;
}

void PlayGenerator::forgetSeen() {
    m_seenCount = 0;
    if (++m_stamp == 0) {
        m_seen.fill({});
        m_stamp = 1;
    }
}

std::vector<LegalPlay> legalPlays(const Board& b) {
    struct Collect : PlayGenerator::Sink {
        std::vector<LegalPlay> plays;
        void ending(const PlayEnding& e) override {
            plays.push_back(
                {{e.steps.begin(), e.steps.begin() + e.count}, e.board, e.awaitsDouble});
        }
    } collect;
    // The table of positions seen is too large for a thread's stack.
    auto generator = std::make_unique<PlayGenerator>();
    generator->generate(b, collect);
    return std::move(collect.plays);
}

} // namespace bg
