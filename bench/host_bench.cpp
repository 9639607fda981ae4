// Games per second with the bot on both sides, and requests per second through the host's
// dispatcher. Everything runs on the virtual clock in this one process.

#include "sim_games.h"

#include <benchmark/benchmark.h>

using namespace bg;

namespace {

void botGames(benchmark::State& state, bool acey) {
    unsigned seed = 1;
    long events = 0;
    for (auto _ : state) {
        sim::Sim s(seed++, 500, true);
        const auto r = sim::playBotGame(s, acey, false);
        if (!r.finished) state.SkipWithError("a game did not finish");
        events += r.events;
    }
    state.counters["games/s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["events/game"] = double(events) / double(state.iterations());
}

void BM_NormalBotGame(benchmark::State& state) {
    botGames(state, false);
}
void BM_AceyBotGame(benchmark::State& state) {
    botGames(state, true);
}

// Chat lines from seven spectators relayed to nine seats: the dispatcher's raw rate.
void BM_ChatRelay(benchmark::State& state) {
    sim::Sim s;
    for (int i = 1; i <= kMaxSeats; ++i)
        s.join("Player" + std::to_string(i));
    s.outbox.record = false;
    const std::string line = frame(msg::chat(3, "good move, well played", "clRed"));
    for (auto _ : state) {
        s.host->Sock1Read(3, line);
        s.host->socktimerTimer();
    }
    state.counters["requests/s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(BM_NormalBotGame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AceyBotGame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ChatRelay);
