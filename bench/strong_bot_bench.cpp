// The strong bot against its frozen previous self (bench/previous) and against the standard
// bot with full abilities, in seeded games under the host's own rules and handlers.
//
//  - vs-previous: normal games with duplicate dice: each seed is played twice, the strong bot
//    taking seat 1 and then seat 2, so both bots meet the same throws from the same seat;
//  - vs-standard: normal games, the strong bot taking seat 1 and seat 2 in turn;
//  - acey vs-previous: Acey-Deucey games, each seed twice as above.
// It prints the share of games the strong bot wins, its CPU time per throw (the whole choice,
// look-ahead included, from each decision to the message announcing its move) and the speed
// of the contact network on positions of real games (one core, nothing cached).
// Usage: strong_bot_bench [normal seeds vs previous, default 1000] [acey seeds, default 500]
//                         [games vs standard, default 1000]
// STRONG_SEEDS gives the first seed; STRONG_THREADS how many games run at once (default 2):
// each game has its own host, and every time is the CPU time of the thread that plays it.

#include "previous/previousseat.h"
#include "race.h"
#include "strong_duel.h"
#include "strongbot.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>

using namespace bg;

namespace {

// Both seats play strong; one of them by the previous planner. Times the other's decisions.
class BothStrong : public sim::DuelSettings {
  public:
    int botAbility() const override {
        sim::DuelSettings::botAbility(); // starts the timing for the strong seat
        return kAbilityStrong;
    }
};

// Throws whose look-ahead ran out of time, in the games against the previous bot.
std::atomic<long> g_fallbacks{0};

struct Tally {
    int games = 0;
    int won = 0;
    int unfinished = 0;
    std::vector<double> throwMs;
    void add(const sim::DuelResult& duel) {
        ++games;
        if (duel.strongWon) ++won;
        if (!duel.game.finished) ++unfinished;
        throwMs.insert(throwMs.end(), duel.throwMs.begin(), duel.throwMs.end());
    }
    double percent() const { return games ? 100.0 * won / games : 0.0; }
};

sim::DuelResult playPrevious(PreviousSeat& previous, unsigned seed, bool acey, int strongSeat) {
    sim::Sim s(seed, sim::DuelSettings::kDuelBotDelayMs, true);
    BothStrong settings;
    settings.strongSeat = strongSeat;
    s.host = std::make_unique<TServer>(s.outbox, s.clock, s.random, settings);
    settings.host = s.host.get();
    s.host->strongBot().setSeatPlanner(3 - strongSeat, &previous);
    sim::DuelResult duel;
    double thisThrow = 0;
    auto watch = [&](std::string_view m) {
        const double ms = settings.decisionEnded();
        if (ms >= 0) thisThrow += ms;
        if (m.starts_with("CMD_nextplayer+") || m.starts_with("CMD_winner+")) {
            if (thisThrow > 0) duel.throwMs.push_back(thisThrow);
            thisThrow = 0;
        }
    };
    duel.game = sim::playBotGame(s, acey, false, watch);
    duel.strongWon = duel.game.finished && duel.game.winner == strongSeat;
    g_fallbacks += s.host->strongBot().planner().fallbacks();
    return duel;
}

// Runs game(i) for i in [0, count) on `threads` threads, each adding to its own tally.
template <typename Game> Tally inParallel(int count, int threads, Game game) {
    std::vector<Tally> parts(static_cast<size_t>(threads));
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back([&, t] {
            for (int i = t; i < count; i += threads)
                parts[size_t(t)].add(game(i));
        });
    for (std::thread& w : workers)
        w.join();
    Tally all;
    for (const Tally& part : parts) {
        all.games += part.games;
        all.won += part.won;
        all.unfinished += part.unfinished;
        all.throwMs.insert(all.throwMs.end(), part.throwMs.begin(), part.throwMs.end());
    }
    return all;
}

Tally againstPrevious(int seeds, bool acey, unsigned firstSeed, int threads) {
    // Each seed twice, the strong bot in seat 1 and then in seat 2.
    return inParallel(2 * seeds, threads, [&](int i) {
        thread_local PreviousSeat previous;
        return playPrevious(previous, firstSeed + unsigned(i / 2), acey, 1 + i % 2);
    });
}

Tally againstStandard(int games, unsigned firstSeed, int threads) {
    return inParallel(games, threads, [&](int i) {
        return sim::playDuel(firstSeed + unsigned(i), false, i % 2 == 0 ? 1 : 2, false);
    });
}

// Collects the contact positions the strong bot judges in a few games.
class Collector : public PositionJudge {
  public:
    mutable std::vector<Sketch> seen;
    double judge(const Sketch& s, int, bool acey) const override {
        if (!hasContact(s)) return raceValue(s, acey);
        seen.push_back(s);
        return contactValue(shippedContactNet(), s);
    }
};

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

double evalSpeed(unsigned firstSeed) {
    Collector collector;
    for (unsigned g = 0; g < 10; ++g)
        sim::playDuel(firstSeed + 500000 + g, false, g % 2 == 0 ? 1 : 2, false,
                      [&](StrongBot& bot) {
                          bot.planner().setJudge(&collector);
                          bot.planner().setLookAhead(false);
                      });
    const std::vector<Sketch>& positions = collector.seen;
    if (positions.empty()) return 0;
    double sum = 0;
    long n = 0;
    const double started = cpuSeconds();
    for (int round = 0; round < 10; ++round)
        for (const Sketch& s : positions) {
            sum += contactValue(shippedContactNet(), s);
            ++n;
        }
    const double spent = cpuSeconds() - started;
    if (sum < 0) std::printf("impossible\n"); // keeps the loop from being optimised away
    return double(n) / spent;
}

} // namespace

