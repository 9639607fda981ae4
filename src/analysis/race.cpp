#include "race.h"

#include "bearofftable.h"

#include <atomic>
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
    if (bothHome(s)) return bearOffChance(s, acey);
    return raceChance(s);
}

} // namespace bg
