#include "bearofftable.h"

#include <algorithm>
#include <atomic>

namespace bg {

namespace {

constexpr int kMaxPieces = kPieces;
using Home = BearOffTable::Home;

// ways[r][p]: the ways to put at most r pieces on p points; before[r][d][v]: the positions
// ranked before those with v pieces at distance d, with room for r pieces from d on.
struct Ways {
    std::array<std::array<int, BearOffTable::kHomePoints + 1>, kMaxPieces + 1> n{};
    std::array<std::array<std::array<int, kMaxPieces + 1>, BearOffTable::kHomePoints + 1>,
               kMaxPieces + 1>
        before{};
    Ways() {
        for (int r = 0; r <= kMaxPieces; ++r) {
            n[r][0] = 1;
            for (int p = 1; p <= BearOffTable::kHomePoints; ++p)
                n[r][p] = n[r][p - 1] + (r > 0 ? n[r - 1][p] : 0);
        }
        for (int r = 0; r <= kMaxPieces; ++r)
            for (int d = 1; d <= BearOffTable::kHomePoints; ++d)
                for (int v = 1; v <= r; ++v)
                    before[r][d][v] =
                        before[r][d][v - 1] + n[r - v + 1][BearOffTable::kHomePoints - d];
    }
};
const Ways kWays;

int pipsOf(const Home& h) {
    int pips = 0;
    for (int d = 1; d <= BearOffTable::kHomePoints; ++d)
        pips += d * h[d];
    return pips;
}

// Calls `step` with each position one die of `value` can leave, by the rules of bearing off.
template <typename Step> void forEachStep(const Home& h, int value, Step step) {
    int highest = 0;
    for (int d = BearOffTable::kHomePoints; d >= 1 && !highest; --d)
        if (h[d] > 0) highest = d;
    if (!highest) return;
    for (int d = value + 1; d <= highest; ++d) {
        if (h[d] == 0) continue;
        Home next = h;
        --next[d];
        ++next[d - value];
        step(next);
    }
    const int from = h[value] > 0 ? value : highest < value ? highest : 0;
    if (from) {
        Home next = h;
        --next[from];
        step(next);
    }
}

} // namespace

int BearOffTable::indexOf(const Home& home) {
    int index = 0;
    int room = kMaxPieces;
    for (int d = 1; d <= kHomePoints; ++d) {
        index += kWays.before[room][d][home[d]];
        room -= home[d];
    }
    return index;
}

std::vector<BearOffTable::Home> BearOffTable::stepsOf(const Home& home, int value) {
    std::vector<Home> out;
    forEachStep(home, value, [&](const Home& next) { out.push_back(next); });
    return out;
}

BearOffTable::Home BearOffTable::homeOf(int index) {
    Home h{};
    int room = kMaxPieces;
    for (int d = 1; d <= kHomePoints; ++d) {
        int v = 0;
        while (index >= kWays.n[room - v][kHomePoints - d]) {
            index -= kWays.n[room - v][kHomePoints - d];
            ++v;
        }
        h[d] = v;
        room -= v;
    }
    return h;
}

// The best ends of plays of one, two and three steps of one die value, by position: each
// level is the best over the steps from a position of the level below, so no play is
// followed out more than one step at a time.
struct BearOffTable::Partial {
    struct Best {
        int32_t index = 0;
        float mean = 0;
    };
    // By position first: the ends of one position lie together in memory.
    using Ends = std::array<std::array<Best, kDieSides + 1>, 4>;
    std::vector<Ends> ends = std::vector<Ends>(kPositions);
    Best& at(int steps, int value, int index) { return ends[index][steps][value]; }
};

namespace {
std::atomic<bool> g_abandon{false};
constexpr int kAbandonCheckEvery = 1024;
} // namespace

void abandonBearOffTables() {
    g_abandon = true;
}

BearOffTable::BearOffTable(bool acey)
    : m_acey(acey), m_dist(size_t(kPositions) * kMaxTurns, 0.0f), m_mean(kPositions, 0.0f),
      m_bestDouble(kPositions, 0) {
    // Every play lowers the pips, so positions solved in the order of their pips find the
    // positions they lead to solved already.
    std::vector<std::pair<int, int>> order(kPositions);
    for (int i = 0; i < kPositions; ++i)
        order[i] = {pipsOf(homeOf(i)), i};
    std::sort(order.begin(), order.end());
    m_dist[0] = 1.0f; // nothing left: no turn needed
    Partial partial;
    for (int i = 1; i < kPositions; ++i) {
        if (i % kAbandonCheckEvery == 0 && g_abandon.load(std::memory_order_relaxed)) return;
        solve(order[i].second, partial);
    }
}

void BearOffTable::solve(int index, Partial& partial) {
    const Home h = homeOf(index);
    float* dist = &m_dist[size_t(index) * kMaxTurns];
    // The best end after one more step of `value`, then `steps` more from the level below.
    auto bestAfter = [&](const Home& from, int value, int steps) {
        Partial::Best best{-1, 0};
        forEachStep(from, value, [&](const Home& next) {
            const int i = indexOf(next);
            const Partial::Best b =
                steps == 0 ? Partial::Best{i, m_mean[i]} : partial.at(steps, value, i);
            if (best.index < 0 || b.mean < best.mean) best = b;
        });
        return best;
    };
    // A finished turn adds one to the turns of the position it leaves.
    auto addAfterTurn = [&](int child, float weight) {
        const float* from = &m_dist[size_t(child) * kMaxTurns];
        for (int t = 0; t + 1 < kMaxTurns; ++t)
            dist[t + 1] += weight * from[t];
    };
    for (int value = 1; value <= kDieSides; ++value)
        for (int steps = 0; steps < 3; ++steps)
            partial.at(steps + 1, value, index) = bestAfter(h, value, steps);
    Partial::Best bestDouble{-1, 0};
    for (int a = 1; a <= kDieSides; ++a)
        for (int b = a; b <= kDieSides; ++b) {
            const float weight = (a == b ? 1.0f : 2.0f) / 36.0f;
            if (a == b) {
                const Partial::Best end = bestAfter(h, a, 3);
                if (bestDouble.index < 0 || end.mean < bestDouble.mean) bestDouble = end;
                addAfterTurn(end.index, weight);
                continue;
            }
            if (m_acey && a == 1 && b == 2) {
                // The 1 and the 2, then the best double: the turn goes on from there.
                int end = -1;
                float endMean = 0;
                auto consider = [&](int first, int second) {
                    auto judge = [&](int after) {
                        const int e = after == 0 ? 0 : m_bestDouble[after];
                        const float m = e == 0 ? -1.0f : m_mean[e];
                        if (end < 0 || m < endMean) {
                            end = e;
                            endMean = m;
                        }
                    };
                    forEachStep(h, first, [&](const Home& next) {
                        if (indexOf(next) == 0) return judge(0);
                        forEachStep(next, second, [&](const Home& last) { judge(indexOf(last)); });
                    });
                };
                consider(1, 2);
                consider(2, 1);
                if (end == 0) {
                    dist[1] += weight;
                } else {
                    const float* from = &m_dist[size_t(end) * kMaxTurns];
                    for (int t = 0; t < kMaxTurns; ++t)
                        dist[t] += weight * from[t];
                }
                continue;
            }
            Partial::Best end{-1, 1e9f};
            auto consider = [&](int first, int second) {
                forEachStep(h, first, [&](const Home& next) {
                    const Partial::Best e = partial.at(1, second, indexOf(next));
                    if (e.mean < end.mean) end = e;
                });
            };
            consider(a, b);
            consider(b, a);
            addAfterTurn(end.index, weight);
        }
    m_bestDouble[index] = bestDouble.index;
    float m = 0;
    for (int t = 0; t < kMaxTurns; ++t)
        m += float(t) * dist[t];
    m_mean[index] = m;
}

const BearOffTable& bearOffTable(bool acey) {
    // Computed once; a caller that comes while another thread computes waits for it.
    if (acey) {
        static const BearOffTable aceyTable(true);
        return aceyTable;
    }
    static const BearOffTable normalTable(false);
    return normalTable;
}

bool bothHome(const Sketch& s) {
    for (int k = 0; k < 2; ++k)
        for (int d = BearOffTable::kHomePoints + 1; d <= kFullDistance; ++d)
            if (s.n[k][d] > 0) return false;
    return true;
}

double bearOffChance(const Sketch& s, bool acey) {
    if (s.off[1] == kPieces) return 0;
    if (s.off[0] == kPieces) return 1;
    const BearOffTable& table = bearOffTable(acey);
    Home mine{}, theirs{};
    for (int d = 1; d <= BearOffTable::kHomePoints; ++d) {
        mine[d] = s.n[0][d];
        theirs[d] = s.n[1][d];
    }
    const float* me = table.distribution(BearOffTable::indexOf(mine));
    const float* them = table.distribution(BearOffTable::indexOf(theirs));
    // Side 1 throws first: side 0 wins when it needs fewer turns.
    double win = 0, themLater = 1;
    for (int t = 0; t < BearOffTable::kMaxTurns; ++t) {
        themLater -= them[t]; // side 1 needs more than t turns
        win += double(me[t]) * std::max(0.0, themLater);
    }
    return win;
}

} // namespace bg
