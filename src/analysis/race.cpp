#include "race.h"

#include "bearofftable.h"
#include "racenet.h"

#include <atomic>
#include <cmath>
#include <future>

namespace bg {

namespace {

std::atomic<bool> g_started{false};
std::future<void> g_computing; // waited for at exit, so the thread never outlives the tables

// Destroyed before g_computing: at exit a table still being computed is given up, so the
// program ends at once rather than after the table (seconds in a sanitized build).
struct AbandonAtExit {
    ~AbandonAtExit() { abandonBearOffTables(); }
} g_abandonAtExit;

// An Acey-Deucey race before both sides are home: the chances follow the lead in race
// counts, the more surely the shorter the race: logit = (lead * (their count - ours) + onRoll)
// / sqrt(both counts). The constants are fitted by logistic regression to how the races of the
// strong bot's own self-play ended (tools/race_fit.cpp: 6,000 games with `--acey`); the 1-2
// makes these races far less sure than a normal game's. (A normal game's race has its own
// network, racenet.h.)
struct RaceFit {
    double lead;
    double onRoll; // the side to throw next is ahead by about half a throw
};
constexpr RaceFit kAceyRace{0.8737, -4.1659};

double aceyRaceFormula(const Sketch& s) {
    const RaceFit& fit = kAceyRace;
    const double ours = raceCountOf(s, 0), theirs = raceCountOf(s, 1);
    const double logit = (fit.lead * (theirs - ours) + fit.onRoll) / std::sqrt(ours + theirs);
    return 1.0 / (1.0 + std::exp(-logit));
}

} // namespace

void prepareRaceTables() {
    if (g_started.exchange(true)) return;
    g_computing = std::async(std::launch::async, [] {
        bearOffTable(false);
        bearOffTable(true);
    });
}

void waitForRaceTables() {
    bearOffTable(false);
    bearOffTable(true);
}

double raceValue(const Sketch& s, bool acey) {
    // Tables still being computed are waited for: every judgement stays the same, and a game
    // that reaches a bear-off so soon after the start is rare.
    if (s.off[1] == kPieces) return 0;
    if (s.off[0] == kPieces) return 1;
    if (bothHome(s)) return bearOffChance(s, acey);
    return acey ? aceyRaceFormula(s) : contactValue(shippedRaceNet(), s);
}

} // namespace bg
