#pragma once
// Whole games with the bot on both sides: seat 1 is connected but only watches, seat 2 is
// empty, so the host's bot plays both. Used by the long simulation tests and the benchmarks.

#include "sim_harness.h"

namespace bg::sim {

struct GameResult {
    bool finished = false; // ended with CMD_winner
    int winner = 0;
    long events = 0;   // timer firings and dispatched lines
    std::string fault; // first inconsistency seen, if any
};

// A bound on timer firings: a real game needs a few hundred; a loop would need many more.
inline constexpr long kMaxEventsPerGame = 50000;

// `watch`, when given, sees every message sent.
inline GameResult playBotGame(Sim& s, bool acey, bool checkEveryMessage,
                              const std::function<void(std::string_view)>& watch = {}) {
    GameResult result;
    s.outbox.record = false;
    s.outbox.onSend = [&](int, std::string_view m) {
        if (watch) watch(m);
        if (m.starts_with("CMD_winner+")) {
            result.finished = true;
            result.winner = m == "CMD_winner+Watcher+" ? 1 : 2;
        }
        if (checkEveryMessage && result.fault.empty()) {
            const std::string problem = s.host->validate();
            if (!problem.empty()) result.fault = problem + " after " + std::string(m);
        }
    };
    if (!s.host->seat(1).connected) s.join("Watcher");
    s.send(1, msg::startgame("Watcher", "120", acey ? "1" : "0"));
    s.send(1, msg::justwatch(1, 1));
    s.settle();
    auto count = [&] { ++result.events; };
    while (s.host->gamerunning() && result.events < kMaxEventsPerGame && result.fault.empty())
        s.run(60000, count);
    s.outbox.onSend = nullptr;
    return result;
}

// A watch for playBotGame that calls `ended(mover)` each time a player's turn is over and the
// host has passed it on, with the position that player left on the host's board. An
// Acey-Deucey double throws again: that is not the end of the turn.
inline std::function<void(std::string_view)> onTurnEnds(const Sim& s,
                                                        std::function<void(int)> ended) {
    return [&s, ended = std::move(ended), mover = 0](std::string_view m) mutable {
        const int current = s.host->board().currentplayer;
        if (m.starts_with("CMD_threwdice+") || m.starts_with("CMD_firstroll+"))
            mover = current;
        else if (m.starts_with("CMD_nextplayer+") && isPlayer(mover) && current != mover)
            ended(mover);
    };
}

} // namespace bg::sim
