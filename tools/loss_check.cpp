// How the strong bot's games against the standard bot are lost: on the seeds of the strong
// bot's benchmark (the strong side in seat 1 and seat 2 in turn, under the host's own rules
// and handlers), it counts the games won, and sorts the lost ones by how they ended and by the
// best chances the strong side had during the game.
//
// Options: `loss_check --help`. `--player previous` lets the frozen previous strong bot take
// the strong side, to set the two side by side on the same dice. Chances are always as the
// shipped network judges them, after each of the strong side's turns (the first two left
// out: every game starts near even).

#include "options.h"
#include "previous/previousseat.h"
#include "race.h"
#include "strong_duel.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace bg;
using namespace bg::training;

namespace {

struct Options {
    int games = 1000;
    unsigned seed = 1;
    bool previous = false;
    bool list = false;
};

constexpr const char* kUsage = "usage: loss_check [--games N] [--seed S] "
                               "[--player shipped|previous] [--list]\n";

Options parse(int argc, char** argv) {
    Options o;
    readOptions(argc, argv, kUsage, {"--list"}, [&o](std::string_view key, const char* v) {
        if (key == "--list")
            o.list = true;
        else if (key == "--games")
            o.games = std::max(1, std::atoi(v));
        else if (key == "--seed")
            o.seed = unsigned(std::strtoul(v, nullptr, 10));
        else if (key == "--player" && (!std::strcmp(v, "shipped") || !std::strcmp(v, "previous")))
            o.previous = !std::strcmp(v, "previous");
        else
            return false;
        return true;
    });
    return o;
}

// One game as the strong side saw it.
struct Course {
    bool won = false;
    bool contactAtEnd = true;
    double best = 0;           // its best chances after one of its turns
    double whenRaceBegan = -1; // its chances when contact ended, if it did
    int turns = 0;
};

Course play(unsigned seed, int seat, PreviousSeat* previous) {
    sim::Sim s(seed, sim::DuelSettings::kDuelBotDelayMs, true);
    sim::DuelSettings settings;
    settings.strongSeat = seat;
    s.host = std::make_unique<TServer>(s.outbox, s.clock, s.random, settings);
    settings.host = s.host.get();
    if (previous) s.host->strongBot().setSeatPlanner(seat, previous);
    StrongPlanner judge;
    Course c;
    auto watch = sim::onTurnEnds(s, [&](int mover) {
        Board b = s.host->board();
        b.currentplayer = seat;
        const bool contact = hasContact(sketchOf(b, seat));
        const double chances = judge.valueOf(b, false, false);
        if (mover == seat && ++c.turns > 2) c.best = std::max(c.best, chances);
        if (c.contactAtEnd && !contact) c.whenRaceBegan = chances;
        c.contactAtEnd = contact;
    });
    const sim::GameResult result = sim::playBotGame(s, false, false, watch);
    c.won = result.finished && result.winner == seat;
    return c;
}

} // namespace

int main(int argc, char** argv) {
    const Options o = parse(argc, argv);
    prepareRaceTables();
    waitForRaceTables();
    PreviousSeat previous;
    int won = 0, lost = 0, inContact = 0, raceAhead = 0, raceBehind = 0;
    int byBest[10] = {};
    for (int g = 0; g < o.games; ++g) {
        const unsigned seed = o.seed + unsigned(g);
        const int seat = g % 2 == 0 ? 1 : 2;
        const Course c = play(seed, seat, o.previous ? &previous : nullptr);
        if (c.won) {
            ++won;
            continue;
        }
        ++lost;
        ++byBest[std::clamp(int(c.best * 10), 0, 9)];
        if (c.contactAtEnd)
            ++inContact;
        else
            ++(c.whenRaceBegan >= 0.5 ? raceAhead : raceBehind);
        if (o.list && c.contactAtEnd)
            std::printf("lost: seed %u, seat %d, %d turns, best chances %.3f, contact to the end\n",
                        seed, seat, c.turns, c.best);
        else if (o.list)
            std::printf("lost: seed %u, seat %d, %d turns, best chances %.3f, a race from %.3f\n",
                        seed, seat, c.turns, c.best, c.whenRaceBegan);
    }
    std::printf("%s: %d games, %d won (%.1f%%)\n", o.previous ? "previous" : "shipped", o.games,
                won, 100.0 * won / o.games);
    std::printf("lost %d: contact to the end %d; a race after contact, ahead when it began %d, "
                "behind %d\n",
                lost, inContact, raceAhead, raceBehind);
    std::printf("lost games by the best chances during the game (0.0-0.1 ... 0.9-1.0):");
    for (int n : byBest)
        std::printf(" %d", n);
    std::printf("\n");
    return 0;
}
