#pragma once
// What the trainers share: a seeded game under the host's own rules and handlers whose
// strong seats judge positions by a judgement in training.

#include "planner.h"
#include "sim_games.h"
#include "strongbot.h"
#include "weightsfile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace bg::training {

inline constexpr unsigned kSeedSpacing = 1000000;
inline constexpr unsigned kEvalSeeds = 770000000; // far from the seeds of tests and benchmarks
inline constexpr int kBotDelayMs = 500;

// Every seat the bot plays is strong but `standardSeat`, which the standard bot plays with
// full abilities; the judge decides whose judgement a strong seat uses.
class AllStrong : public BotSettings {
  public:
    const TServer* host = nullptr;
    int standardSeat = 0;
    int botDelayMs() const override { return kBotDelayMs; }
    bool botNotLimited() const override { return true; }
    int botAbility() const override {
        const bool standard = host && standardSeat && host->board().currentplayer == standardSeat;
        return standard ? kAbilityNotLimited : kAbilityStrong;
    }
};

// A game whose strong bot judges by `judge` (null: the shipped judgement) and plays by the
// judgement alone (no look-ahead: many more games in the same time).
struct Game {
    sim::Sim sim;
    AllStrong settings;
    Game(unsigned seed, const PositionJudge* judge, int standardSeat = 0)
        : sim(seed, kBotDelayMs, true) {
        settings.standardSeat = standardSeat;
        sim.host = std::make_unique<TServer>(sim.outbox, sim.clock, sim.random, settings);
        settings.host = sim.host.get();
        sim.host->strongBot().planner().setJudge(judge);
        sim.host->strongBot().planner().setLookAhead(false);
    }
};

// What every trainer's run is given: how many games, the seed, where the weights and the
// curve go, how often and with how many games it is measured, the share of Acey-Deucey games,
// and TD(lambda)'s step sizes (falling geometrically from the first to the last) and lambda.
struct RunOptions {
    int games = 100000;
    unsigned seed = 1;
    std::string out;
    std::string curve;
    int every = 5000;
    int evalGames = 400;
    int aceyShare = 25;
    double alpha0 = 0.02, alpha1 = 0.002;
    double lambda = 0.7;

    // Takes "--key value" when it is one of the above.
    bool read(const std::string& key, const char* v) {
        if (key == "--games")
            games = std::max(1, std::atoi(v));
        else if (key == "--seed")
            seed = unsigned(std::strtoul(v, nullptr, 10));
        else if (key == "--out")
            out = v;
        else if (key == "--curve")
            curve = v;
        else if (key == "--every")
            every = std::max(1, std::atoi(v));
        else if (key == "--eval-games")
            evalGames = std::max(0, std::atoi(v));
        else if (key == "--acey")
            aceyShare = std::atoi(v);
        else if (key == "--alpha")
            std::sscanf(v, "%lf,%lf", &alpha0, &alpha1);
        else if (key == "--lambda")
            lambda = std::atof(v);
        else
            return false;
        return true;
    }
    double alphaAt(int game) const {
        return alpha0 * std::pow(alpha1 / alpha0, double(game) / games);
    }
};

// Reads every "--key value" pair into `o` (a RunOptions), offering those it does not know to
// `more`; an option neither knows ends the program.
template <class Options, class More>
void readOptions(int argc, char** argv, Options& o, More more) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string key = argv[i];
        if (o.read(key, argv[i + 1]) || more(key, argv[i + 1])) continue;
        std::fprintf(stderr, "unknown option %s\n", key.c_str());
        std::exit(2);
    }
}

} // namespace bg::training
