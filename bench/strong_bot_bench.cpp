// The strong bot against the standard one with full abilities: seeded games of each kind,
// the strong bot taking seat 1 and seat 2 in turn. Prints the share of games it wins and its
// CPU time per throw, from each decision to the message announcing its move.
// Usage: strong_bot_bench [games of each kind, default 1000]
// Contact positions are judged by the trained network (positionnet.h); STRONG_HAND=1 judges
// them by the hand-made weights instead, and STRONG_WEIGHTS may list replacements for those
// in the order of bg::Weights, separated by commas (an empty entry keeps the default).
// STRONG_SEEDS gives the first seed.

#include "strong_duel.h"
#include "strongbot.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

using namespace bg;

namespace {

struct Tally {
    int games = 0;
    int won = 0;
    int unfinished = 0;
    std::vector<double> throwMs;
};

// The strong seat's judgement, as the environment asks for it.
std::function<void(StrongBot&)> g_tune;

Tally playMany(int games, bool acey, unsigned firstSeed) {
    Tally t;
    for (int g = 0; g < games; ++g) {
        const int strongSeat = g % 2 == 0 ? 1 : 2;
        const auto duel = sim::playDuel(firstSeed + unsigned(g), acey, strongSeat, false, g_tune);
        ++t.games;
        if (duel.strongWon) ++t.won;
        if (!duel.game.finished) ++t.unfinished;
        t.throwMs.insert(t.throwMs.end(), duel.throwMs.begin(), duel.throwMs.end());
    }
    return t;
}

double percent(const Tally& t) {
    return t.games ? 100.0 * t.won / t.games : 0.0;
}

// Reads STRONG_WEIGHTS into the weights, in the order they are declared.
void tuneFromEnvironment() {
    const char* hand = std::getenv("STRONG_HAND");
    const bool byHand = hand && std::atoi(hand) == 1;
    if (byHand) g_tune = [](StrongBot& bot) { bot.setNet(nullptr); };
    const char* text = std::getenv("STRONG_WEIGHTS");
    if (!text) return;
    Weights w;
    double* fields[] = {&w.hitBase,   &w.hitPerPip, &w.oppBoardHit, &w.looseBlot, &w.targetBlot,
                        &w.point,     &w.homePoint, &w.anchor,      &w.primeStep, &w.bar,
                        &w.off,       &w.stack,     &w.raceLeft,    &w.deep,      &w.back,
                        &w.backAhead, &w.homeBoard, &w.combination};
    for (double* field : fields) {
        if (*text != ',' && *text) *field = std::strtod(text, nullptr);
        while (*text && *text != ',')
            ++text;
        if (!*text) break;
        ++text;
    }
    g_tune = [w, byHand](StrongBot& bot) {
        if (byHand) bot.setNet(nullptr);
        bot.setWeights(w);
    };
}

} // namespace

int main(int argc, char** argv) {
    tuneFromEnvironment();
    const int games = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
    // Tuning on other seeds than the reported ones keeps the figures honest.
    const char* seeds = std::getenv("STRONG_SEEDS");
    const unsigned firstSeed = seeds ? unsigned(std::strtoul(seeds, nullptr, 10)) : 1u;
    const Tally normal = playMany(games, false, firstSeed);
    const Tally acey = playMany(games, true, firstSeed);
    std::vector<double> all = normal.throwMs;
    all.insert(all.end(), acey.throwMs.begin(), acey.throwMs.end());
    double sum = 0, worst = 0;
    for (double ms : all) {
        sum += ms;
        worst = std::max(worst, ms);
    }
    const double mean = all.empty() ? 0.0 : sum / double(all.size());
    if (normal.unfinished || acey.unfinished)
        std::printf("unfinished games: normal %d, acey %d\n", normal.unfinished, acey.unfinished);
    std::printf("throws timed: %zu\n", all.size());
    std::printf("strong: normal %.1f%%, acey %.1f%%, mean %.3f ms, worst %.2f ms\n",
                percent(normal), percent(acey), mean, worst);
    return normal.unfinished || acey.unfinished ? 1 : 0;
}
