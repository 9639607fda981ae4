// How much the race judgement gives away in the races of real games, by games played out:
// in self-play games of the shipped judgement (normal games), at every throw of a race
// before both sides are home that can be played more than one way, the best few plays by the
// judgement are each played out `--trials` times, both sides playing by the judgement and the
// race decided exactly once both are home, every play meeting the same dice in the same
// trial. Half the trials choose the best play, the other half measure what the judgement's
// own choice lost against it, so the noise of choosing the best does not count as a loss.
// With `--look-ahead` the choice measured is the one the look-ahead makes (given all the time
// it needs), against the same plays and trials.
//
// Options: `race_check --help`. The same arguments give the same figures.

#include "options.h"
#include "playjudge.h"
#include "race.h"
#include "rollout.h"
#include "traininggame.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

using namespace bg;
using namespace bg::training;

namespace {

constexpr const char* kUsage =
    "usage: race_check [--games N] [--trials N] [--plays N] [--look-ahead]\n";

struct Options {
    int games = 40;
    int trials = 800;
    int plays = 6;
    bool lookAhead = false; // the choice measured is the look-ahead's, not the judgement's
};

Options parse(int argc, char** argv) {
    Options o;
    readOptions(argc, argv, kUsage, {"--look-ahead"}, [&o](std::string_view key, const char* v) {
        if (key == "--look-ahead")
            o.lookAhead = true;
        else if (key == "--games")
            o.games = std::max(1, std::atoi(v));
        else if (key == "--trials")
            o.trials = std::max(2, std::atoi(v));
        else if (key == "--plays")
            o.plays = std::max(StrongPlanner::kLookAheadPlays, std::atoi(v));
        else
            return false;
        return true;
    });
    return o;
}

struct Endings : PlayGenerator::Sink {
    std::vector<std::pair<double, Board>> all; // judged value, position
    void ending(const PlayEnding& e) override {
        all.push_back({raceValue(e.sketch, false), e.board});
    }
};

} // namespace

int main(int argc, char** argv) {
    const Options o = parse(argc, argv);
    prepareRaceTables();
    waitForRaceTables();
    StrongPlanner roller;
    roller.setLookAhead(false);
    // Without a clock, so that the same arguments give the same figures.
    StrongPlanner chooser;
    chooser.setBudgetMs(1e9);
    PlayGenerator generator;
    long decisions = 0, choices = 0, costly = 0, unmatched = 0;
    double loss = 0;
    for (int g = 0; g < o.games; ++g) {
        Game game(kEvalSeeds + 5 * kSeedSpacing + unsigned(g), nullptr);
        auto watch = [&](std::string_view m) {
            if (!m.starts_with("CMD_threwdice+")) return;
            const Board& now = game.sim.host->board();
            const int me = now.currentplayer;
            const Sketch before = sketchOf(now, me);
            if (hasContact(before) || bothHome(before)) return;
            ++decisions;
            Endings endings;
            generator.generate(now, endings);
            if (endings.all.size() < 2) return;
            std::stable_sort(endings.all.begin(), endings.all.end(),
                             [](const auto& a, const auto& b) { return a.first > b.first; });
            endings.all.resize(std::min(endings.all.size(), size_t(o.plays)));
            std::vector<double> choosing(endings.all.size()), measuring(endings.all.size());
            for (size_t i = 0; i < endings.all.size(); ++i)
                for (int t = 0; t < o.trials; ++t) {
                    std::mt19937 dice(unsigned(g) * 7919u + unsigned(decisions) * 104729u +
                                      unsigned(t));
                    Board end = endings.all[i].second;
                    end.currentplayer = me;
                    (t % 2 ? measuring : choosing)[i] += rollOut(end, me, dice, roller, true);
                }
            size_t own = 0;
            if (o.lookAhead) {
                const Sketch chosen = sketchOf(playedOut(now, chooser.plan(now)), me);
                while (own < endings.all.size() && sketchOf(endings.all[own].second, me) != chosen)
                    ++own;
                // A play the look-ahead chose from a tie beyond the plays kept: not measured.
                if (own == endings.all.size()) {
                    ++unmatched;
                    return;
                }
            }
            ++choices;
            const size_t best =
                size_t(std::max_element(choosing.begin(), choosing.end()) - choosing.begin());
            const double lost = (measuring[best] - measuring[own]) / (o.trials / 2);
            loss += lost;
            if (lost > 0.02) ++costly;
        };
        sim::playBotGame(game.sim, false, false, watch);
    }
    std::printf("%d games: %ld race decisions before both sides are home, %ld with a choice; "
                "lost %.5f per choice, %.5f per decision; more than 0.02 in %ld\n",
                o.games, decisions, choices, choices ? loss / double(choices) : 0,
                decisions ? loss / double(decisions) : 0, costly);
    if (unmatched) std::printf("%ld choices not among the plays measured\n", unmatched);
    return 0;
}