int main(int argc, char** argv) {
    const int normalSeeds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
    const int aceySeeds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 500;
    const int standardGames = argc > 3 ? std::max(1, std::atoi(argv[3])) : 1000;
    const char* seeds = std::getenv("STRONG_SEEDS");
    const unsigned firstSeed = seeds ? unsigned(std::strtoul(seeds, nullptr, 10)) : 1u;
    const char* threadsText = std::getenv("STRONG_THREADS");
    const int threads = std::max(1, threadsText ? std::atoi(threadsText) : 2);
    // The same judgement from the first game on: the bear-off tables are computed first.
    prepareRaceTables();
    waitForRaceTables();

    const double speed = evalSpeed(firstSeed);
    const Tally previous = againstPrevious(normalSeeds, false, firstSeed, threads);
    std::printf("vs-previous: %d games, %.1f%%\n", previous.games, previous.percent());
    std::fflush(stdout);
    const Tally acey = againstPrevious(aceySeeds, true, firstSeed, threads);
    std::printf("acey vs-previous: %d games, %.1f%%\n", acey.games, acey.percent());
    std::fflush(stdout);
    const Tally standard = againstStandard(standardGames, firstSeed, threads);
    std::printf("vs-standard: %d games, %.1f%%\n", standard.games, standard.percent());

    std::vector<double> all = previous.throwMs;
    for (const Tally* t : {&acey, &standard})
        all.insert(all.end(), t->throwMs.begin(), t->throwMs.end());
    double sum = 0, worst = 0;
    for (double ms : all) {
        sum += ms;
        worst = std::max(worst, ms);
    }
    const double mean = all.empty() ? 0.0 : sum / double(all.size());
    const int unfinished = previous.unfinished + acey.unfinished + standard.unfinished;
    if (unfinished) std::printf("unfinished games: %d\n", unfinished);
    std::printf("throws timed: %zu, look-ahead out of time (vs previous): %ld\n", all.size(),
                g_fallbacks.load());
    std::printf("eval: %.0f positions/s\n", speed);
    std::printf("strong: vs-previous %.1f%%, vs-standard %.1f%%, acey vs-previous %.1f%%, "
                "mean %.3f ms, worst %.2f ms\n",
                previous.percent(), standard.percent(), acey.percent(), mean, worst);
    return unfinished ? 1 : 0;
}
