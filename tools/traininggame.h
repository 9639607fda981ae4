#pragma once
// What the trainers share: a seeded game under the host's own rules and handlers whose
// strong seats judge positions by a judgement in training.

#include "planner.h"
#include "sim_games.h"
#include "strongbot.h"
#include "weightsfile.h"

#include <memory>

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

} // namespace bg::training
