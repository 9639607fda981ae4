// How much the strong bot's plays give away, by games played out: in self-play games of the
// shipped judgement (normal games), at every throw that can be played more than one way (of
// the kind asked for: races before both sides are home, positions with contact, or both),
// the best few plays by the judgement are each played out `--trials` times, both sides
// playing by the judgement and a race decided exactly once both are home, every play meeting
// the same dice in the same trial. Half the trials choose the best play, the other half
// measure what the choice lost against it, so the noise of choosing the best does not count
// as a loss (what noise is left makes the figure, if anything, too kind). With `--look-ahead`
// the choice measured is the one the look-ahead makes (given all the time it needs), against
// the same plays and trials. With `--horizon N` each trial stops after N throws and the
// judgement of the position it reached is its result: what a position with contact needs,
// since a game played out to the end from there is mostly dice.
//
// Losses are in winning chances; twice that is the loss in equity (2p - 1), the scale on
// which a player's mistakes are usually counted, and which the summary prints too.
//
// Options: `decision_check --help`. The same arguments give the same figures.

#include "options.h"
#include "playjudge.h"
#include "race.h"
#include "rollout.h"
#include "traininggame.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

using namespace bg;
using namespace bg::training;

namespace {

constexpr const char* kUsage =
    "usage: decision_check [--positions race|contact|all] [--games N] [--trials N]\n"
    "       [--plays N] [--horizon THROWS] [--look-ahead]\n";

enum class Kind { Race, Contact, All };

struct Options {
    Kind kind = Kind::Race;
    int games = 40;
    int trials = 800;
    int plays = 6;
    int horizon = kMaxRolloutTurns;
    bool lookAhead = false; // the choice measured is the look-ahead's, not the judgement's
};

Options parse(int argc, char** argv) {
    Options o;
    readOptions(argc, argv, kUsage, {"--look-ahead"}, [&o](std::string_view key, const char* v) {
        if (key == "--look-ahead")
            o.lookAhead = true;
        else if (key == "--positions") {
            if (!std::strcmp(v, "race"))
                o.kind = Kind::Race;
            else if (!std::strcmp(v, "contact"))
                o.kind = Kind::Contact;
            else if (!std::strcmp(v, "all"))
                o.kind = Kind::All;
            else
                return false;
        } else if (key == "--games")
            o.games = std::max(1, std::atoi(v));
        else if (key == "--trials")
            o.trials = std::max(2, std::atoi(v));
        else if (key == "--plays")
            o.plays = std::max(StrongPlanner::kLookAheadPlays, std::atoi(v));
        else if (key == "--horizon")
            o.horizon = std::max(1, std::atoi(v));
        else
            return false;
        return true;
    });
    return o;
}

bool wanted(Kind kind, const Sketch& before) {
    if (bothHome(before) && !hasContact(before)) return false; // exact: nothing to give away
    if (kind == Kind::All) return true;
    return hasContact(before) == (kind == Kind::Contact);
}

struct Endings : PlayGenerator::Sink {
    std::vector<Board> all;
    void ending(const PlayEnding& e) override { all.push_back(e.board); }
};

// What the decisions of one kind gave away.
struct Tally {
    long decisions = 0, choices = 0, costly = 0, blunders = 0, unmatched = 0, unseen = 0;
    double loss = 0;
    void add(double lost, size_t best) {
        ++choices;
        // The best by the trials was not among the plays the look-ahead looks at.
        if (best >= size_t(StrongPlanner::kLookAheadPlays)) ++unseen;
        loss += lost;
        if (lost > 0.02) ++costly;
        if (lost > 0.04) ++blunders; // 0.08 of equity
    }
    void print(const char* kind) const {
        std::printf("  %s: %ld decisions, %ld with a choice; lost %.5f per choice, %.5f per "
                    "decision; more than 0.02 in %ld, more than 0.04 in %ld; the best beyond the "
                    "look-ahead's %d plays in %ld\n",
                    kind, decisions, choices, choices ? loss / double(choices) : 0,
                    decisions ? loss / double(decisions) : 0, costly, blunders,
                    StrongPlanner::kLookAheadPlays, unseen);
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
    Tally race, contact;
    for (int g = 0; g < o.games; ++g) {
        Game game(kEvalSeeds + 5 * kSeedSpacing + unsigned(g), nullptr);
        auto watch = [&](std::string_view m) {
            if (!m.starts_with("CMD_threwdice+")) return;
            const Board& now = game.sim.host->board();
            const int me = now.currentplayer;
            const Sketch before = sketchOf(now, me);
            if (!wanted(o.kind, before)) return;
            Tally& tally = hasContact(before) ? contact : race;
            ++tally.decisions;
            Endings endings;
            generator.generate(now, endings);
            if (endings.all.size() < 2) return;
            std::vector<std::pair<double, Board>> plays;
            for (Board end : endings.all) {
                end.currentplayer = me;
                plays.push_back({roller.valueOf(end, false, false), end});
            }
            std::stable_sort(plays.begin(), plays.end(),
                             [](const auto& a, const auto& b) { return a.first > b.first; });
            plays.resize(std::min(plays.size(), size_t(o.plays)));
            std::vector<double> choosing(plays.size()), measuring(plays.size());
            const unsigned decision = unsigned(race.decisions + contact.decisions);
            for (size_t i = 0; i < plays.size(); ++i)
                for (int t = 0; t < o.trials; ++t) {
                    std::mt19937 dice(unsigned(g) * 7919u + decision * 104729u + unsigned(t));
                    (t % 2 ? measuring : choosing)[i] +=
                        rollOut(plays[i].second, me, dice, roller, true, o.horizon);
                }
            size_t own = 0;
            if (o.lookAhead) {
                const Sketch chosen = sketchOf(playedOut(now, chooser.plan(now)), me);
                while (own < plays.size() && sketchOf(plays[own].second, me) != chosen)
                    ++own;
                // A play the look-ahead chose from beyond the plays kept: not measured.
                if (own == plays.size()) {
                    ++tally.unmatched;
                    return;
                }
            }
            const size_t best =
                size_t(std::max_element(choosing.begin(), choosing.end()) - choosing.begin());
            tally.add((measuring[best] - measuring[own]) / (o.trials / 2), best);
        };
        sim::playBotGame(game.sim, false, false, watch);
    }
    std::printf(
        "%d games, %s, %d trials of each of %d plays%s:\n", o.games,
        o.lookAhead ? "the look-ahead's choices" : "the judgement's choices", o.trials, o.plays,
        o.horizon < kMaxRolloutTurns ? (", " + std::to_string(o.horizon) + " throws deep").c_str()
                                     : ", played to the end");
    if (o.kind != Kind::Contact) race.print("races before both sides are home");
    if (o.kind != Kind::Race) contact.print("with contact");
    const long decisions = race.decisions + contact.decisions;
    const double loss = race.loss + contact.loss;
    std::printf("all: %ld decisions, lost %.5f of winning chances per decision (%.5f of "
                "equity)\n",
                decisions, decisions ? loss / double(decisions) : 0,
                decisions ? 2 * loss / double(decisions) : 0);
    const long unmatched = race.unmatched + contact.unmatched;
    if (unmatched) std::printf("%ld choices not among the plays measured\n", unmatched);
    return 0;
}
