// Fits the constants of Acey-Deucey's race formula before both sides are home (race.cpp) to
// how the races of the strong bot's own self-play end (without `--acey`, the same formula for
// normal games, to set beside the race network that judges those): every position without
// contact a side leaves, until both sides are home, with whether that side went on to win.
// The model is the one race.cpp uses, logit = (lead * (their count - ours) + onRoll) /
// sqrt(both counts), fitted by maximum likelihood (Newton's method); every fifth game is held
// out, and the log-loss of the fit and of the judgement compiled in are printed on those.
//
// Usage: race_fit [--games N] [--seed S] [--acey]
// The games are seeded: the same arguments give the same constants.

#include "bearofftable.h"
#include "options.h"
#include "race.h"
#include "traininggame.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace bg;
using namespace bg::training;

namespace {

struct Race {
    double ours = 0, theirs = 0; // race counts, the side judged first
    bool won = false;
    double judged = 0; // the judgement compiled in
};

struct Fit {
    double lead = 1, onRoll = 0;
    double chance(const Race& r) const {
        const double logit = (lead * (r.theirs - r.ours) + onRoll) / std::sqrt(r.ours + r.theirs);
        return 1.0 / (1.0 + std::exp(-logit));
    }
};

bool g_firstOnly = false; // --first: only the first race position of each side

// A seeded game of the shipped judgement against itself, one throw deep: the race as the
// strong bot plays it.
void collect(unsigned seed, bool acey, std::vector<Race>& out) {
    Game g(seed, nullptr);
    std::vector<std::pair<int, Race>> seen;
    auto watch = sim::onTurnEnds(g.sim, [&](int mover) {
        const Sketch s = sketchOf(g.sim.host->board(), mover);
        if (hasContact(s) || bothHome(s) || s.off[0] == kPieces) return;
        if (g_firstOnly)
            for (const auto& [seat, race] : seen)
                if (seat == mover) return;
        seen.push_back({mover, {raceCountOf(s, 0), raceCountOf(s, 1), false, raceValue(s, acey)}});
    });
    const sim::GameResult r = sim::playBotGame(g.sim, acey, false, watch);
    if (!r.finished) return;
    for (auto& [seat, race] : seen) {
        race.won = r.winner == seat;
        out.push_back(race);
    }
}

Fit fit(const std::vector<Race>& races) {
    Fit f;
    for (int round = 0; round < 50; ++round) {
        // Gradient and Hessian of the log-likelihood in (lead, onRoll).
        double g0 = 0, g1 = 0, h00 = 0, h01 = 0, h11 = 0;
        for (const Race& r : races) {
            const double root = std::sqrt(r.ours + r.theirs);
            const double x0 = (r.theirs - r.ours) / root, x1 = 1 / root;
            const double p = f.chance(r), e = (r.won ? 1.0 : 0.0) - p, v = p * (1 - p);
            g0 += e * x0;
            g1 += e * x1;
            h00 += v * x0 * x0;
            h01 += v * x0 * x1;
            h11 += v * x1 * x1;
        }
        const double det = h00 * h11 - h01 * h01;
        if (det <= 0) break;
        const double d0 = (h11 * g0 - h01 * g1) / det, d1 = (h00 * g1 - h01 * g0) / det;
        f.lead += d0;
        f.onRoll += d1;
        if (std::abs(d0) + std::abs(d1) < 1e-9) break;
    }
    return f;
}

template <typename Chance> double logLoss(const std::vector<Race>& races, Chance chance) {
    double sum = 0;
    for (const Race& r : races) {
        const double p = std::clamp(chance(r), 1e-9, 1 - 1e-9);
        sum -= std::log(r.won ? p : 1 - p);
    }
    return races.empty() ? 0 : sum / double(races.size());
}

} // namespace

int main(int argc, char** argv) {
    int games = 10000;
    unsigned seed = 1;
    bool acey = false;
    readOptions(argc, argv, "usage: race_fit [--games N] [--seed S] [--acey] [--first]\n",
                {"--acey", "--first"}, [&](std::string_view key, const char* v) {
                    if (key == "--games")
                        games = std::atoi(v);
                    else if (key == "--seed")
                        seed = unsigned(std::strtoul(v, nullptr, 10));
                    else if (key == "--acey")
                        acey = true;
                    else if (key == "--first")
                        g_firstOnly = true;
                    else
                        return false;
                    return true;
                });
    prepareRaceTables();
    std::vector<Race> fitted, held;
    for (int g = 0; g < games; ++g)
        collect((seed + 5) * kSeedSpacing * 3 + unsigned(g), acey, g % 5 == 4 ? held : fitted);
    const Fit f = fit(fitted);
    std::printf("%s races: %zu positions fitted, %zu held out\n", acey ? "Acey-Deucey" : "normal",
                fitted.size(), held.size());
    std::printf("fit: lead %.4f, onRoll %.4f\n", f.lead, f.onRoll);
    std::printf("held-out log-loss: fit %.5f, compiled-in judgement %.5f\n",
                logLoss(held, [&](const Race& r) { return f.chance(r); }),
                logLoss(held, [](const Race& r) { return r.judged; }));
    // The judgement compiled in, where it is least sure of being right: the share of races
    // won against the chances it gave, for chances of 5-25% and of 75-95%.
    for (auto [low, high] : {std::pair{0.05, 0.25}, std::pair{0.75, 0.95}}) {
        double said = 0;
        int won = 0, n = 0;
        for (const auto* set : {&fitted, &held})
            for (const Race& r : *set)
                if (r.judged >= low && r.judged < high) {
                    said += r.judged;
                    won += r.won;
                    ++n;
                }
        if (n)
            std::printf("chances %.0f-%.0f%%: %d races, said %.1f%%, won %.1f%%\n", 100 * low,
                        100 * high, n, 100 * said / n, 100.0 * won / n);
    }
    return 0;
}
